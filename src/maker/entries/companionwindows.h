#pragma once

#include "core/helpdocument.h"
#include "core/twipsrect.h"

#include <QStringList>
#include <QWidget>

#include <array>

class QListWidget;
class QMenu;
class QPushButton;

namespace quillo {
class Dialogs;
}

namespace quillo::maker {

class EntrySession;
class MakerDocument;
enum class EntryMode;

// A small modeless window owned by the authoring window that lists the document's pages
// (the contents window and the keyword window): four command buttons above the list, a
// pop-up menu on the list, and the list itself, which follows the document and takes
// clicks, keys and dropped text. It keeps its position and size in the settings values it
// is given: it takes them when it is placed and stores them back when it closes in the
// normal state.
class CompanionWindow : public QWidget {
    Q_OBJECT
public:
    // Places the window from its settings values, kept on the screen; the corrected Top and
    // Left are stored back at once.
    void placeFromSettings();
    // Moves the window down and right by `twips` (several running copies).
    void offsetBy(int twips);

    QListWidget* list() const { return m_list; }
    QMenu* popupMenu() const { return m_menu; }
    // The selected line (-1: none) and its text.
    int selectedLine() const;
    QString selectedLineText() const;
    // Selects a line as the program does (not a click).
    void selectLine(int line);

    // While the entry dialog is open the delete command is disabled; when it works on the
    // other window's list, this list and its new, change and insert buttons are too.
    virtual void setEntryDialogOpen(bool open, bool forOtherList);

signals:
    void closed();

protected:
    // Buttons Command1..Command4 in the order "新規", "削除", "変更", "挿入".
    enum Button { New = 0, Delete = 1, Change = 2, Insert = 3 };

    CompanionWindow(MakerDocument& document, Dialogs& dialogs, EntrySession& session,
                    QWidget* owner, TwipsRect& settings, const QString& name,
                    const QString& caption, const std::array<QString, 4>& tooltips,
                    const QString& menuName, const QString& menuTitle, int narrowInsertLeft);
    // Builds the list; the constructors of the windows call it once they are complete.
    void follow();
    // The list lines of the document, in page order.
    virtual QStringList linesOf(const HelpDocument& doc) const = 0;
    // The line selected for the current page.
    virtual int lineOfPage(const HelpDocument& doc, int page) const = 0;
    // The writer chose a line with the mouse (a click, or a drag along the list) or a key.
    virtual void lineClicked(int line) = 0;
    virtual void changeCommand() = 0;
    // Backspace or Delete on the list.
    virtual void deleteKeyPressed() = 0;
    // Text dropped on the list, taken after the drag has ended.
    virtual void textDropped(const QString& text) = 0;
    // Rebuilds the list from the document and selects the current page's first line.
    virtual void fill();

    QPushButton* button(Button which) const { return m_buttons[which]; }
    QAction* addMenuItem(const char* name, const QString& text);
    void message(const QString& title, const QString& text);
    bool askYesNo(const QString& title, const QString& text);
    // The page of a list line; 0 when the line is not a list entry.
    int pageOfLine(int line) const;

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    MakerDocument& m_document;
    Dialogs& m_dialogs;
    EntrySession& m_session;

private:
    // Selects the first line of the current page, when the list has lines.
    void selectCurrentPage();
    void onListMoved();
    void layOut();
    // Places the window at `rect` kept on the screen, and stores the Top and Left that result.
    void placeAt(const TwipsRect& rect);

    TwipsRect& m_settings;
    TwipsRect m_placed; // where the program put the window last
    QListWidget* m_list;
    std::array<QPushButton*, 4> m_buttons{};
    QMenu* m_menu;
    int m_narrowInsertLeft;
    // A mouse press or a key of the writer is under way on the list: the selection changes
    // it makes are clicks.
    bool m_userListAction = false;
    int m_actedLine = -1; // the line the writer's action under way last acted on
    bool m_roundingHeight = false;
};

// `qzd32mk_index`: one line per page with its contents title. Its page commands are the
// authoring window's; it asks for them through its signals.
class ContentsWindow : public CompanionWindow {
    Q_OBJECT
public:
    ContentsWindow(MakerDocument& document, Dialogs& dialogs, EntrySession& session, QWidget* owner,
                   TwipsRect& settings);

    // 目次追加(I): the editor's selected text becomes the current page's title, after the
    // questions about its length and about replacing a title.
    void titleFromSelection(const QString& selection);
    // The current page's title becomes `text` (store_title).
    void storeTitle(const QString& text);
    // The same, only while a line is selected (change_title).
    void changeTitle(const QString& text);
    void changeCommand() override;
    void setEntryDialogOpen(bool open, bool forOtherList) override;

signals:
    void newPageRequested();
    void insertPageRequested();
    void deletePageRequested();
    void undoPageRequested();

protected:
    QStringList linesOf(const HelpDocument& doc) const override;
    int lineOfPage(const HelpDocument& doc, int page) const override;
    void lineClicked(int line) override;
    void deleteKeyPressed() override;
    void textDropped(const QString& text) override;

private:
    // Stores a title candidate after the character check and the replace question.
    void storeWithQuestion(const QString& candidate);

    QAction* m_deleteItem = nullptr;
    QAction* m_undoItem = nullptr;
};

// `qzd32mk_key`: the keywords of every page in page order, never sorted; a page without
// keywords shows one line with its number alone. Its commands add, insert, change and
// delete keywords of the current page, typing them in the entry dialog.
class KeywordWindow : public CompanionWindow {
    Q_OBJECT
public:
    KeywordWindow(MakerDocument& document, Dialogs& dialogs, EntrySession& session, QWidget* owner,
                  TwipsRect& settings);

    // ｷｰ追加(K): the editor's selected text becomes a keyword of the current page.
    void keywordFromSelection(const QString& selection);
    // Adds `text` to the current page: appended (`fillSelected` false, or the selected line
    // holds a keyword), or into the selected empty line. False at the keyword limit.
    bool addKeyword(const QString& text, bool fillSelected);
    // Inserts `text` before the selected line. False at the keyword limit.
    bool insertKeyword(const QString& text);
    // The selected line's keyword becomes `text`.
    void changeKeyword(const QString& text);
    // Deletes the selected line's keyword; `silently` skips the checks and the question.
    void deleteKeyword(bool silently);

    void newCommand();
    void changeCommand() override;
    void insertCommand();
    void deleteCommand();

protected:
    QStringList linesOf(const HelpDocument& doc) const override;
    int lineOfPage(const HelpDocument& doc, int page) const override;
    void lineClicked(int line) override;
    void deleteKeyPressed() override;
    void textDropped(const QString& text) override;
    void fill() override;

private:
    // The current page's slot of the selected line: 0 when the selection lies on another
    // page or there is none.
    int selectedSlot() const;
    // Moves the pending empty keyword of an open dialog to the selected line.
    void movePendingKeyword();
    // Adds an empty keyword (appended for a new one, inserted before the selected line) and
    // opens the dialog for it; a keyword of the same mode already waiting moves to the
    // selected line first.
    void openPendingKeyword(EntryMode mode);
    // Asks about every keyword equal to `text`; false when the writer declines.
    bool confirmDuplicates(const QString& text, bool dropped);
    void setCurrentKeywords(const QStringList& keywords);
};

} // namespace quillo::maker
