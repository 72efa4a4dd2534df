#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

class QTextDocument;

namespace quillo::rtf {

struct HtmlOptions {
    QString imageLinkPrefix; // prefix of the links to the picture files, e.g. "page1_files/"
    QString title;           // <title> of the page
};

// One picture of the page as the file it links to.
struct HtmlPicture {
    QString name; // image1.png, image2.jpg ...
    QByteArray bytes;
};

struct HtmlPage {
    QString html;
    std::vector<HtmlPicture> pictures; // in the order the page shows them
};

// A whole HTML page (<!DOCTYPE html>, UTF-8 <meta>, <title>, <body>) with clean markup:
// <p> with alignment and indents as CSS, <span> for fonts, sizes and colours, <b>/<i>/<u>/<s>,
// <ul>/<ol> for bullets and numbering. Pictures are linked as imageLinkPrefix + their name and
// handed back with their bytes (PNG and JPEG keep theirs, other kinds are converted to PNG);
// writing them is the caller's.
HtmlPage writeHtml(const QTextDocument& doc, const HtmlOptions& options);

// The same page straight from RTF without building a QTextDocument (the fast export path).
HtmlPage rtfToHtml(QByteArrayView rtf, const HtmlOptions& options);

} // namespace quillo::rtf
