#include "maker/document/makerdocument.h"

#include "core/pages.h"
#include "maker/document/pageview.h"
#include "rtf/pagelinks.h"

namespace quillo::maker {

QString unnamedFileName() {
    return QStringLiteral("新規ファイル");
}

MakerDocument::MakerDocument(PageView& view, QObject* parent) : QObject(parent), m_view(view) {
    m_doc.pages.resize(1);
}

QString MakerDocument::displayPath() const {
    return m_unnamed ? unnamedFileName() : m_doc.filePath;
}

QString MakerDocument::fileTitle() const {
    return m_unnamed ? unnamedFileName() : fileTitleOf(m_doc.filePath);
}

void MakerDocument::setModified(bool modified) {
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void MakerDocument::noteEditorEdit() {
    m_shownPageEdited = true;
    setModified(true);
}

void MakerDocument::startUnnamed(qint32 backColor) {
    m_doc.pages = {HelpPage{}};
    m_doc.filePath.clear();
    m_doc.displaySettings.backColor = backColor;
    m_unnamed = true;
    m_currentPage = 1;
    m_shownPageEdited = false;
    forgetPageUndo();
    setModified(false);
    emit nameChanged();
    emit pagesChanged();
    emit currentPageChanged(m_currentPage);
}

void MakerDocument::adoptFile(HelpDocument doc, const QString& path) {
    m_doc = std::move(doc);
    // A file may hold no page at all; the editor always shows one.
    if (m_doc.pages.isEmpty())
        m_doc.pages.resize(1);
    m_doc.filePath = path;
    m_unnamed = false;
    m_currentPage = 1;
    showCurrentPage();
    // The page undo belonged to the document that was open before.
    forgetPageUndo();
    setModified(false);
    emit nameChanged();
    emit pagesChanged();
    emit currentPageChanged(m_currentPage);
}

void MakerDocument::savedAs(const QString& path) {
    m_doc.filePath = path;
    m_unnamed = false;
    clearChangeFlags();
    emit nameChanged();
}

void MakerDocument::storeShownPage() {
    if (m_shownPageEdited)
        storeShownPageAlways();
}

void MakerDocument::storeShownPageAlways() {
    if (m_view.holdsWholePage())
        m_doc.page(m_currentPage).rtf = m_view.shownRtf();
    m_shownPageEdited = false;
}

void MakerDocument::copyShownPageToTable() {
    if (m_view.holdsWholePage())
        m_doc.page(m_currentPage).rtf = m_view.shownRtf();
}

void MakerDocument::clearChangeFlags() {
    m_shownPageEdited = false;
    forgetPageUndo();
    setModified(false);
}

void MakerDocument::forgetPageUndo() {
    m_undo = {};
    m_undoBeforeCommand = {};
}

void MakerDocument::setCurrentPage(int page) {
    m_currentPage = page;
    emit currentPageChanged(page);
}

void MakerDocument::showCurrentPage() {
    m_view.showRtf(m_doc.page(m_currentPage).rtf);
    m_shownPageEdited = false;
}

bool MakerDocument::nextPage() {
    if (m_view.isLoadingPage())
        return false;
    if (m_currentPage + 1 > pageCount())
        return false;
    storeShownPage();
    ++m_currentPage;
    showCurrentPage();
    emit currentPageChanged(m_currentPage);
    return true;
}

bool MakerDocument::previousPage() {
    if (m_view.isLoadingPage())
        return false;
    if (m_currentPage - 1 < 1)
        return false;
    storeShownPage();
    --m_currentPage;
    showCurrentPage();
    emit currentPageChanged(m_currentPage);
    return true;
}

bool MakerDocument::showPage(int page) {
    if (m_view.isLoadingPage())
        return false;
    if (!m_doc.hasPage(page))
        return false;
    storeShownPage();
    m_currentPage = page;
    showCurrentPage();
    emit currentPageChanged(m_currentPage);
    return true;
}

void MakerDocument::keepForEntryCancel(EntryMode mode) {
    m_undoBeforeCommand = m_undo;
    m_savedModified = m_modified;
    m_entryMode = mode;
}

void MakerDocument::beginEntry(EntryMode mode) {
    m_savedModified = m_modified;
    m_entryMode = mode;
}

void MakerDocument::commitEntry() {
    m_savedModified = true;
    setModified(true);
}

void MakerDocument::restoreSavedModified() {
    setModified(m_savedModified);
}

bool MakerDocument::goToPage(int page) {
    return page != m_currentPage && showPage(page);
}

void MakerDocument::fillEmptyKeywordSlots() {
    for (HelpPage& page : m_doc.pages)
        if (page.keywords.isEmpty())
            page.keywords.append(QString());
}

bool MakerDocument::appendPage() {
    return addEmptyPage(EntryMode::NewPage, PageUndo::Appended, pageCount() + 1);
}

bool MakerDocument::insertPage() {
    return addEmptyPage(EntryMode::InsertedPage, PageUndo::Inserted, m_currentPage);
}

// Puts an empty page at `at` and shows it, recording the command for the page undo.
bool MakerDocument::addEmptyPage(EntryMode mode, PageUndo::State undoState, int at) {
    if (m_view.isLoadingPage())
        return false;
    if (pageCount() >= MaxPages)
        return false;
    keepForEntryCancel(mode);
    storeShownPage();
    m_undo = {};
    m_undo.state = undoState;
    (undoState == PageUndo::Appended ? m_undo.appendedPage : m_undo.insertedPage) = at;
    m_view.showEmptyPage();
    renumberLinks([at](int page) { return page >= at ? page + 1 : page; });
    insertEmptyPage(m_doc, at);
    m_shownPageEdited = false;
    // The page count changed: closing must offer to save it.
    setModified(true);
    emit pagesChanged();
    setCurrentPage(at);
    return true;
}

void MakerDocument::deleteCurrentPage() {
    if (m_view.isLoadingPage())
        return;
    removeCurrentPage();
    setModified(true);
}

// Removes the current page and records it for the undo. The only page of a document is
// emptied instead, so that the document keeps one (empty) page.
void MakerDocument::removeCurrentPage() {
    storeShownPage();
    m_undo = {};
    m_undo.state = PageUndo::Deleted;
    m_undo.deletedPage = m_currentPage;
    m_undo.deletedOnlyPage = pageCount() == 1;
    m_view.showEmptyPage();
    m_undo.deleted = removePage(m_doc, m_currentPage);
    if (!m_undo.deletedOnlyPage) {
        const int gone = m_undo.deletedPage;
        const QHash<int, QByteArray> before = renumberLinks([gone](int page) {
            return page == gone ? 0 : page > gone ? page - 1 : page;
        });
        for (auto it = before.begin(); it != before.end(); ++it)
            m_undo.relinked.insert(it.key(), {it.value(), m_doc.page(it.key()).rtf});
    }
    m_currentPage = qMin(m_currentPage, pageCount());
    showCurrentPage();
    emit pagesChanged();
    emit currentPageChanged(m_currentPage);
}

bool MakerDocument::undoPageCommand() {
    // Refused while a page comes in, as a running undo is: nothing more to report.
    if (m_view.isLoadingPage())
        return true;
    switch (m_undo.state) {
    case PageUndo::Nothing:
        return false;
    case PageUndo::Running:
        return true;
    case PageUndo::Inserted:
    case PageUndo::Appended: {
        // The shown page keeps its edits, whichever page the undo goes to.
        storeShownPage();
        const int page =
            m_undo.state == PageUndo::Inserted ? m_undo.insertedPage : m_undo.appendedPage;
        m_undo.state = PageUndo::Running;
        m_currentPage = qBound(1, page, pageCount());
        removeCurrentPage();
        break;
    }
    case PageUndo::Deleted: {
        storeShownPage();
        const PageUndo record = m_undo;
        if (!record.deletedOnlyPage && pageCount() >= MaxPages)
            return true;
        m_undo = {};
        m_undo.state = PageUndo::Inserted;
        m_currentPage = qBound(1, record.deletedPage, pageCount() + 1);
        m_undo.insertedPage = m_currentPage;
        m_view.showEmptyPage();
        // A deleted only page was emptied in place; any other comes back in its slot.
        if (!record.deletedOnlyPage) {
            relinkAfterUndoneDelete(record);
            insertEmptyPage(m_doc, m_currentPage);
        }
        m_doc.page(m_currentPage) = record.deleted;
        showCurrentPage();
        emit pagesChanged();
        emit currentPageChanged(m_currentPage);
        break;
    }
    }
    setModified(true);
    return true;
}

void MakerDocument::deletePageSilently() {
    if (pageCount() <= 1)
        return;
    removeCurrentPage();
    m_undo = m_undoBeforeCommand;
}

QHash<int, QByteArray> MakerDocument::renumberLinks(const std::function<int(int)>& newPage) {
    QHash<int, QByteArray> changed;
    for (int page = 1; page <= pageCount(); ++page) {
        QByteArray& rtf = m_doc.page(page).rtf;
        QByteArray renumbered = rtf::renumberPageLinks(rtf, newPage);
        if (renumbered.constData() == rtf.constData() || renumbered == rtf)
            continue;
        changed.insert(page, std::exchange(rtf, std::move(renumbered)));
    }
    return changed;
}

// Before the deleted page comes back: a page the delete rewrote and nobody edited since takes
// its text from before the delete (links to the deleted page included); every other page
// gets its links to the later pages moved one number up again.
void MakerDocument::relinkAfterUndoneDelete(const PageUndo& record) {
    const int back = record.deletedPage;
    const auto up = [back](int page) { return page >= back ? page + 1 : page; };
    for (int page = 1; page <= pageCount(); ++page) {
        QByteArray& rtf = m_doc.page(page).rtf;
        const auto kept = record.relinked.find(page);
        if (kept != record.relinked.end() && kept->second == rtf)
            rtf = kept->first;
        else
            rtf = rtf::renumberPageLinks(rtf, up);
    }
}

void MakerDocument::setTitle(int page, const std::optional<QString>& title) {
    if (!m_doc.hasPage(page))
        return;
    m_doc.page(page).title = title;
    setModified(true);
    emit pageEntriesChanged(page);
}

void MakerDocument::setKeywords(int page, const QStringList& keywords) {
    if (!m_doc.hasPage(page))
        return;
    m_doc.page(page).keywords = keywords.mid(0, MaxKeywordsPerPage);
    setModified(true);
    emit pageEntriesChanged(page);
}

void MakerDocument::setPageRtf(int page, const QByteArray& rtf) {
    if (!m_doc.hasPage(page) || page == m_currentPage)
        return;
    m_doc.page(page).rtf = rtf;
    setModified(true);
}

} // namespace quillo::maker
