#pragma once

#include "winsvc/menutable.h"

#include <QList>
#include <QString>

#include <span>

// The fixed texts of the viewer window: menus, captions, message titles and messages. The
// preview of the authoring program uses the same window with its own names and a few
// captions written in full-width katakana.
namespace quillo::viewer {

enum class Variant { Viewer, Preview };

// Where the author's home page lives; the Help menu opens it in the browser.
inline constexpr char HomePageUrl[] = "https://quillo32.example.org/";

// Captions of the search button.
inline const QString CaptionFromStart = QStringLiteral("最初から検索");
inline const QString CaptionFromCaret = QStringLiteral("以降の検索");
inline const QString CaptionSearching = QStringLiteral("検索中 !!");
inline const QString CaptionFindNext = QStringLiteral("次を検索");

// Message titles.
inline const QString TitleAssociation = QStringLiteral("qzd32 関連付け起動");
inline const QString TitleOpen = QStringLiteral("qzd32 開く");
inline const QString TitleDisplayOption = QStringLiteral("qzd32 表示ｵﾌﾟｼｮﾝ");
inline const QString TitleWindowSize = QStringLiteral("qzd32 ｳｨﾝﾄﾞｳｻｲｽﾞ");
inline const QString TitleHowTo = QStringLiteral("qzd32 ヘルプ(H)");
inline const QString TitleVersion = QStringLiteral("qzd32 ﾍﾙﾌﾟ(H)");
inline const QString TitleHomePage = QStringLiteral("qzd32 Mr.Vornｻｲﾄ");
inline const QString TitlePageText = QStringLiteral("qzd32 ﾍﾙﾌﾟ内容");
inline const QString TitleSearch = QStringLiteral("qzd32 検索");
inline const QString TitleLink = QStringLiteral("qzd32 ﾘﾝｸ");

// Messages.
inline const QString MsgFileTitleUnreadable = QStringLiteral("のファイルタイトルが読込めません。");
inline const QString MsgWrongFormat =
    QStringLiteral("Quillo32のファイル形式と異なるため開くことができません。");
inline const QString MsgFrontWhileMaximised =
    QStringLiteral("最大表示の場合は「手前に表示」を設定できません。");
inline const QString MsgMaximiseWhileFront =
    QStringLiteral("オプションの「手前に表示」を設定している場合は、最大表示できません。");
inline const QString MsgReadOnly = QStringLiteral("読取専用ですので編集はできません。");
inline const QString MsgSearchTextNeeded = QStringLiteral("検索する文字列を設定して下さい。");
inline const QString MsgNoMatch = QStringLiteral("該当する文字列は有りません。");
inline const QString MsgSearchFinished = QStringLiteral("検索を終了しました。");
inline const QString MsgSearchTextTooLong = QStringLiteral("検索文字列は、最大32文字です。");
inline const QString MsgOutOfMemory = QStringLiteral("システムメモリが不足しています。");
inline const QString MsgBrowserCannotStart = QStringLiteral("ブラウザが起動できません。");
// Notes in the status area, which never block the reader.
inline const QString NoteLinkPageMissing = QStringLiteral("ﾘﾝｸ先のﾍﾟｰｼﾞが有りません。");
QString topicNotFoundNote(const QString& topic);

// Most characters the search box holds.
inline constexpr int SearchTextLimit = 32;

// The question asked when dropped text does not fit into the search box.
QString dropTooLongQuestion(int room);
QString dropTooLongTitle();

// The home page question and the message for a failed shell "open" of the browser.
QString homePageQuestion();
QString homePageFailure(int shellResult);

QString howToText(Variant variant);
QString versionText();

// The window title for a page of a document.
QString windowTitle(Variant variant, const QString& fileTitle, int page, int pageCount);
// The title before any document is shown.
QString emptyWindowTitle(Variant variant);

// The name of a menu item or menu for a command ("open" -> "qzd32_open" / "pre_open").
QString menuName(Variant variant, const QString& command);

// The viewer's commands as typed actions, made with its menus from one table.
struct ViewerActions {
    QAction* editMenu = nullptr;
    QAction* open = nullptr;
    QAction* end = nullptr;
    QAction* copy = nullptr;
    QAction* selectAll = nullptr;
    QAction* nextPage = nullptr;
    QAction* previousPage = nullptr;
    QAction* printShownPage = nullptr;
    QAction* printAll = nullptr;
    QAction* howTo = nullptr;
    QAction* version = nullptr;
    QAction* homePage = nullptr;
    QAction* front = nullptr; // keep in front, in the option submenu of the help menu
    // 移動(G): the history of shown pages and the scale of the page.
    QAction* back = nullptr;
    QAction* forward = nullptr;
    QAction* zoomIn = nullptr;
    QAction* zoomOut = nullptr;
    QAction* zoomNormal = nullptr;
};
// The menus in their order; the preview takes the other captions. Names are commands that
// menuName turns into object names.
std::span<const MenuLine<ViewerActions>> viewerMenuTable();

} // namespace quillo::viewer
