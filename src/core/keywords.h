#pragma once

#include "helpdocument.h"

#include <QList>
#include <QString>

namespace quillo {

// One keyword occurrence: the keyword as written on its page.
struct KeywordEntry {
    QString keyword;
    int page = 0;
};

// Every non-empty keyword of every page, in the order a sorted list box shows them: by the
// keyword padded with blanks to 32 characters, compared without regard to case in Japanese
// collation order; equal keywords in page order. The viewer's keyword list and the HTML
// keyword page both use this order.
QList<KeywordEntry> sortedKeywordEntries(const HelpDocument& doc);

} // namespace quillo
