#include "keywords.h"

#include <QCollator>

#include <algorithm>

namespace quillo {

QList<KeywordEntry> sortedKeywordEntries(const HelpDocument& doc) {
    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setIgnorePunctuation(false);

    struct Keyed {
        QCollatorSortKey key;
        KeywordEntry entry;
    };
    std::vector<Keyed> keyed;
    for (int p = 1; p <= doc.pageCount(); ++p)
        for (const QString& word : doc.page(p).keywords) {
            if (word.isEmpty())
                continue;
            keyed.push_back({collator.sortKey(word.leftJustified(MaxEntryLength, QLatin1Char(' '))),
                             {word, p}});
        }
    // Filled from page 1 upwards, so a stable sort keeps equal keywords in page order.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key.compare(b.key) < 0; });
    QList<KeywordEntry> out;
    out.reserve(qsizetype(keyed.size()));
    for (Keyed& k : keyed)
        out.append(std::move(k.entry));
    return out;
}

} // namespace quillo
