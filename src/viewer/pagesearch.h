#pragma once

#include "viewer/pagetextcache.h"

#include <QObject>
#include <QString>

namespace quillo {
class RichTextControl;
}

namespace quillo::viewer {

// The text search of a viewer window over the pages of its document. It runs forward from
// page 1 (while "最初から検索" is ticked) or from the caret, through the following pages,
// stops at the first hit and selects it in the page control; the next run continues right
// after that hit. It never wraps round: after the last page it brings the view back to
// where the run began. The mode is an explicit state, shown as the search button's caption.
// The plain texts of the pages tell which pages hold the needle, so that a run loads only
// those into the page control; they are made while the user reads.
class PageSearch : public QObject {
    Q_OBJECT
public:
    enum class State {
        FromStart, // the next run starts on page 1
        FromCaret, // the next run starts at the caret of the page shown
        Searching, // a run is in progress
        FindNext,  // a hit is shown; the next run continues after it
    };
    enum class Outcome { Hit, NoMatch, Finished };

    // What the search needs from the window that shows the pages.
    class Pages {
    public:
        virtual ~Pages() = default;
        virtual int currentPage() const = 0;
        // Shows the page in the page control; the window's title and contents entry follow,
        // and the window tells the search through pageShown().
        virtual void showPage(int page) = 0;
        // Shows page 1 as chosen in the lists, as a run from the start begins.
        virtual void chooseFirstPage() = 0;
        // A run ended without a further hit (after the view went back to where it began);
        // `found` tells whether a hit was shown since the state was last reset.
        virtual void reportEnd(bool found) = 0;
    };

    PageSearch(Pages& pages, RichTextControl& control, QObject* parent = nullptr);

    // The document searched (may be null); its page texts are made anew, ahead of need on a
    // thread of their own.
    void setDocument(const HelpDocument* doc);
    // Stops making page texts ahead of need.
    void stopPreparing();

    State state() const { return m_state; }
    bool fromStart() const { return m_fromStart; }
    bool found() const { return m_found; }
    int searchPage() const { return m_searchPage; }

    // The tick "最初から検索". A change of it resets the state.
    void setFromStart(bool fromStart);
    // Forgets the position and any hit: the next run starts on page 1 when ticked, otherwise
    // at the caret of the page shown.
    void reset();
    // The window shows `page`: a run continues there.
    void pageShown(int page) { m_searchPage = page; }

    // Runs the search for `needle` (not empty) from where the state says.
    Outcome run(const QString& needle);

signals:
    void stateChanged(State state);
    void fromStartChanged(bool fromStart);

private:
    struct Origin {
        int page = 1;
        int start = 0;
        int length = 0; // characters of the needle, the length the selection is given back
        QString selected;
    };

    int pageCount() const { return m_doc ? m_doc->pageCount() : 0; }
    void setState(State state);
    bool moveToNextPageHolding(const QString& needle);
    void restore(const Origin& origin);

    Pages& m_pages;
    RichTextControl& m_control;
    const HelpDocument* m_doc = nullptr;
    PageTextCache m_pageTexts;
    State m_state = State::FromCaret;
    bool m_fromStart = false;
    bool m_found = false;
    int m_searchPage = 1;
    int m_position = 0;
};

// The search button's caption for a state.
QString searchCaption(PageSearch::State state);

} // namespace quillo::viewer
