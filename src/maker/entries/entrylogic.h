#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Rules for contents titles and keywords that do not depend on a window: how a selected or
// dropped text becomes an entry, where a keyword line sits within its page, and how a page's
// keyword slots change. The windows ask the questions; these functions only compute.
namespace quillo::maker {

// The text without one line break at its end ("\r\n", or "\n" as the editor gives it).
QString withoutTrailingLineBreak(const QString& text);
// The text without the line breaks at its end, removing at most `limit` of them.
QString withoutTrailingLineBreaks(const QString& text, int limit = 100);

// The first `length` characters of the text; a character made of two UTF-16 units is never
// split.
QString firstCharacters(const QString& text, int length);
// Number of characters, a character of two UTF-16 units counting once.
int characterCount(const QString& text);

// The first character of the text that a help file cannot store, if any.
std::optional<QString> firstUnstorableCharacter(const QString& text);

// The slot (1-based) of keyword-list line `line` within its page: the lines directly above
// it with the same page number, plus one. Line 0, or a line that is not a list entry,
// gives 1.
int findKeywordSlot(const QStringList& lines, int line);

// A page's keyword slots as the keyword list shows them: a page without keywords has one
// empty slot (its placeholder line).
QStringList keywordSlots(const QStringList& keywords);
// Adds `text` after the page's last keyword; a page whose only slot is its empty placeholder
// gets the text in that slot, so that no stale empty line stays behind.
QStringList appendKeyword(const QStringList& keywords, const QString& text);
// Puts `text` into `slot` (1-based); a page without keywords gets it as its first keyword.
QStringList fillKeywordSlot(const QStringList& keywords, int slot, const QString& text);
// Inserts `text` before `slot`; before a placeholder the page ends with the text and an
// empty slot.
QStringList insertKeywordBefore(const QStringList& keywords, int slot, const QString& text);
// Removes the keyword in `slot`; later keywords move up.
QStringList removeKeyword(const QStringList& keywords, int slot);

} // namespace quillo::maker
