#pragma once

#include "core/helpdocument.h"

#include <QString>
#include <QStringView>

#include <array>
#include <memory>
#include <optional>
#include <thread>

namespace quillo::viewer {

// The plain text of every page of one document, made on demand from the page's RTF. The
// search tests these texts and loads a page into the page control only when its text holds
// the search string, which keeps a search across all pages fast. A thread of low priority
// makes the texts in advance, so that the first search finds them made without the window's
// thread having spent its time on them while the window came up.
class PageTextCache {
public:
    PageTextCache();
    ~PageTextCache();
    PageTextCache(const PageTextCache&) = delete;
    PageTextCache& operator=(const PageTextCache&) = delete;

    // Forgets every text and stops making them in advance; `doc` is the document the texts
    // come from (may be null).
    void reset(const HelpDocument* doc);

    // The plain text of a page (1-based), as the page control shows it.
    const QString& text(int page);
    // Whether the text of a page (1-based) is made, here or by the preparing thread.
    bool isMade(int page) const;
    // Whether the page's text holds `needle`, ignoring case.
    bool pageHolds(int page, QStringView needle);

    // Starts making the texts of every page on a thread of its own, from copies of the pages'
    // RTF; text() takes a page's text from there once it is made.
    void prepare();
    // Stops making texts in advance, once the page under way is made.
    void stopPreparing();

private:
    struct Prepared;

    int pageCount() const { return m_doc ? m_doc->pageCount() : 0; }
    // Whether the preparing thread has made the text of a page (1-based).
    bool preparedText(int page) const;

    const HelpDocument* m_doc = nullptr;
    std::array<std::optional<QString>, MaxPages + 1> m_texts;
    std::unique_ptr<Prepared> m_prepared; // shared with m_worker while it runs
    std::thread m_worker;
};

} // namespace quillo::viewer
