#pragma once

#include "winsvc/dialogs.h"
#include "winsvc/richtextcontrol.h"

#include <QObject>

#include <optional>

class QAction;
class QComboBox;
class QKeyEvent;
class QMainWindow;
class QMenu;
class QMouseEvent;

namespace quillo {
class RichTextControl;
} // namespace quillo

namespace quillo::maker {

class IndentRuler;

// The controls of the authoring window that act on the page editor's selection.
struct FormattingControls {
    QMainWindow* window = nullptr;
    QComboBox* fontBox = nullptr; // Combo1
    QComboBox* sizeBox = nullptr; // Combo2
    QMenu* editMenu = nullptr;    // 編集(E), also the editor's context menu
    RichTextControl* editor = nullptr;
    IndentRuler* ruler = nullptr;
};

// The edit commands of the 編集(E) menu that act on the page editor.
struct EditCommands {
    QAction* undo = nullptr;
    QAction* copy = nullptr;
    QAction* cut = nullptr;
    QAction* paste = nullptr;
    QAction* remove = nullptr;
    QAction* selectAll = nullptr;
};

// The formatting buttons' actions: checked while the selection has the format.
struct FormattingActions {
    QAction* left = nullptr;
    QAction* center = nullptr;
    QAction* right = nullptr;
    QAction* bullet = nullptr;
    QAction* bold = nullptr;
    QAction* italic = nullptr;
    QAction* underline = nullptr;
};

// Text formatting of the page editor: the font name and size boxes, the style, alignment
// and bullet actions with Ctrl+B/I/U, the edit commands and the context menu, the editor's
// own keys and the indents set with the ruler. The buttons and boxes follow the selection
// only when the mouse is released over the editor.
//
// `ignoreNextChange` is the window's flag that makes its next editor change notification
// count as the program's own, not as an edit.
class PageFormatting : public QObject {
    Q_OBJECT
public:
    PageFormatting(Dialogs& dialogs, const FormattingControls& controls,
                   const EditCommands& commands, bool& ignoreNextChange, QObject* parent = nullptr);

    // Brings the buttons, boxes and ruler in line with the selection (the editor's
    // mouse-up refresh; also run after a document is loaded or created).
    void refreshFromSelection();

    const FormattingActions& actions() const { return m_actions; }

signals:
    // Page Up and Page Down in the editor: the previous or the next page is wanted.
    void pageUpPressed();
    void pageDownPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeActions();

    void chooseFontName(int index);
    void chooseFontSize(int index);
    void applyChosenFont(const SelectionFormat& format);
    void confirmTypedSize();
    void toggleStyle(std::optional<bool> SelectionFormat::*member, QAction* button);
    void setAlignment(int alignment);
    void toggleBullet();
    void showAlignment(int alignment);

    void onEditorKey(QKeyEvent* event);
    void onEditorMouseDown(QMouseEvent* event);
    void connectEditCommands(const EditCommands& commands);
    void setIndent(bool left, int twips);
    void applyToSelection(const SelectionFormat& format);

    Dialogs& m_dialogs;
    FormattingControls m_c;
    bool& m_ignoreNextChange;
    FormattingActions m_actions;
    int m_savedSize = 0; // the size box's value when it got the focus
};

} // namespace quillo::maker
