#pragma once

#include "core/helpdocument.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <utility>

namespace quillo::maker {

class PageView;

// The one-step page undo: what the last page command did, so that it can be reversed. The
// reversal records itself, so undoing twice redoes.
struct PageUndo {
    enum State { Nothing = 0, Inserted = 1, Deleted = 2, Appended = 3, Running = 4 };
    State state = Nothing;
    int insertedPage = 0;
    int deletedPage = 0;
    int appendedPage = 0;
    // The deleted page was the document's only one: it was emptied, not removed.
    bool deletedOnlyPage = false;
    HelpPage deleted; // text, contents title and keywords of the deleted page
    // Pages whose links the delete rewrote, by their number after it: the text before and
    // after, so that the undo brings back links to the deleted page where the page was not
    // edited since.
    QHash<int, std::pair<QByteArray, QByteArray>> relinked;
};

// What the entry dialog is open for, or what the last command that can open it did, so that
// its cancel knows what to take back: the contents modes (a title for a page just added,
// a title change, a title for a page just inserted), the page delete, and the keyword modes
// (a new empty keyword, a keyword change, an inserted empty keyword, the keyword delete, a
// keyword from the selection or a drop).
enum class EntryMode {
    NewPage = 0,
    ChangeTitle = 1,
    InsertedPage = 2,
    DeletedPage = 3,
    NewKeyword = 10,
    ChangeKeyword = 11,
    InsertedKeyword = 12,
    DeleteKeyword = 13,
    KeywordFromText = 14,
};
// The contents modes of the entry dialog (0 to 2); the others are keyword modes.
constexpr bool isContentsMode(EntryMode mode) {
    return mode == EntryMode::NewPage || mode == EntryMode::ChangeTitle ||
           mode == EntryMode::InsertedPage;
}

// The document of the authoring program: the help document with the page shown in the
// editor, whether it has unsaved changes, whether it was ever saved, and the page commands
// with their one-step undo. It knows the editor only as a PageView, and tells observers
// what changed through its signals; nobody refreshes a window by hand.
class MakerDocument : public QObject {
    Q_OBJECT
public:
    explicit MakerDocument(PageView& view, QObject* parent = nullptr);

    const HelpDocument& help() const { return m_doc; }
    // The help document for code that writes display settings (save, preview).
    HelpDocument& helpForWriting() { return m_doc; }
    int pageCount() const { return m_doc.pageCount(); }
    int currentPage() const { return m_currentPage; }
    const HelpPage& page(int number) const { return m_doc.page(number); }

    // Never saved: no file behind the document.
    bool isUnnamed() const { return m_unnamed; }
    // The path as the window title and the questions show it: the file's full path, or the
    // name of an unnamed document.
    QString displayPath() const;
    // The file's title (the part after the last folder separator), or the unnamed name.
    QString fileTitle() const;

    // document_changed: edits not yet saved.
    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    // page_changed: the editor holds edits of the current page not yet stored.
    bool isShownPageEdited() const { return m_shownPageEdited; }
    // An edit made by the writer in the editor.
    void noteEditorEdit();

    // Starts an unnamed document of one empty page. The display settings other than the
    // background colour stay as they were.
    void startUnnamed(qint32 backColor);
    // Takes a document that was read from `path`; the current page becomes 1.
    void adoptFile(HelpDocument doc, const QString& path);
    // The document is now stored under `path`: it has that name and no unsaved changes.
    void savedAs(const QString& path);
    // Copies the editor's page into the page table when it holds edits (store_current_page).
    void storeShownPage();
    // Copies the editor's page into the page table whatever its mark (an overwrite save).
    void storeShownPageAlways();
    // Copies the editor's page into the page table at once (after a picture is embedded),
    // leaving the editor and its undo as they are. The page keeps its edited mark, so that an
    // undo in the editor reaches the table with the next store.
    void copyShownPageToTable();
    // No unsaved changes and nothing to undo (after a save).
    void clearChangeFlags();

    // Page commands. Each stores the shown page first and shows the resulting current page.
    // Each refuses (doing nothing) while the editor is still loading a page.
    bool nextPage();
    bool previousPage();
    // Stores the shown page and shows `page` (a program load, not an edit); false when the
    // document has no such page.
    bool showPage(int page);
    // False when the document already has MaxPages pages.
    bool appendPage();
    bool insertPage();
    void deleteCurrentPage();
    // False when there is nothing to undo (a running undo counts as done).
    bool undoPageCommand();
    // Removes the page the last new-page or insert-page command added, without marking the
    // document changed, and puts the page undo back as it was before that command. Nothing
    // happens on a document's only page.
    void deletePageSilently();

    const PageUndo& pageUndo() const { return m_undo; }
    EntryMode entryMode() const { return m_entryMode; }
    // document_changed as it was before the last page command.
    bool savedModified() const { return m_savedModified; }
    // Keeps what the entry dialog's cancel puts back, before a page command runs.
    void keepForEntryCancel(EntryMode mode);
    // Keeps document_changed for the entry dialog's cancel and sets the mode, for the
    // commands that do not change pages.
    void beginEntry(EntryMode mode);
    // The entry dialog committed: the document has changes, also after a later cancel.
    void commitEntry();
    // Puts document_changed back as it was when the entry began.
    void restoreSavedModified();

    // Shows `page` in the editor, storing the shown page first; false when it already is
    // the current page or does not exist.
    bool goToPage(int page);

    // The next list click in either companion window comes from the program (a search
    // selected the line); the click only clears the mark.
    void suppressNextListClick() { m_suppressListClick = true; }
    // True once when a click is to be ignored; clears the mark.
    bool takeListClickSuppression() { return std::exchange(m_suppressListClick, false); }

    // Gives every page without keywords one empty keyword slot, as the keyword list shows
    // it. Not an edit of the writer: the modified mark stays.
    void fillEmptyKeywordSlots();

    // Gives a page its contents title (none: no title).
    void setTitle(int page, const std::optional<QString>& title);
    void setKeywords(int page, const QStringList& keywords);
    // Replaces the stored RTF of a page other than the shown one (a replace-all edit): the
    // document has unsaved changes.
    void setPageRtf(int page, const QByteArray& rtf);

signals:
    // Pages were added, removed or replaced; the current page may have changed too.
    void pagesChanged();
    void currentPageChanged(int page);
    // The contents title or the keywords of one page changed.
    void pageEntriesChanged(int page);
    void modifiedChanged(bool modified);
    // The document's name changed (opened, saved under a new name, new document).
    void nameChanged();

private:
    bool addEmptyPage(EntryMode mode, PageUndo::State undoState, int at);
    void removeCurrentPage();
    void showCurrentPage();
    void setCurrentPage(int page);
    void forgetPageUndo();
    // Gives every page link of the document its page's new number (0: the page is gone and
    // the link becomes plain text); returns the pages it changed with their old text.
    QHash<int, QByteArray> renumberLinks(const std::function<int(int)>& newPage);
    void relinkAfterUndoneDelete(const PageUndo& record);

    PageView& m_view;
    HelpDocument m_doc;
    int m_currentPage = 1;
    bool m_unnamed = true;
    bool m_modified = false;
    bool m_shownPageEdited = false;
    PageUndo m_undo;
    PageUndo m_undoBeforeCommand; // as it was before the last page command
    EntryMode m_entryMode = EntryMode::NewPage;
    bool m_savedModified = false;
    bool m_suppressListClick = false;
};

// The name shown for a document that was never saved.
QString unnamedFileName();

} // namespace quillo::maker
