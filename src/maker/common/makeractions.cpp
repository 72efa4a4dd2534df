#include "maker/common/makeractions.h"

#include "winsvc/menutable.h"

namespace quillo::maker {

namespace {

using Line = MenuLine<MakerActions>;
using A = MakerActions;

const Line MenuTable[] = {
    {Line::Menu, "qzd32mk_file", "ﾌｧｲﾙ(&F)", &A::fileMenu},
    {Line::Item, "qzd32mk_file_new", "新規ﾌｧｲﾙ(&N)", &A::fileNew, "Ctrl+N"},
    {Line::Item, "qzd32mk_file_open", "開く(&O)", &A::fileOpen, "Ctrl+O"},
    {Line::Separator, "qzd32mk_file_dumy1", nullptr},
    {Line::Item, "qzd32mk_file_save", "上書き保存(&S)", &A::fileSave, "Ctrl+S"},
    {Line::Item, "qzd32mk_file_save_rename", "名前を付けて保存(&A)", &A::fileSaveAs},
    {Line::Separator, "qzd32mk_file_dumy2", nullptr},
    {Line::Separator, "qzd32mk_FileArray", nullptr, &A::recentHead},
    {Line::Separator, "qzd32mk_file_dumy4", nullptr, &A::recentEnd},
    {Line::Item, "qzd32mk_file_end", "Quillo32Maker終了(&X)", &A::exit},

    {Line::Menu, "qzd32mk_edit", "編集(&E)", &A::editMenu},
    {Line::Item, "qzd32mk_undo", "元に戻す(&U)", &A::undo},
    {Line::Item, "qzd32mk_copy", "ｺﾋﾟｰ(&C)", &A::copy},
    {Line::Item, "qzd32mk_cut", "切取り(&X)", &A::cut},
    {Line::Item, "qzd32mk_paist", "貼付け(&P)", &A::paste},
    {Line::Item, "qzd32mk_delete", "削除(&D)", &A::remove},
    {Line::Item, "qzd32mk_all_select", "すべての範囲を選択(&A)", &A::selectAll, "Ctrl+A"},
    {Line::Separator, "qzd32mk_edit_dumy1", nullptr},
    {Line::Item, "qzd32mk_image_set", "ｲﾒｰｼﾞ埋め込み(&G)", &A::embedImage, "Ctrl+G"},
    {Line::Item, "qzd32mk_index_set", "目次追加(&I)", &A::addContents},
    {Line::Item, "qzd32mk_key_set", "ｷｰ追加(&K)", &A::addKeyword},
    {Line::Item, "qzd32mk_link_set", "ﾘﾝｸ設定(&L)...", &A::setLink, "Ctrl+K"},
    {Line::Item, "qzd32mk_link_clear", "ﾘﾝｸ解除(&Q)", &A::removeLink},
    {Line::Separator, "qzd32mk_edit_dumy2", nullptr},
    {Line::Item, "qzd32mk_search_shori", "検索(&F)", &A::search, "Ctrl+F"},
    {Line::Item, "qzd32mk_chikan_shori", "置換(&E)", &A::replace, "Ctrl+H"},
    {Line::Separator, "qzd32mk_edit_dumy3", nullptr},
    {Line::Item, "qzd32mk_color_moji", "文字ｶﾗｰ設定(&FC)", &A::textColour},
    {Line::Item, "qzd32mk_color_back", "背景ｶﾗｰ設定(&BC)", &A::backColour},

    {Line::Menu, "qzd32mk_page_edit", "ﾍﾟｰｼﾞ編集(&PE)"},
    {Line::Item, "qzd32mk_Next_Page", "次ﾍﾟｰｼﾞへ(&N)", &A::nextPage},
    {Line::Item, "qzd32mk_Return_Page", "前ﾍﾟｰｼﾞへ(&R)", &A::previousPage},
    {Line::Separator, "qzd32mk_pedit_dumy1", nullptr},
    {Line::Item, "qzd32mk_new_Page", "新規ﾍﾟｰｼﾞ(&PN)", &A::newPage},
    {Line::Item, "qzd32mk_insert_Page", "ﾍﾟｰｼﾞ挿入(&PI)", &A::insertPage},
    {Line::Item, "qzd32mk_delete_Page", "ﾍﾟｰｼﾞ削除(&PD)", &A::deletePage},
    {Line::Separator, "qzd32mk_pedit_dumy2", nullptr},
    {Line::Item, "qzd32mk_undo_Page", "元に戻す<頁編集>(&PU)", &A::undoPage},

    {Line::Menu, "qzd32mk_preview", "ﾌﾟﾚﾋﾞｭｰ(&V)"},
    {Line::Item, "qzd32mk_preview_help", "qzdﾌﾟﾚﾋﾞｭｰ(&V)", &A::preview},
    {Line::Separator, "qzd32mk_preview_Dumy1", nullptr},
    {Line::CheckItem, "qzd32mk_preview_index", "目次表示(&I)", &A::showContents},
    {Line::CheckItem, "qzd32mk_preview_key", "ｷｰﾜｰﾄﾞ表示(&K)", &A::showKeywords},

    {Line::Menu, "qzd32mk_html", "HTML(&H)"},
    {Line::Submenu, "qzd32mk_html_make", "HTMLﾌｧｲﾙ作成(&H)"},
    {Line::Item, "qzd32mk_html_make_sellect", "表示ページのみ作成(&SG)", &A::htmlShownPage},
    {Line::Item, "qzd32mk_html_make_all", "全ページ作成(&AG)", &A::htmlAllPages},
    {Line::EndSubmenu, "", nullptr},
    {Line::Item, "qzd32mk_html_make_web", "Webﾍﾙﾌﾟ作成(&W)", &A::htmlWebHelp},
    {Line::Submenu, "qzd32mk_html_option", "ｵﾌﾟｼｮﾝ設定(&O)"},
    {Line::CheckItem, "qzd32mk_html_option_par_ON", "ｲﾝﾃﾞﾝﾄ有効", &A::htmlIndent},
    {Line::EndSubmenu, "", nullptr},
    {Line::Item, "qzd32mk_html_view", "ﾌﾞﾗｳｻﾞによるﾌﾟﾚﾋﾞｭｰ(&V)", &A::htmlView},

    {Line::Menu, "qzd32mk_help", "ﾍﾙﾌﾟ(&H)"},
    {Line::Item, "qzd32mk_help_quick1", "qzdﾌｧｲﾙ作成手順(&EH)", &A::quickHelpQzd},
    {Line::Item, "qzd32mk_help_quick2", "ﾌﾞﾗｳｻﾞﾍﾙﾌﾟ作成手順(&BH)", &A::quickHelpBrowser},
    {Line::Item, "qzd32mk_help_view", "ﾍﾙﾌﾟ(&H)", &A::help},
    {Line::Item, "qzd32mk_www_view", "Mr.Vornｻｲﾄへ接続(&C)", &A::homePage},
    {Line::Item, "qzd32mk_version", "ﾊﾞｰｼﾞｮﾝ情報(&A)", &A::version},
};

} // namespace

void MakerActions::build(QMenuBar* bar) {
    buildMenus<MakerActions>(bar, MenuTable, *this);
}

QMenu* MakerActions::fileMenuWidget() const {
    return fileMenu->menu();
}

QMenu* MakerActions::editMenuWidget() const {
    return editMenu->menu();
}

} // namespace quillo::maker
