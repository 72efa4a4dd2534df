#pragma once

#include "helpdocument.h"

#include <QString>
#include <QStringList>

// Page operations shared by the page commands, their undo and the entry dialog's cancel:
// whole pages (text, contents title, keywords) move together.
namespace quillo {

// Puts an empty page at `page` (1..pageCount+1); that page and every later one move one
// number up. False, and nothing changed, when the document already has MaxPages pages or
// `page` is out of range.
bool insertEmptyPage(HelpDocument& doc, int page);

// Removes `page`, moving every later page one number down, and returns what it held. The
// only page of a document is emptied instead, so a document that had pages keeps one.
HelpPage removePage(HelpDocument& doc, int page);

// The lines of the contents list: one per page, "p n  " and its title (none: the number
// alone).
QStringList contentsLines(const HelpDocument& doc);
// The keyword lines in page order: one per keyword; a page without keywords gives one line
// with its number alone.
QStringList keywordLinesByPage(const HelpDocument& doc);
// The 0-based line of the first entry of `page` in contentsLines (keywords false) or
// keywordLinesByPage (keywords true).
int listLineOfPage(const HelpDocument& doc, int page, bool keywords);

} // namespace quillo
