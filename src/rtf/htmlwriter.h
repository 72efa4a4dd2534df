#pragma once

#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace quillo::rtf {

struct HtmlOptions {
    QString imageDir;        // folder the picture files are written to (created on demand)
    QString imageLinkPrefix; // prefix of the relative links to them, e.g. "page1_files/"
    QString title;           // <title> of the page
};

// A whole HTML page (<!DOCTYPE html>, UTF-8 <meta>, <title>, <body>) with clean markup:
// <p> with alignment and indents as CSS, <span> for fonts, sizes and colours, <b>/<i>/<u>/<s>,
// <ul>/<ol> for bullets and numbering. Pictures are written into imageDir as image1.png ...
// (PNG and JPEG keep their bytes, other kinds are converted to PNG) and linked as
// imageLinkPrefix + file name; nothing is written when imageDir is empty.
QString writeHtml(const QTextDocument& doc, const HtmlOptions& options);

// The same page straight from RTF without building a QTextDocument (the fast export path).
QString rtfToHtml(QByteArrayView rtf, const HtmlOptions& options);

} // namespace quillo::rtf
