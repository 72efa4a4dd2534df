#pragma once

#include "winsvc/dialogs.h"

#include <QHash>
#include <QObject>

class QAction;
class QComboBox;
class QKeyEvent;
class QMainWindow;
class QMenu;
class QMouseEvent;
class QToolBar;
class QToolButton;

namespace quillo {
class RichTextControl;
struct SelectionFormat;
} // namespace quillo

namespace quillo::maker {

class IndentRuler;
struct ToolButtonSpec;

// The controls of the authoring window that act on the page editor's selection.
struct FormattingControls {
    QMainWindow* window = nullptr;
    QToolBar* mainBar = nullptr;  // Toolbar3
    QToolBar* pageBar = nullptr;  // Toolbar4
    QComboBox* fontBox = nullptr; // Combo1
    QComboBox* sizeBox = nullptr; // Combo2
    QMenu* editMenu = nullptr;    // 編集(E), also the editor's context menu
    RichTextControl* editor = nullptr;
    IndentRuler* ruler = nullptr;
};

// Text formatting of the page editor: the font name and size boxes, the style, alignment
// and bullet buttons with Ctrl+B/I/U, the two toolbars (commands of other windows are
// dispatched to the window's menu items of the same command), the edit commands and the
// context menu, the editor's own keys and the indents set with the ruler. The toolbars and
// boxes follow the selection only when the mouse is released over the editor.
//
// `ignoreNextChange` is the window's flag that makes its next editor change notification
// count as the program's own, not as an edit.
class PageFormatting : public QObject {
    Q_OBJECT
public:
    PageFormatting(Dialogs& dialogs, const FormattingControls& controls, bool& ignoreNextChange,
                   QObject* parent = nullptr);

    // Brings the buttons, boxes and ruler in line with the selection (the editor's
    // mouse-up refresh; also run after a document is loaded or created).
    void refreshFromSelection();

    QToolButton* button(const QString& key) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar(QToolBar* bar, const ToolButtonSpec* specs, int count);
    void dispatch(const QString& key);
    void runCommand(const QString& key);
    QAction* windowAction(const char* name) const;

    void chooseFontName(int index);
    void chooseFontSize(int index);
    void applyChosenFont(const SelectionFormat& format);
    void confirmTypedSize();
    void toggleStyle(const QString& key);
    void setAlignment(int alignment);
    void toggleBullet();
    void setPressed(const char* key, bool pressed);
    void showAlignment(int alignment);

    void onEditorKey(QKeyEvent* event);
    void onEditorMouseDown(QMouseEvent* event);
    void connectEditCommands();
    void setIndent(bool left, int twips);
    void applyToSelection(const SelectionFormat& format);

    Dialogs& m_dialogs;
    FormattingControls m_c;
    bool& m_ignoreNextChange;
    QHash<QString, QAction*> m_buttons; // by key
    int m_savedSize = 0;                // the size box's value when it got the focus
};

} // namespace quillo::maker
