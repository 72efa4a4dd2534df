#pragma once

class QAction;
class QMenu;
class QMenuBar;

namespace quillo::maker {

// Every command of the authoring program as one typed action, made with the menus from
// one table. The actions carry their menu items' object names.
struct MakerActions {
    // ﾌｧｲﾙ(F)
    QAction* fileMenu = nullptr;
    QAction* fileNew = nullptr;
    QAction* fileOpen = nullptr;
    QAction* fileSave = nullptr;
    QAction* fileSaveAs = nullptr;
    QAction* recentHead = nullptr; // the line where the recent files begin
    QAction* recentEnd = nullptr;  // the separator after them
    QAction* exit = nullptr;
    // 編集(E)
    QAction* editMenu = nullptr;
    QAction* undo = nullptr;
    QAction* copy = nullptr;
    QAction* cut = nullptr;
    QAction* paste = nullptr;
    QAction* remove = nullptr;
    QAction* selectAll = nullptr;
    QAction* embedImage = nullptr;
    QAction* addContents = nullptr;
    QAction* addKeyword = nullptr;
    QAction* setLink = nullptr;
    QAction* removeLink = nullptr;
    QAction* search = nullptr;
    QAction* replace = nullptr;
    QAction* textColour = nullptr;
    QAction* backColour = nullptr;
    // ﾍﾟｰｼﾞ編集(PE)
    QAction* nextPage = nullptr;
    QAction* previousPage = nullptr;
    QAction* newPage = nullptr;
    QAction* insertPage = nullptr;
    QAction* deletePage = nullptr;
    QAction* undoPage = nullptr;
    // ﾌﾟﾚﾋﾞｭｰ(V)
    QAction* preview = nullptr;
    QAction* showContents = nullptr;
    QAction* showKeywords = nullptr;
    // HTML(H)
    QAction* htmlShownPage = nullptr;
    QAction* htmlAllPages = nullptr;
    QAction* htmlWebHelp = nullptr;
    QAction* htmlIndent = nullptr;
    QAction* htmlView = nullptr;
    // ﾍﾙﾌﾟ(H)
    QAction* quickHelpQzd = nullptr;
    QAction* quickHelpBrowser = nullptr;
    QAction* help = nullptr;
    QAction* homePage = nullptr;
    QAction* version = nullptr;

    // Builds the menus into the bar and fills the members.
    void build(QMenuBar* bar);
    QMenu* fileMenuWidget() const;
    QMenu* editMenuWidget() const;
};

} // namespace quillo::maker
