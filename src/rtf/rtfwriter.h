#pragma once

#include <QByteArray>

class QTextDocument;

namespace quillo::rtf {

// A complete 7-bit RTF document in the style of a Windows rich-edit control: \ansicpg932, a font
// table with \fcharset128 for Japanese faces, a colour table, \viewkind4\uc1, \pard paragraphs,
// characters outside ASCII as \uN followed by their code page 932 bytes, pictures as \pngblip or
// \jpegblip (or their original data and kind when they were read from RTF), bullets and
// numbering as \pn, or as Word's \ls lists (with \listtext for older readers) when lists are
// nested or restart in ways \pn cannot say; tables as \trowd rows of \cell paragraphs.
QByteArray writeRtf(const QTextDocument& doc);

} // namespace quillo::rtf
