#include "pages.h"

#include <utility>

namespace quillo {
namespace {

void moveSlot(HelpDocument& doc, int from, int to) {
    doc.pageText[to] = std::move(doc.pageText[from]);
    doc.titleCount[to] = doc.titleCount[from];
    doc.title[to] = std::move(doc.title[from]);
    doc.keywordCount[to] = doc.keywordCount[from];
    doc.keywords[to] = std::move(doc.keywords[from]);
    doc.clearPage(from);
}

} // namespace

PageContent pageContent(const HelpDocument& doc, int page) {
    PageContent c;
    c.text = doc.pageText[page];
    c.titleCount = doc.titleCount[page];
    c.title = doc.title[page];
    c.keywordCount = doc.keywordCount[page];
    c.keywords = doc.keywords[page];
    return c;
}

void setPageContent(HelpDocument& doc, int page, const PageContent& c) {
    doc.pageText[page] = c.text;
    doc.titleCount[page] = c.titleCount;
    doc.title[page] = c.title;
    doc.keywordCount[page] = c.keywordCount;
    doc.keywords[page] = c.keywords;
}

bool insertEmptyPage(HelpDocument& doc, int page) {
    if (doc.pageCount >= MaxPages || page < 1 || page > doc.pageCount + 1)
        return false;
    for (int p = doc.pageCount; p >= page; --p)
        moveSlot(doc, p, p + 1);
    doc.clearPage(page);
    ++doc.pageCount;
    return true;
}

PageContent removePage(HelpDocument& doc, int page) {
    if (page < 1 || page > doc.pageCount)
        return {};
    PageContent removed = pageContent(doc, page);
    doc.clearPage(page);
    if (doc.pageCount == 1)
        return removed;
    for (int p = page + 1; p <= doc.pageCount; ++p)
        moveSlot(doc, p, p - 1);
    --doc.pageCount;
    return removed;
}

} // namespace quillo
