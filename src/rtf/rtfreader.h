#pragma once

#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <functional>

class QTextDocument;

namespace quillo::rtf {

// Replaces the document's content with the page read from RTF (never throws, crashes or hangs
// on malformed input: it keeps what could be read). The document's default font is left alone;
// a page with a word of thousands of characters sets its default text option to wrap anywhere.
void readRtf(QByteArrayView rtf, QTextDocument& doc);

// Reads as above, and calls `between` about every `period` of work: at the start of a paragraph
// outside any table, or after each part of a long table, with no edit block open, so the
// document is laid out as far as it came and may be painted. When `between` answers false the
// rest of the page is left out. A table longer than kCellsPerShownTable cells becomes
// consecutive tables with an empty paragraph between two that takes no room (the writer joins
// them again).
void readRtf(QByteArrayView rtf, QTextDocument& doc, const std::function<bool()>& between,
             std::chrono::milliseconds period);

// How plainText() gives a table long enough to be shown in parts.
enum class LongTables {
    InParts, // as shown: the parts with an empty line between two
    Whole,   // as written: one table
};

// The plain text exactly as QTextEdit shows the page read by readRtf in slices
// (QTextDocument::toPlainText() of it), computed without building a document: paragraphs and \line
// end with '\n', pictures are U+FFFC, a table's cells are paragraphs of their own, row by row.
// Long tables come as `tables` says: in parts where positions must match the page shown, whole
// for text read by people and other programs.
QString plainText(QByteArrayView rtf, LongTables tables = LongTables::InParts);

// What is structurally wrong with the RTF (no "{\rtf" header, unbalanced braces, bytes after the
// final brace), or an empty string when nothing is. The reader copes with all of these; this is
// for diagnostics.
QString rtfProblem(QByteArrayView rtf);

} // namespace quillo::rtf
