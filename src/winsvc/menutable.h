#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QString>

#include <functional>
#include <span>

// One table format for the menus of both programs. Each line names a menu, an item, a
// separator or a submenu; an item's action is stored into the member of the program's
// actions object that the line names, so that code uses typed actions and never looks an
// action up by its name.
namespace quillo {

template <class Actions> struct MenuLine {
    enum Kind {
        Menu,       // starts a menu of the menu bar
        Item,       // a command
        CheckItem,  // a command with a check mark
        Separator,  // a line; `name` is its object name
        Submenu,    // starts a submenu of the current menu, ended by EndSubmenu
        EndSubmenu, // back to the menu the submenu is in
    };
    Kind kind;
    const char* name;    // object name, or the command the naming function makes one of
    const char* caption; // UTF-8; "&" marks the access key
    QAction* Actions::*action = nullptr; // where the line's action goes (menus: menuAction)
    const char* shortcut = nullptr;
    const char* otherCaption = nullptr; // the caption of the program's other variant
    bool hidden = false;                // carried by the menu but never shown
};

// How a table is turned into menus: the object name of a line's name, and whether the
// other variant's captions apply.
struct MenuStyle {
    std::function<QString(const char*)> objectName = [](const char* name) {
        return QString::fromLatin1(name);
    };
    bool otherCaptions = false;
};

// Builds the table's menus into the menu bar and fills `actions`.
template <class Actions>
void buildMenus(QMenuBar* bar, std::span<const MenuLine<Actions>> table, Actions& actions,
                const MenuStyle& style = {}) {
    QMenu* menu = nullptr;
    QMenu* current = nullptr;
    for (const MenuLine<Actions>& line : table) {
        const QString name = style.objectName(line.name);
        const char* captionText =
            style.otherCaptions && line.otherCaption ? line.otherCaption : line.caption;
        const QString caption = captionText ? QString::fromUtf8(captionText) : QString();
        QAction* action = nullptr;
        switch (line.kind) {
        case MenuLine<Actions>::Menu:
            menu = current = bar->addMenu(caption);
            menu->setObjectName(name);
            action = menu->menuAction();
            break;
        case MenuLine<Actions>::Submenu:
            current = menu->addMenu(caption);
            current->setObjectName(name);
            action = current->menuAction();
            break;
        case MenuLine<Actions>::EndSubmenu:
            current = menu;
            continue;
        case MenuLine<Actions>::Separator:
            // A separator keeps no text: some styles would draw it as a section heading.
            action = current->addSeparator();
            break;
        case MenuLine<Actions>::Item:
        case MenuLine<Actions>::CheckItem:
            action = current->addAction(caption);
            action->setCheckable(line.kind == MenuLine<Actions>::CheckItem);
            if (line.shortcut)
                action->setShortcut(QKeySequence(QString::fromLatin1(line.shortcut)));
            break;
        }
        action->setObjectName(name);
        if (line.hidden)
            action->setVisible(false);
        if (line.action)
            actions.*(line.action) = action;
    }
}

} // namespace quillo
