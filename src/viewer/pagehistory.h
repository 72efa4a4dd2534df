#pragma once

#include <QList>

namespace quillo::viewer {

// The pages a reader has seen, in order, for going back and forward as a browser does: a new
// page after going back drops the pages ahead. The oldest entries go beyond Limit.
class PageHistory {
public:
    static constexpr int Limit = 100;

    // A document was opened at `page`: the history holds that page alone.
    void reset(int page);
    // The reader went to `page`; the same page as the current entry is not recorded twice.
    void visit(int page);
    bool canGoBack() const { return m_at > 0; }
    bool canGoForward() const { return m_at + 1 < m_pages.size(); }
    // Steps back or forward and returns the page there (0 when it cannot).
    int back();
    int forward();
    int size() const { return int(m_pages.size()); }

private:
    QList<int> m_pages;
    qsizetype m_at = -1;
};

} // namespace quillo::viewer
