#include "viewer/pagetextcache.h"

#include "rtf/rtfreader.h"

namespace quillo::viewer {

void PageTextCache::reset(const HelpDocument* doc) {
    m_doc = doc;
    for (auto& t : m_texts)
        t.reset();
    m_next = 1;
}

const QString& PageTextCache::text(int page) {
    static const QString none;
    if (!m_doc || page < 1 || page > m_doc->pageCount())
        return none;
    std::optional<QString>& t = m_texts[page];
    if (!t)
        t = rtf::plainText(m_doc->page(page).rtf);
    return *t;
}

bool PageTextCache::pageHolds(int page, QStringView needle) {
    return text(page).contains(needle, Qt::CaseInsensitive);
}

bool PageTextCache::makeNext() {
    while (m_next <= pageCount() && m_texts[m_next])
        ++m_next;
    if (m_next > pageCount())
        return false;
    text(m_next++);
    return m_next <= pageCount();
}

} // namespace quillo::viewer
