#pragma once

#include "helpdocument.h"

#include <QByteArray>
#include <QString>

#include <array>

// Page table operations shared by the page commands, their undo and the entry dialog's
// cancel: whole pages (text, contents title, keywords) move between slots together.
namespace quillo {

struct PageContent {
    QByteArray text;
    qint16 titleCount = 0;
    QString title;
    qint16 keywordCount = 0;
    std::array<QString, MaxKeywordsPerPage + 1> keywords; // slots 1..keywordCount
};

PageContent pageContent(const HelpDocument& doc, int page);
void setPageContent(HelpDocument& doc, int page, const PageContent& content);

// Makes room at `page` (1..pageCount+1) by moving it and every later page one slot up; the
// new page is empty whatever the slot held before. False, and nothing changed, when the
// document already has MaxPages pages or `page` is out of range.
bool insertEmptyPage(HelpDocument& doc, int page);

// Removes `page`, moving every later page one slot down, and returns what it held. The only
// page of a document is emptied instead, so a document never has zero pages.
PageContent removePage(HelpDocument& doc, int page);

} // namespace quillo
