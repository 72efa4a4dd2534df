#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

class QTextDocument;

namespace quillo::rtf {

struct HtmlOptions {
    // Relative path of the folder the picture files go into, with a trailing "/" (e.g.
    // "page1_files/"); written into the links URL-escaped.
    QString imageLinkPrefix;
    QString title; // <title> of the page
    // The file of page N of the same site, for links to pages ("#N"); empty when the site has
    // no such page, and the link keeps its text only. Unset: such links stay in-page anchors.
    std::function<QString(int page)> pageLinkFile = nullptr;
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

// The text with & < > " written as HTML's character references, for text and attribute values.
QString htmlEscaped(QStringView text);

// A file path as a relative URL that names that file: the characters that URLs reserve or
// that a browser would strip or misread (# ? % : \ " blanks, control characters ...) become
// %XX of their UTF-8 bytes, so that "C#入門_1.htm" or " x.htm" links to that very file. "/"
// separates folders. Other characters stay as they are, unless `keepRaw` refuses them (for a
// page whose encoding cannot hold them). A byte of a file name that is not UTF-8 (carried as
// U+DC80..U+DCFF) becomes that byte's %XX.
QString urlPathEncoded(QStringView path, bool (*keepRaw)(char32_t) = nullptr);

// Whether a link address may stand in a published page: http:, https:, mailto: and ftp:
// addresses, relative links and in-page anchors. Any other scheme (javascript:, data:,
// vbscript:, file: ...) is refused, judged the way a browser reads the address.
bool isPublishableLink(QStringView href);

// A whole HTML page (<!DOCTYPE html>, UTF-8 <meta>, <title>, <body>) with clean markup:
// <p> with alignment and indents as CSS, <span> for fonts, sizes and colours, <b>/<i>/<u>/<s>,
// <ul>/<ol> for bullets and numbering. Pictures are linked as imageLinkPrefix + their name and
// handed back with their bytes (PNG and JPEG keep theirs, other kinds are converted to PNG);
// writing them is the caller's.
HtmlPage writeHtml(const QTextDocument& doc, const HtmlOptions& options);

// The same page straight from RTF without building a QTextDocument (the fast export path).
HtmlPage rtfToHtml(QByteArrayView rtf, const HtmlOptions& options);

} // namespace quillo::rtf
