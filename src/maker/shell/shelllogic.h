#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Plain logic of the authoring window: its title, the splitting of a path into its file
// title, the character ruler and the font table.
namespace quillo::maker {

// The display name and the two blanks that begin every title of the authoring window.
inline constexpr char MakerTitlePrefix[] = "Quillo32Maker  ";

// "Quillo32Maker  " + path + " Page" + page + " /" + count, numbers with their leading blank.
QString makerWindowTitle(const QString& filePath, int page, int count);

// The file title of a path: the text after its last folder separator ("/" or "\"). At most
// `maxSeparators` separators are passed; a path with more gives no value.
std::optional<QString> fileTitleWithin(const QString& path, int maxSeparators = 10);

// The ruler text: "0", then "････+････" and the last digit of the next ten, repeated, cut
// when `columns` characters follow the leading "0". No columns gives "0".
QString rulerText(int columns);
// The number of ruler columns for an editor width and a digit width, both twips.
int rulerColumns(int editorWidthTwips, int digitWidthTwips);

// The font names of the font name box, built in a table of 501 slots.
struct FontTable {
    static constexpr int Slots = 501;
    QStringList names;
    bool overflowed = false; // more names than slots: `names` holds what fitted
};
// Duplicates dropped (the last of equal names is kept), sorted in collated order, then
// every "@" name added once more without its "@", dropped and sorted again.
FontTable buildFontTable(const QStringList& screenFonts);

// The font sizes of the size box.
QStringList fontSizeList();

} // namespace quillo::maker
