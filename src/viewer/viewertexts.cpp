#include "viewer/viewertexts.h"

#include "core/text.h"

#include <QStringList>

namespace quillo::viewer {

namespace {
// Lines of a message box are separated by line breaks.
QString lines(const QStringList& list) {
    return list.join(QLatin1Char('\n'));
}
} // namespace

QString dropTooLongQuestion(int room) {
    return QStringLiteral("選択テキストが長すぎます。先頭文字列") + numberText(room) +
           QStringLiteral("文字を挿入します。");
}

QString dropTooLongTitle() {
    return QStringLiteral("qzd32 検索（最大") + numberText(SearchTextLimit) +
           QStringLiteral("文字）");
}

QString homePageQuestion() {
    return lines({QStringLiteral("ブラウザを使用して「Mr.Vorn情報サイト」へ接続します。"),
                  QStringLiteral("当サイトには使用上のノウハウや他ソフトの情報などを掲載して"
                                 "おります。"),
                  QString(),
                  QStringLiteral("ユーザ情報等の送信、ログ取得等一切行われませんのでご安心下さい"
                                 "。")});
}

QString homePageFailure(int shellResult) {
    switch (shellResult) {
    case 0:
    case 8:
        return MsgOutOfMemory;
    case 2:
    case 3:
        return lines({QStringLiteral("ブラウザが見つかりません。"),
                      QStringLiteral("ブラウザをインストールしてから起動して下さい。")});
    case 14:
        return MsgBrowserCannotStart;
    default:
        break;
    }
    return errorNumberText(shellResult);
}

QString topicNotFoundNote(const QString& topic) {
    return QStringLiteral("「") + topic +
           QStringLiteral("」が見つかりません。1ﾍﾟｰｼﾞ目を表示します。");
}

QString howToText(Variant variant) {
    QStringList text{QStringLiteral("                     Quillo32操作方法"),
                     QStringLiteral("【ﾌｧｲﾙ】"),
                     QStringLiteral("拡張子qzdのQuillo32ﾍﾙﾌﾟﾌｧｲﾙを開くことができます。")};
    if (variant == Variant::Preview)
        text << QStringLiteral("ﾌﾟﾚﾋﾞｭｰではﾌｧｲﾙ操作は使用不可としています。");
    text << QStringLiteral("【編集】")
         << QStringLiteral("ﾍﾙﾌﾟの内容は編集できません。ｺﾋﾟｰのみ可能です。")
         << QStringLiteral("【印刷】")
         << QStringLiteral("全ﾍﾟｰｼﾞ印刷は、すべてのﾍﾟｰｼﾞを順に印刷します。")
         << QStringLiteral("表示ﾍﾟｰｼﾞ印刷は、表示しているﾍﾟｰｼﾞだけを印刷します。")
         << QStringLiteral("【検索】")
         << QStringLiteral("検索文字は最大32文字まで入力できます。大文字と小文字は区別しません。")
         << QStringLiteral("「最初から検索」をﾁｪｯｸすると、1ﾍﾟｰｼﾞ目から検索します。")
         << QStringLiteral("ﾁｪｯｸを外すか本文をｸﾘｯｸすると、その位置から後を検索します。")
         << QStringLiteral("目次やｷｰﾜｰﾄﾞをﾀﾞﾌﾞﾙｸﾘｯｸすると、その文字列を検索します。")
         << QStringLiteral("【ﾍﾟｰｼﾞ選択】")
         << QStringLiteral("目次またはｷｰﾜｰﾄﾞを選択すると、そのﾍﾟｰｼﾞを表示します。")
         << QStringLiteral("【ｳｨﾝﾄﾞｳｻｲｽﾞ、背景色、ﾘｽﾄ幅、手前に表示】")
         << QStringLiteral("これらの設定は、終了時にﾍﾙﾌﾟﾌｧｲﾙに保存されます。")
         << QStringLiteral("ﾘｽﾄ幅の変更は、ｽﾘｯﾄ上部を操作して下さい。");
    return lines(text);
}

QString versionText() {
    return lines({QStringLiteral("Quillo32 Ver2.02  "), QString(),
                  QStringLiteral("Quillo32 ﾍﾙﾌﾟﾋﾞｭｰｱ"),
                  QStringLiteral("Copyright (C) Quillo32 の開発者一同"),
                  QStringLiteral("本ｿﾌﾄｳｪｱはﾌﾘｰｿﾌﾄｳｪｱです。")});
}

QString windowTitle(Variant variant, const QString& fileTitle, int page, int pageCount) {
    const QString pages =
        QStringLiteral(" Page") + numberText(page) + QStringLiteral(" /") + numberText(pageCount);
    if (variant == Variant::Preview)
        return QStringLiteral("Quillo32Maker_Preview  ") + pages;
    return QStringLiteral("Quillo  ") + fileTitle + pages;
}

QString emptyWindowTitle(Variant variant) {
    return variant == Variant::Preview ? QStringLiteral("Quillo32Maker_Preview")
                                       : QStringLiteral("Quillo32");
}

QString menuName(Variant variant, const QString& command) {
    if (variant == Variant::Preview)
        return QStringLiteral("pre_") + command;
    // The home-page item carries the authoring program's name in the viewer as well.
    if (command == QLatin1String("www_view"))
        return QStringLiteral("qzd32mk_www_view");
    return QStringLiteral("qzd32_") + command;
}

namespace {

using Line = MenuLine<ViewerActions>;
using A = ViewerActions;

const Line MenuTable[] = {
    {Line::Menu, "file", "ﾌｧｲﾙ(&F)"},
    {Line::Item, "open", "開く(&O)", &A::open, "Ctrl+O"},
    // Two items the File menu carries but never shows.
    {Line::Item, "FileArray", "", nullptr, nullptr, nullptr, true},
    {Line::Separator, "dumy1", nullptr, nullptr, nullptr, nullptr, true},
    {Line::Item, "end", "終了(&X)", &A::end},
    {Line::Menu, "edit", "編集(&E)", &A::editMenu},
    {Line::Item, "copy", "ｺﾋﾟｰ(&C)", &A::copy, nullptr, "コピー(&C)"},
    {Line::Item, "all_select", "すべての範囲を選択(&A)", &A::selectAll, "Ctrl+A"},
    {Line::Item, "next_page", "次ﾍﾟｰｼﾞ(&N)", &A::nextPage, "Ctrl+N", "次ページ(&N)"},
    {Line::Item, "return_page", "前ﾍﾟｰｼﾞ(&R)", &A::previousPage, "Ctrl+R", "前ページ(&R)"},
    {Line::Menu, "go", "移動(&G)"},
    {Line::Item, "go_back", "戻る(&B)", &A::back, "Alt+Left"},
    {Line::Item, "go_forward", "進む(&F)", &A::forward, "Alt+Right"},
    {Line::Separator, "go_dumy1", nullptr},
    {Line::Item, "zoom_in", "拡大(&I)", &A::zoomIn, "Ctrl++"},
    {Line::Item, "zoom_out", "縮小(&O)", &A::zoomOut, "Ctrl+-"},
    {Line::Item, "zoom_normal", "元の大きさ(&Z)", &A::zoomNormal, "Ctrl+0"},
    {Line::Menu, "print", "印刷(&P)"},
    {Line::Item, "print_this_page", "表示ﾍﾟｰｼﾞ印刷(&S)", &A::printShownPage, "Ctrl+P",
     "表示ページ印刷(&S)"},
    {Line::Item, "print_all", "全ﾍﾟｰｼﾞ印刷(&A)", &A::printAll, nullptr, "全ページ印刷(&A)"},
    {Line::Menu, "help", "ﾍﾙﾌﾟ(&H)"},
    {Line::Item, "how_to", "使い方(&R)", &A::howTo},
    {Line::Item, "version", "ﾊﾞｰｼﾞｮﾝ情報(&A)", &A::version},
    {Line::Item, "www_view", "Mr.Vornｻｲﾄへ接続", &A::homePage},
    {Line::Submenu, "option", "ｵﾌﾟｼｮﾝ(&O)"},
    {Line::CheckItem, "front", "手前に表示", &A::front},
    {Line::EndSubmenu, "", nullptr},
};

} // namespace

std::span<const MenuLine<ViewerActions>> viewerMenuTable() {
    return MenuTable;
}

} // namespace quillo::viewer
