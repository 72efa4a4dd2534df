#include "pages.h"

#include "text.h"

#include <utility>

namespace quillo {

bool insertEmptyPage(HelpDocument& doc, int page) {
    if (doc.pageCount() >= MaxPages || page < 1 || page > doc.pageCount() + 1)
        return false;
    doc.pages.insert(page - 1, HelpPage{});
    return true;
}

HelpPage removePage(HelpDocument& doc, int page) {
    if (!doc.hasPage(page))
        return {};
    if (doc.pageCount() == 1)
        return std::exchange(doc.page(1), HelpPage{});
    return doc.pages.takeAt(page - 1);
}

QStringList contentsLines(const HelpDocument& doc) {
    QStringList lines;
    lines.reserve(doc.pageCount());
    for (int p = 1; p <= doc.pageCount(); ++p)
        lines.append(listEntry(p, doc.page(p).title.value_or(QString())));
    return lines;
}

QStringList keywordLinesByPage(const HelpDocument& doc) {
    QStringList lines;
    for (int p = 1; p <= doc.pageCount(); ++p) {
        const QStringList& keywords = doc.page(p).keywords;
        // The page's part of its lines is made once for its keywords (up to 64 a page).
        const QString page = listEntry(p, QString());
        if (keywords.isEmpty())
            lines.append(page);
        for (const QString& keyword : keywords)
            lines.append(page + keyword);
    }
    return lines;
}

int listLineOfPage(const HelpDocument& doc, int page, bool keywords) {
    int line = 0;
    for (int p = 1; p < page && p <= doc.pageCount(); ++p) {
        const qsizetype entries = keywords ? doc.page(p).keywords.size() : 1;
        line += int(qMax<qsizetype>(entries, 1));
    }
    return line;
}

} // namespace quillo
