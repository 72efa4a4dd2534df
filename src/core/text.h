#pragma once

#include <QString>

#include <optional>

namespace quillo {

// The value of a hexadecimal digit (either case), or -1 for any other character.
constexpr int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A number as the messages and titles write it: signed decimal with one leading blank for a
// value that is not negative (" 64", " 0", "-1").
QString numberText(qint64 value);

// The text of an error without a message of its own: "ERR = " and the number ("ERR =  70").
QString errorNumberText(int number);

// One line of a contents or keyword list: "p", the page right-aligned in two characters,
// two blanks, the text ("p 3  Title", "p12  Title"). Page 100 takes three digits
// ("p100  Title").
QString listEntry(int page, const QString& text);

struct ListEntry {
    int page = 0;
    QString text;
};
// The one reader of list lines; nullopt for a line that is not a list entry.
std::optional<ListEntry> parseListEntry(const QString& line);

// A font family without the foundry that fontconfig appends to tell equal names apart
// ("Nimbus Sans [urw]" -> "Nimbus Sans"). Pages name fonts by the plain family, which is
// what other readers of a page know.
QString plainFontFamily(const QString& family);

} // namespace quillo
