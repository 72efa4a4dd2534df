#include "viewer/pagesearch.h"

#include "viewer/viewertexts.h"
#include "winsvc/richtextcontrol.h"

#include <QCoreApplication>

#include <algorithm>

namespace quillo::viewer {

namespace {
// How far before the original selection start the view looks for the selected text when it
// goes back to where a run began (the page may lay out slightly differently when reloaded).
constexpr int RestoreLookBack = 10;
} // namespace

QString searchCaption(PageSearch::State state) {
    switch (state) {
    case PageSearch::State::FromStart:
        return CaptionFromStart;
    case PageSearch::State::FromCaret:
        return CaptionFromCaret;
    case PageSearch::State::Searching:
        return CaptionSearching;
    case PageSearch::State::FindNext:
        return CaptionFindNext;
    }
    return CaptionFromStart;
}

PageSearch::PageSearch(Pages& pages, RichTextControl& control, QObject* parent)
    : QObject(parent), m_pages(pages), m_control(control) {
    // A window still open when the program ends must not leave the preparing thread running
    // while the program's static data is torn down.
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &PageSearch::stopPreparing);
}

void PageSearch::setDocument(const HelpDocument* doc) {
    m_doc = doc;
    m_pageTexts.reset(doc);
    m_pageTexts.prepare();
}

void PageSearch::stopPreparing() {
    m_pageTexts.stopPreparing();
}

void PageSearch::setState(State state) {
    m_state = state;
    emit stateChanged(state);
}

void PageSearch::setFromStart(bool fromStart) {
    if (fromStart == m_fromStart)
        return;
    m_fromStart = fromStart;
    emit fromStartChanged(fromStart);
    reset();
}

void PageSearch::reset() {
    m_position = 0;
    m_found = false;
    m_searchPage = m_fromStart ? 1 : m_pages.currentPage();
    setState(m_fromStart ? State::FromStart : State::FromCaret);
}

// Steps the search page forward to the next page whose text holds the needle and shows it,
// without loading the pages between; false when no later page holds it.
bool PageSearch::moveToNextPageHolding(const QString& needle) {
    int page = m_searchPage + 1;
    while (page <= pageCount() && !m_pageTexts.pageHolds(page, needle))
        ++page;
    if (page > pageCount())
        return false;
    m_pages.showPage(page);
    m_searchPage = page;
    m_position = 0;
    return true;
}

PageSearch::Outcome PageSearch::run(const QString& needle) {
    const Origin origin{m_pages.currentPage(), m_control.selStart(), int(needle.size()),
                        m_control.selText()};
    const int pageCount = this->pageCount();
    m_control.setUpdatesEnabled(false);
    if (m_state == State::FromStart && pageCount > 0) {
        m_pages.chooseFirstPage();
        m_searchPage = 1;
        m_position = 0;
    } else {
        m_position = m_control.selStart() + m_control.selLength();
    }
    setState(State::Searching);

    bool more = pageCount > 0;
    while (more) {
        if (m_control.find(needle, m_position) >= 0) {
            fitSelectionToCharacterCount(m_control, int(needle.size()));
            m_control.setUpdatesEnabled(true);
            m_control.ensureCursorVisible();
            setState(State::FindNext);
            // Clearing a set tick resets the state; the hit just shown still counts, so that
            // running past the last hit reports the end of the search, not that nothing
            // matches.
            setFromStart(false);
            m_found = true;
            m_position = m_control.selStart() + m_control.selLength();
            return Outcome::Hit;
        }
        more = m_searchPage < pageCount && moveToNextPageHolding(needle);
    }
    if (pageCount > 0)
        restore(origin);
    m_control.setUpdatesEnabled(true);
    const bool found = m_found;
    m_pages.reportEnd(found);
    if (m_fromStart)
        reset();
    else
        setFromStart(true); // resets
    return found ? Outcome::Finished : Outcome::NoMatch;
}

// Shows the page where the run began and selects the text that was selected then; the text
// is looked for a few positions before its old start as well.
void PageSearch::restore(const Origin& origin) {
    m_pages.showPage(origin.page);
    const int lowest = std::max(0, origin.start - RestoreLookBack);
    for (int s = origin.start; s >= lowest; --s) {
        m_control.setSelStart(s);
        fitSelectionToCharacterCount(m_control, origin.length);
        if (m_control.selText().compare(origin.selected, Qt::CaseInsensitive) == 0)
            return;
    }
    m_control.setSelStart(origin.start);
}

} // namespace quillo::viewer
