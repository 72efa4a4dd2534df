// The authoring window's page commands and their one-step undo.
#include "maker/shell/mainwindow.h"
#include "maker/shell/shelltexts.h"
#include "winsvc/hourglass.h"
#include "winsvc/richtextcontrol.h"

namespace quillo {

namespace {

const QString NewPageTitle = QStringLiteral("qzd32Maker 新規ページ");
const QString InsertPageTitle = QStringLiteral("qzd32Maker ページ挿入");
const QString DeletePageTitle = QStringLiteral("qzd32Maker ﾍﾟｰｼﾞ削除");
const QString UndoPageTitle = QStringLiteral("qzd32Maker 元に戻す<頁編集>");

} // namespace

void MakerMainWindow::showCurrentPage() {
    showPageInEditor();
    fillLists();
    refreshTitle(TitleMode::SelectKeyword);
    refreshTitle(TitleMode::SelectContents);
}

void MakerMainWindow::nextPage() {
    if (m_currentPage + 1 <= m_doc.pageCount) {
        Hourglass hourglass;
        storeCurrentPage();
        ++m_currentPage;
        showCurrentPage();
    }
    m_editor->setFocus();
}

void MakerMainWindow::previousPage() {
    if (m_currentPage - 1 >= 1) {
        Hourglass hourglass;
        storeCurrentPage();
        --m_currentPage;
        showCurrentPage();
    }
    m_editor->setFocus();
}

void MakerMainWindow::keepForEntryCancel(EntryMode mode) {
    m_undoBeforeCommand = m_undo;
    m_savedDocumentChanged = m_documentChanged;
    m_entryMode = mode;
}

void MakerMainWindow::newPage() {
    if (m_doc.pageCount >= MaxPages) {
        message(NewPageTitle, pageLimitText(), Dialogs::Icon::Information);
        return;
    }
    keepForEntryCancel(EntryMode::NewPage);
    Hourglass hourglass;
    storeCurrentPage();
    m_undo = {};
    m_undo.state = PageUndo::Appended;
    m_undo.appendedPage = m_doc.pageCount + 1;
    resetEditorPage();
    // The new slot is emptied, whatever an earlier, longer document left in it.
    insertEmptyPage(m_doc, m_doc.pageCount + 1);
    m_currentPage = m_doc.pageCount;
    m_pageChanged[m_currentPage] = false;
    // The page count changed: closing must offer to save it.
    m_documentChanged = true;
    fillLists();
    refreshTitle(TitleMode::SelectKeyword);
    refreshTitle(TitleMode::SelectContents);
    m_editor->setFocus();
}

void MakerMainWindow::insertPage() {
    if (m_doc.pageCount >= MaxPages) {
        message(InsertPageTitle, pageLimitText(), Dialogs::Icon::Information);
        return;
    }
    keepForEntryCancel(EntryMode::InsertedPage);
    storeCurrentPage();
    Hourglass hourglass;
    insertPageAtCurrent();
    m_documentChanged = true;
    m_editor->setFocus();
}

// Inserts an empty page at `currentPage`; the page there and every later one move up.
void MakerMainWindow::insertPageAtCurrent() {
    m_undo = {};
    m_undo.state = PageUndo::Inserted;
    m_undo.insertedPage = m_currentPage;
    resetEditorPage();
    insertEmptyPage(m_doc, m_currentPage);
    m_pageChanged[m_currentPage] = false;
    fillLists();
    refreshTitle(TitleMode::SelectKeyword);
    refreshTitle(TitleMode::SelectContents);
}

void MakerMainWindow::deletePage() {
    keepForEntryCancel(EntryMode::DeletedPage);
    const bool emptyDocument = m_editor->textLength() == 0 && m_doc.pageCount == 1 &&
                               !m_doc.hasTitle(1) && m_doc.keywordCount[1] == 0;
    if (emptyDocument) {
        message(DeletePageTitle, nothingToDeleteText(), Dialogs::Icon::Information);
        return;
    }
    if (m_dialogs.ask(this, DeletePageTitle, deletePageQuestion(m_currentPage),
                      Dialogs::Icon::Information, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    removeCurrentPage();
    m_documentChanged = true;
}

// Removes `currentPage` and records it for the undo. The only page of a document is emptied
// instead, so that the document keeps one (empty) page.
void MakerMainWindow::removeCurrentPage() {
    Hourglass hourglass;
    storeCurrentPage();
    m_undo = {};
    m_undo.state = PageUndo::Deleted;
    m_undo.deletedPage = m_currentPage;
    m_undo.deletedOnlyPage = m_doc.pageCount == 1;
    resetEditorPage();
    m_undo.deleted = removePage(m_doc, m_currentPage);
    m_currentPage = qMin(m_currentPage, int(m_doc.pageCount));
    m_pageChanged[m_currentPage] = false;
    showCurrentPage();
}

void MakerMainWindow::undoPage() {
    switch (m_undo.state) {
    case PageUndo::Nothing:
        message(UndoPageTitle, nothingToUndoText(), Dialogs::Icon::Information);
        return;
    case PageUndo::Running:
        return;
    case PageUndo::Inserted:
    case PageUndo::Appended: {
        // The shown page keeps its edits, whichever page the undo goes to.
        storeCurrentPage();
        const int page =
            m_undo.state == PageUndo::Inserted ? m_undo.insertedPage : m_undo.appendedPage;
        m_undo.state = PageUndo::Running;
        m_currentPage = qBound(1, page, int(m_doc.pageCount));
        removeCurrentPage();
        break;
    }
    case PageUndo::Deleted: {
        storeCurrentPage();
        const PageUndo record = m_undo;
        if (!record.deletedOnlyPage && m_doc.pageCount >= MaxPages)
            return;
        Hourglass hourglass;
        m_undo = {};
        m_undo.state = PageUndo::Inserted;
        m_currentPage = qBound(1, record.deletedPage, int(m_doc.pageCount) + 1);
        m_undo.insertedPage = m_currentPage;
        resetEditorPage();
        // A deleted only page was emptied in place; any other comes back in its slot.
        if (!record.deletedOnlyPage)
            insertEmptyPage(m_doc, m_currentPage);
        setPageContent(m_doc, m_currentPage, record.deleted);
        m_pageChanged[m_currentPage] = false;
        showCurrentPage();
        break;
    }
    }
    m_documentChanged = true;
    m_editor->setFocus();
}

void MakerMainWindow::deletePageSilently() {
    if (m_doc.pageCount <= 1)
        return;
    removeCurrentPage();
    m_undo = m_undoBeforeCommand;
}

} // namespace quillo
