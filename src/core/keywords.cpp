#include "keywords.h"

#include <QCollator>

#include <algorithm>

namespace quillo {

QList<KeywordEntry> sortedKeywordEntries(const HelpDocument& doc) {
    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setIgnorePunctuation(false);

    struct Padded {
        QString text; // the keyword padded with blanks, as compared
        KeywordEntry entry;
    };
    std::vector<Padded> padded;
    for (int p = 1; p <= doc.pageCount(); ++p)
        for (const QString& word : doc.page(p).keywords)
            if (!word.isEmpty())
                padded.push_back({word.leftJustified(MaxEntryLength, QLatin1Char(' ')), {word, p}});
    // Compared pairwise rather than through sort keys: a collation key costs the whole string
    // of every keyword, while a comparison skips the part two keywords share and stops at
    // their first difference, which makes the sort several times cheaper. Both give the
    // collator's one order. Filled from page 1 upwards, so a stable sort keeps equal keywords
    // in page order.
    std::stable_sort(padded.begin(), padded.end(), [&collator](const Padded& a, const Padded& b) {
        return collator.compare(a.text, b.text) < 0;
    });
    QList<KeywordEntry> out;
    out.reserve(qsizetype(padded.size()));
    for (Padded& k : padded)
        out.append(std::move(k.entry));
    return out;
}

} // namespace quillo
