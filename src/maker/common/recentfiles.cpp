#include "maker/common/recentfiles.h"

#include "core/atomicfile.h"
#include "core/fileerror.h"
#include "core/systemfile.h"
#include "core/text.h"
#include "maker/common/filereasons.h"

#include <QFile>

#include <cerrno>

namespace quillo::maker {

void RecentFiles::load(const QStringList& lines) {
    for (const QString& line : lines) {
        if (count() >= MaxEntries)
            break;
        if (line.isEmpty() || paths_.contains(line)) {
            dirty_ = true;
            continue;
        }
        paths_.append(line);
    }
}

void RecentFiles::add(const QString& path) {
    const qsizetype at = paths_.indexOf(path);
    if (at >= 0)
        paths_.removeAt(at);
    else if (count() == MaxEntries)
        paths_.removeLast();
    paths_.prepend(path);
    dirty_ = true;
}

void RecentFiles::moveToTop(int index) {
    if (index > 0 && index < count())
        paths_.move(index, 0);
}

void RecentFiles::remove(int index) {
    if (index < 0 || index >= count())
        return;
    paths_.removeAt(index);
    dirty_ = true;
}

RecentReadResult readRecentFile(const QString& path, RecentFiles& list) {
    RecentReadResult result;
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        result.errorNumber = fileErrorNumberFromErrno(errno ? errno : ENOENT, path);
        if (result.errorNumber == FileError::FileNotFound) {
            QFile create(path);
            if (create.open(QIODevice::WriteOnly)) {
                result.created = true;
                result.errorNumber = 0;
            }
        }
        return result;
    }
    // Whole lines: a path may hold commas and blanks.
    QStringList lines;
    while (!file.atEnd() && lines.size() < 4096) {
        QByteArray line = file.readLine(64 * 1024);
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(pathFromSystem(line));
    }
    list.load(lines);
    return result;
}

FileResult writeRecentFile(const QString& path, const RecentFiles& list) {
    QByteArray bytes;
    for (const QString& p : list.paths())
        bytes += systemPath(p) + "\r\n";
    return writeFileAtomically(path, bytes);
}

QString recentReadWarningText(const RecentReadResult& result) {
    switch (result.errorNumber) {
    case FileError::None:
        return {};
    case FileError::BadFileName:
    case FileError::InputPastEnd:
    case FileError::BadRecordNumber:
    case FileError::TooManyFiles:
        return QStringLiteral("ファイルが異常か、見つかりません。\n初期ファイルを自動生成します。");
    default:
        return deviceErrorReason(result.errorNumber).value_or(errorNumberText(result.errorNumber));
    }
}

QString recentWriteProtectedText(const QString& path) {
    return path + QStringLiteral("ファイルが書込み禁止に設定されています。\n"
                                 "書込み禁止を解除しないと更新ができません。");
}

QString recentWriteWarningText(const QString& path, int errorNumber) {
    QString reason;
    switch (errorNumber) {
    case FileError::DeviceUnavailable:
        reason = QStringLiteral("  デバイスが準備されていません。");
        break;
    case FileError::DiskNotReady:
        reason = QStringLiteral("  ディスクが準備されていません。");
        break;
    case FileError::PathFileAccess:
    case FileError::PathNotFound:
        reason = QStringLiteral("  パス名が無効か、パスが見つかりません。");
        break;
    case FileError::BadFileMode:
        reason = QStringLiteral("  ファイル モードが不正です。");
        break;
    case FileError::DeviceIO:
        reason = QStringLiteral("  デバイスI/O エラーです。");
        break;
    default:
        reason = fileErrorReason(errorNumber);
    }
    return path + reason + QStringLiteral("\nファイルリストを更新できませんでした。");
}

QString recentRemoveQuestionText(const QString& path, int errorNumber) {
    QString reason;
    switch (errorNumber) {
    case FileError::FileNotFound:
    case FileError::PathFileAccess:
    case FileError::PathNotFound:
        reason = QStringLiteral("ファイルが見つかりません。");
        break;
    case FileError::DiskNotReady:
        reason = path.left(1) + QStringLiteral(" ディスクが準備されていません。");
        break;
    default:
        reason = QStringLiteral("ファイルが開けません。");
    }
    return reason + QStringLiteral("\n") + path +
           QStringLiteral("をファイルリストから削除しますか。");
}

} // namespace quillo::maker
