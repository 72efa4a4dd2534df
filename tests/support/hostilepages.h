#pragma once

#include "core/helpdocument.h"

#include <QByteArray>

#include <memory>

// Small pages that are costly to show or convert: text at the largest sizes RTF allows, many
// formatting runs in one paragraph, pictures announcing far more pixels than their data holds,
// long tables. The tests show each in a window; the benchmarks time them.
namespace quillo::test {

inline const QByteArray hostileHead = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil"
                                      "\\fcharset128 \\'82\\'6c\\'82\\'72 \\'83\\'53\\'83\\'56"
                                      "\\'83\\'62\\'83\\'4e;}}\\pard\\f0\\fs18 ";

// One line of `characters` times U+3042 at the largest font size (1638 points).
inline QByteArray largestCharactersPage(int characters) {
    QByteArray page = hostileHead + "\\fs3276 ";
    for (int i = 0; i < characters; ++i)
        page += "\\'82\\'a0";
    return page + "\\par\r\n}";
}

// `paragraphs` one-letter paragraphs with the largest space before and after (22 inches).
inline QByteArray spacedParagraphsPage(int paragraphs) {
    QByteArray page = hostileHead + "\\sb31680\\sa31680 ";
    for (int i = 0; i < paragraphs; ++i)
        page += "a\\par\r\n";
    return page + "}";
}

// One paragraph of `runs` one-letter runs, bold and normal in turn, with no blank between.
inline QByteArray formattingRunsPage(int runs) {
    QByteArray page = hostileHead;
    for (int i = 0; i < runs / 2; ++i)
        page += "\\b x\\b0 y";
    return page + "\\par\r\n}";
}

// `pictures` bitmaps that announce 4000 x 4000 pixels of 24 bits with 16 bytes of data: a
// 12-byte bitmap core header and four bytes of pixels.
inline QByteArray forgedPicturesPage(int pictures) {
    QByteArray page = hostileHead;
    for (int i = 0; i < pictures; ++i)
        page += "{\\pict\\dibitmap0\\picw4000\\pich4000 0c000000a00fa00f01001800ff00ff00}";
    return page + "\\par\r\n}";
}

// A table of `rows` rows of `cells` cells, each holding its row and column number.
inline QByteArray tablePage(int rows, int cells) {
    QByteArray row = "\\trowd\\trgaph108";
    for (int c = 1; c <= cells; ++c)
        row += "\\cellx" + QByteArray::number(c * 600);
    QByteArray page = hostileHead;
    for (int r = 0; r < rows; ++r) {
        page += row + "\\pard\\intbl ";
        for (int c = 0; c < cells; ++c)
            page += QByteArray::number(r) + "." + QByteArray::number(c) + "\\cell ";
        page += "\\row\r\n";
    }
    return page + "\\pard after\\par\r\n}";
}

// Two pages: a short first page, then `table` (a table page), to turn to after the start.
inline std::unique_ptr<HelpDocument> firstPageThen(const QByteArray& table) {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(2);
    doc->page(1).rtf = "{\\rtf1\\ansi first page\\par}";
    doc->page(2).rtf = table;
    return doc;
}

} // namespace quillo::test
