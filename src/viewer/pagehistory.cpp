#include "viewer/pagehistory.h"

namespace quillo::viewer {

void PageHistory::reset(int page) {
    m_pages = {page};
    m_at = 0;
}

void PageHistory::visit(int page) {
    if (m_at >= 0 && m_pages[m_at] == page)
        return;
    m_pages.resize(m_at + 1);
    m_pages.append(page);
    if (m_pages.size() > Limit)
        m_pages.remove(0, m_pages.size() - Limit);
    m_at = m_pages.size() - 1;
}

int PageHistory::back() {
    return canGoBack() ? m_pages[--m_at] : 0;
}

int PageHistory::forward() {
    return canGoForward() ? m_pages[++m_at] : 0;
}

} // namespace quillo::viewer
