#include "maker/common/shelltexts.h"

#include "core/fileerror.h"
#include "core/text.h"
#include "maker/document/makerdocument.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

namespace quillo::maker {

namespace {

QString lines(const QStringList& list) {
    return list.join(QLatin1Char('\n'));
}

// The volume a file lies on, standing where the messages name a drive.
QString volumeOf(const QString& filePath) {
    QString folder = QFileInfo(filePath).absolutePath();
    while (!QFileInfo::exists(folder) && folder != QDir::rootPath())
        folder = QFileInfo(folder).absolutePath();
    const QString root = QStorageInfo(folder).rootPath();
    return root.isEmpty() ? QDir::rootPath() : root;
}

} // namespace

QString offScreenText() {
    return QStringLiteral(
        "画面範囲外表示となるため終了します。複数起動を終了し、再起動して下さい。");
}

QString fileTitleUnreadableText(const QString& path) {
    return path + QStringLiteral("のファイルタイトルが読込めません。");
}

QString tooManyFontsText() {
    return QStringLiteral("表示フォントが500種類以上あります。\n"
                          "ヘルプ(H)を参照し、フォント数を減らして下さい。");
}

QString neverSavedPreviewText() {
    return QStringLiteral(
        "表示するファイルが有りません。qzdファイルを開く、または作成して下さい。");
}

QString askSaveChangesText(const QString& filePath) {
    return filePath + QStringLiteral("の内容が変わっています。\n保存しますか。");
}

QString exitQuestionText(const QString& filePath, bool documentChanged, bool layoutChanged) {
    QString text;
    if (documentChanged)
        text += (filePath.isEmpty() ? unnamedFileName() : filePath) +
                QStringLiteral("の内容が変わっています。\n");
    if (layoutChanged)
        text += QStringLiteral("プレビューで表示サイズまたはリスト幅が変更されています。\n");
    return text + QStringLiteral("保存しますか。");
}

QString wrongFormatText() {
    return QStringLiteral("Quillo32のファイル形式と異なるため開くことができません。");
}

QString cannotOpenText(const QString& path) {
    return path + QStringLiteral("\nファイルが開けません。");
}

QString writeProtectedText(const QString& filePath) {
    return filePath + QStringLiteral("は書込み禁止ファイルです。\n"
                                     "ライトプロテクトを解除してから保存して下さい。");
}

QString saveFailureText(const QString& filePath, const WriteResult& result) {
    switch (result.status) {
    case WriteStatus::Ok:
        return {};
    case WriteStatus::Unencodable: {
        const QString where = result.keywordSlot == 0 ? QStringLiteral(" の目次")
                                                      : QStringLiteral(" のキーワード") +
                                                            numberText(result.keywordSlot);
        return QStringLiteral("ページ") + numberText(result.page) + where +
               QStringLiteral("に、ファイルに保存できない文字「") + result.character +
               QStringLiteral("」があります。\n文字を変更してから保存して下さい。");
    }
    case WriteStatus::BadDocument:
        return filePath + QStringLiteral(" を保存できませんでした。\nページ") +
               numberText(result.page) + QStringLiteral(" の内容がファイルに収まりません。");
    case WriteStatus::ReadOnly:
    case WriteStatus::WriteFailed:
        break;
    }
    switch (result.file.errorNumber) {
    case FileError::DiskFull:
        return volumeOf(filePath) + QStringLiteral(" ディスクの空き容量が不足です。");
    case FileError::PermissionDenied:
        // A file that may be written was refused by its folder; naming the file would send
        // the user to change the wrong thing.
        if (refusedByFolder(result.file, filePath))
            return QFileInfo(filePath).absolutePath() +
                   QStringLiteral(" は書込み禁止フォルダです。\n"
                                  "書込みできるフォルダを選んで保存して下さい。");
        return filePath + QStringLiteral(" は書込み禁止ファイルです。\n"
                                         "ライトプロテクトを解除してから保存して下さい。");
    case FileError::FileInUse:
        return filePath + QStringLiteral(" は他のプログラムが使用中です。\n"
                                         "しばらくしてから保存して下さい。");
    case FileError::PathFileAccess:
        if (QFileInfo(filePath).isDir())
            return filePath + QStringLiteral(" はフォルダです。\n"
                                             "別のファイル名を付けて保存して下さい。");
        break;
    case FileError::ProcedureCall:
    case FileError::DeviceUnavailable:
    case FileError::DiskNotReady:
        return volumeOf(filePath) + QStringLiteral(" ドライブの準備ができていません。");
    default:
        break;
    }
    return filePath + QStringLiteral(" を保存できませんでした。\n") +
           errorNumberText(result.file.errorNumber);
}

QString quickHelpQzdText() {
    return lines({
        QStringLiteral("                  qzdﾌｧｲﾙ作成手順について"),
        QString(),
        QStringLiteral("【内容作成】"),
        QStringLiteral("ﾌｫﾝﾄ、ｶﾗｰ、ｱﾗｲﾒﾝﾄ等を有効に利用し各ﾍﾟｰｼﾞの内容を作成します。"),
        QString(),
        QStringLiteral("【目次設定】"),
        QStringLiteral("各ﾍﾟｰｼﾞの目次を設定します。"),
        QStringLiteral("ﾃｷｽﾄﾎﾞｯｸｽの任意ﾜｰﾄﾞを選択し、編集（右ｸﾘｯｸ）で目次追加を選択します。"),
        QStringLiteral("目次ﾘｽﾄへ直接ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟする事も可能です。"),
        QString(),
        QStringLiteral("【ｷｰﾜｰﾄﾞ設定】"),
        QStringLiteral("各ﾍﾟｰｼﾞのｷｰを設定します。"),
        QStringLiteral("ﾃｷｽﾄﾎﾞｯｸｽの任意ﾜｰﾄﾞを選択し、編集（右ｸﾘｯｸ）でｷｰ追加を選択します。"),
        QStringLiteral("ｷｰﾜｰﾄﾞﾘｽﾄへ直接ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟする事も可能です。"),
        QString(),
        QStringLiteral("【ﾌﾟﾚﾋﾞｭｰ】"),
        QStringLiteral("ﾌﾟﾚﾋﾞｭｰで、ﾍﾙﾌﾟ内容、目次、ｷｰ表示の確認をします。"),
        QStringLiteral("ﾌﾟﾚﾋﾞｭｰで修正点が有った場合、ﾌﾟﾚﾋﾞｭｰを一旦終了し、Quillo32Maker"),
        QStringLiteral("でﾍﾙﾌﾟ内容を修正します。"),
        QString(),
        QStringLiteral("【ﾌｧｲﾙ保存】"),
        QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙを任意のﾌｧｲﾙ名で保存します。拡張子はqzdとなります。"),
        QString(),
        QStringLiteral("【ｱﾌﾟﾘｹｰｼｮﾝﾌﾟﾛｸﾞﾗﾑへ起動ｽﾃｰﾄﾒﾝﾄ記述】"),
        QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝﾌﾟﾛｸﾞﾗﾑにqzd32ﾌｧｲﾙ起動ｺｰﾄﾞを記載します。"),
        QString(),
        QStringLiteral("詳細は、ﾍﾙﾌﾟ(H)を参照して下さい。"),
    });
}

QString quickHelpBrowserText() {
    return lines({
        QStringLiteral("                  ﾌﾞﾗｳｻﾞﾍﾙﾌﾟ作成手順について"),
        QString(),
        QStringLiteral("【qzdﾌｧｲﾙ作成】"),
        QStringLiteral("qzdﾌｧｲﾙを作成します。(qzdﾌｧｲﾙ作成手順参照)"),
        QString(),
        QStringLiteral("【HTML変換】"),
        QStringLiteral("「HTMLﾌｧｲﾙ作成」の「全ページ作成」によりHTMLﾌｧｲﾙを作成します。"),
        QString(),
        QStringLiteral("【内容確認】"),
        QStringLiteral("「ﾌﾞﾗｳｻﾞによる表示」によりﾌﾞﾗｳｻﾞにより確認します。"),
        QString(),
        QStringLiteral("【利用ﾌｫﾙﾀﾞにｺﾋﾟｰ】"),
        QStringLiteral("qzdﾌｧｲﾙ名_htmlﾌｫﾙﾀﾞに作成されたﾌｧｲﾙすべてを利用ﾌｫﾙﾀﾞにｺﾋﾟｰします。"),
        QString(),
        QStringLiteral("【ﾌﾞﾗｳｻﾞにてﾍﾙﾌﾟ表示】"),
        QStringLiteral("qzdﾌｧｲﾙ名_index.htmﾌｧｲﾙをﾌﾞﾗｳｻﾞで開きます。"),
        QString(),
        QStringLiteral("詳細は、ﾍﾙﾌﾟ(H)を参照して下さい。"),
    });
}

QString helpStartErrorText(int shellResult) {
    switch (shellResult) {
    case 0:
    case 8:
        return QStringLiteral("システムメモリが不足しています。");
    case 2:
    case 3:
        return QStringLiteral("qzd32.exe、またはヘルプファイルが見つかりません。");
    case 14:
        return QStringLiteral("qzd32.exeを起動できません。");
    default:
        return errorNumberText(shellResult);
    }
}

QString versionText(const QString& computer, const QString& user) {
    return lines({QString(), QStringLiteral("Quillo32Maker  Ver2.02  "),
                  QStringLiteral("コンピュータ名\t") + computer,
                  QStringLiteral("ユーザー名  \t") + user});
}

QString pageLimitText() {
    return QStringLiteral("作成できるページ数は、") + QStringLiteral("100") +
           QStringLiteral("ページ以内です。");
}

QString nothingToDeleteText() {
    return QStringLiteral("削除する内容が有りません。");
}

QString deletePageQuestion(int page) {
    return numberText(page) + QStringLiteral("ページを削除します。") +
           QStringLiteral("目次、キーも削除されます。");
}

QString nothingToUndoText() {
    return QStringLiteral("元に戻すページ編集内容は有りません。");
}

} // namespace quillo::maker
