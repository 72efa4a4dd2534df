#include "htmlcommands.h"

#include "htmlsite.h"
#include "pageconversion.h"

#include "core/fileerror.h"
#include "core/text.h"
#include "maker/document/makerdocument.h"
#include "viewer/viewertexts.h"
#include "winsvc/dialogs.h"
#include "winsvc/hourglass.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace quillo::maker {

namespace {

const QString TitleMake = QStringLiteral("qzd32Maker HTML作成");
const QString TitleConvert = QStringLiteral("qzd32Maker HTML変換");
const QString TitleReport = QStringLiteral("qzd32maker HTML変換");
const QString TitleView = QStringLiteral("qzd32maker ﾌﾞﾗｳｻﾞﾌﾟﾚﾋﾞｭｰ");

// Why a file of the site could not be written, in the program's words.
QString reasonText(const html::SiteError& error) {
    switch (error.number) {
    case FileError::PathFileAccess:
        return QStringLiteral("同じ名前のフォルダがあります。");
    case FileError::PermissionDenied:
        return QStringLiteral("書込みが許可されていません。");
    case FileError::DiskFull:
        return QStringLiteral("ディスクの空き容量が不足です。");
    case FileError::DeviceIO:
        return QStringLiteral("デバイス I/O エラーです。");
    case FileError::ProcedureCall:
    case FileError::DeviceUnavailable:
    case FileError::DiskNotReady:
        return QStringLiteral("ドライブの準備ができていません。");
    case FileError::FileNotFound:
    case FileError::PathNotFound:
        return QStringLiteral("パス名が無効か、パスが見つかりません。");
    case FileError::BadFileName:
        return QStringLiteral("ファイル名が無効です。");
    case FileError::TooManyFiles:
        return QStringLiteral("開いているファイルが多すぎます。");
    default:
        return errorNumberText(error.number);
    }
}

// Where a failure happened and why: the reason alone when it concerns `path` itself, else the
// file it concerns first.
QString failureReason(const html::SiteError& error, const QString& path) {
    if (error.path == path)
        return reasonText(error);
    return error.path + QStringLiteral(": ") + reasonText(error);
}

// `substituted`: the characters the navigation pages hold as "?".
QString reportText(const html::SiteFiles& site, int first, int last, const QString& substituted) {
    QString text = numberText(first);
    if (last != first)
        text += QStringLiteral("ページから") + numberText(last);
    text += QStringLiteral("ページをHTML変換し\n") + site.folder +
            QStringLiteral("フォルダに格納しました。\n\n") + site.startPage() +
            QStringLiteral(" を初期ページとして使用して下さい。");
    if (!substituted.isEmpty())
        text += QStringLiteral("\n\nHTMLファイルに書けない文字「") + substituted +
                QStringLiteral("」を「?」に置き換えました。");
    return text;
}

} // namespace

HtmlCommands::HtmlCommands(Dialogs& dialogs, MakerDocument& document, QWidget* window,
                           QString programFolder, std::function<quint32()> pageColour)
    : QObject(window), m_dialogs(dialogs), m_document(document), m_window(window),
      m_programFolder(std::move(programFolder)), m_pageColour(std::move(pageColour)) {}

void HtmlCommands::makeShownPage() {
    makeSite(true);
}

void HtmlCommands::makeAllPages() {
    makeSite(false);
}

void HtmlCommands::message(const QString& title, const QString& text, bool warning) {
    m_dialogs.ask(m_window, title, text,
                  warning ? Dialogs::Icon::Warning : Dialogs::Icon::Information,
                  Dialogs::Buttons::Ok);
}

void HtmlCommands::makeSite(bool shownPageOnly) {
    if (m_document.isUnnamed()) {
        message(QStringLiteral("qzd32maker ﾌﾞﾗｳｻﾞ表示"),
                QStringLiteral("HTMLファイルを作成する元データのqzdファイルが設定されていません。\n"
                               "qzdファイルを開く、または作成して下さい。"),
                false);
        return;
    }
    // The shown page is exported as the editor shows it, not as it was when last stored.
    m_document.storeShownPage();
    const html::SiteFiles site =
        html::siteFilesFor(QDir(m_programFolder).absolutePath(), m_document.fileTitle());
    if (!QDir().mkpath(site.folder)) {
        message(TitleMake, site.folder + QStringLiteral("フォルダを作成できません。"), true);
        return;
    }
    const bool overwrite = QFileInfo::exists(site.path(site.startPage()));
    if (overwrite &&
        m_dialogs.ask(m_window, TitleMake,
                      site.startPage() +
                          QStringLiteral(" は、すでに作成されています。上書きします。\n"
                                         "HTML変換を行います。"),
                      Dialogs::Icon::Warning, Dialogs::Buttons::OkCancel) != Dialogs::Answer::Ok)
        return;
    QString substituted;
    {
        Hourglass hourglass;
        const html::SiteError error =
            html::writeNavigationPages(m_document.help(), site, m_pageColour(), &substituted);
        if (!error.ok()) {
            hourglass.release();
            message(TitleMake,
                    error.path + QStringLiteral("を作成できません。\n") + reasonText(error), true);
            return;
        }
    }
    const int first = shownPageOnly ? m_document.currentPage() : 1;
    const int last = shownPageOnly ? m_document.currentPage() : m_document.pageCount();
    convert(site, first, last, overwrite, substituted);
}

bool HtmlCommands::convert(const html::SiteFiles& site, int first, int last, bool overwrite,
                           const QString& substituted) {
    // After the overwrite question the conversion has been announced already.
    if (!overwrite && m_dialogs.ask(m_window, TitleConvert, QStringLiteral("HTML変換を行います。"),
                                    Dialogs::Icon::Information,
                                    Dialogs::Buttons::OkCancel) != Dialogs::Answer::Ok)
        return false;
    Hourglass hourglass;
    const html::ConversionRun run = html::convertPages(m_document.help(), site, first, last);
    hourglass.release();
    if (!run.ok()) {
        message(TitleConvert,
                run.resultPath + QStringLiteral("を変換、または保存できません。\n") + site.folder +
                    QStringLiteral("フォルダの状態を確認して下さい。\n") +
                    failureReason(run.error, run.resultPath),
                true);
        return false;
    }
    message(TitleReport, reportText(site, first, last, substituted), false);
    return true;
}

void HtmlCommands::openInBrowser() {
    if (m_document.isUnnamed()) {
        message(TitleView,
                QStringLiteral("qzdファイルが開かれていません。\n"
                               "qzdファイルを開く、またはqzdファイルを作成して下さい。"),
                false);
        return;
    }
    const html::SiteFiles site =
        html::siteFilesFor(QDir(m_programFolder).absolutePath(), m_document.fileTitle());
    const QString startPage = site.path(site.startPage());
    if (!QFileInfo::exists(startPage)) {
        message(TitleView,
                QStringLiteral("HTMLファイルが作成されていません。\n"
                               "HTML(H)メニューのHTML作成機能によりHTMLファイルを作成して下さい。"),
                false);
        return;
    }
    // As a file:// address the desktop opens it with its handler of HTML pages: a start page
    // that carries an execute bit (a FAT mount, a file of the user's) is shown, never run.
    const int result =
        m_dialogs.shellOpen(QUrl::fromLocalFile(startPage).toString(QUrl::FullyEncoded));
    if (!Dialogs::shellOpenSucceeded(result))
        message(TitleView, viewer::homePageFailure(result), false);
}

} // namespace quillo::maker
