#include "viewer/pagetextcache.h"

#include "rtf/rtfreader.h"

#include <QByteArray>
#include <QList>

#include <atomic>

#include <sys/resource.h>
#include <unistd.h>

namespace quillo::viewer {

// What the preparing thread works on and hands over: it reads only `rtf` and `stop`, and
// writes a page's text before marking the page ready, never touching it afterwards.
struct PageTextCache::Prepared {
    QList<QByteArray> rtf; // page n is rtf[n - 1]
    std::array<QString, MaxPages + 1> texts;
    std::array<std::atomic<bool>, MaxPages + 1> ready{};
    std::atomic<bool> stop = false;

    void run() {
        // The lowest share of the processor: the window's own thread and the display server
        // come first while the window comes up (on Linux a thread has a nice value of its own).
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
        for (int page = 1; page <= int(rtf.size()) && !stop.load(); ++page) {
            texts[page] = rtf::plainText(rtf[page - 1]);
            ready[page].store(true, std::memory_order_release);
        }
    }
};

PageTextCache::PageTextCache() = default;

PageTextCache::~PageTextCache() {
    stopPreparing();
}

void PageTextCache::reset(const HelpDocument* doc) {
    stopPreparing();
    m_doc = doc;
    for (auto& t : m_texts)
        t.reset();
}

const QString& PageTextCache::text(int page) {
    static const QString none;
    if (!m_doc || page < 1 || page > m_doc->pageCount())
        return none;
    std::optional<QString>& t = m_texts[page];
    if (!t) {
        if (preparedText(page))
            t = std::move(m_prepared->texts[page]);
        else
            t = rtf::plainText(m_doc->page(page).rtf);
    }
    return *t;
}

bool PageTextCache::isMade(int page) const {
    if (page < 1 || page > pageCount())
        return false;
    return m_texts[page] || preparedText(page);
}

bool PageTextCache::preparedText(int page) const {
    return m_prepared && page <= m_prepared->rtf.size() &&
           m_prepared->ready[page].load(std::memory_order_acquire);
}

bool PageTextCache::pageHolds(int page, QStringView needle) {
    return text(page).contains(needle, Qt::CaseInsensitive);
}

void PageTextCache::prepare() {
    stopPreparing();
    if (pageCount() == 0)
        return;
    m_prepared = std::make_unique<Prepared>();
    m_prepared->rtf.reserve(pageCount());
    for (int page = 1; page <= pageCount(); ++page)
        m_prepared->rtf.append(m_doc->page(page).rtf);
    m_worker = std::thread([prepared = m_prepared.get()] { prepared->run(); });
}

void PageTextCache::stopPreparing() {
    if (m_worker.joinable()) {
        m_prepared->stop.store(true);
        m_worker.join();
    }
    // Texts already made stay usable for the document they were made from.
    if (m_prepared)
        for (int page = 1; page <= m_prepared->rtf.size() && page <= pageCount(); ++page)
            if (!m_texts[page] && preparedText(page))
                m_texts[page] = std::move(m_prepared->texts[page]);
    m_prepared.reset();
}

} // namespace quillo::viewer
