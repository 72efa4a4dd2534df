#pragma once

#include "core/helpdocument.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace quillo::viewer {

// The plain text of every page of one document, made on demand from the page's RTF. The
// search tests these texts and loads a page into the page control only when its text holds
// the search string, which keeps a search across all pages fast.
class PageTextCache {
public:
    // Forgets every text; `doc` is the document the texts come from (may be null).
    void reset(const HelpDocument* doc);

    // The plain text of a page (1-based), as the page control shows it.
    const QString& text(int page);
    // Whether the page's text holds `needle`, ignoring case.
    bool pageHolds(int page, QStringView needle);

    // Makes the text of the next page not yet made; false once every page has its text.
    bool makeNext();
    bool isComplete() const { return m_next > pageCount(); }

private:
    int pageCount() const { return m_doc ? m_doc->pageCount() : 0; }

    const HelpDocument* m_doc = nullptr;
    std::array<std::optional<QString>, MaxPages + 1> m_texts;
    int m_next = 1;
};

} // namespace quillo::viewer
