#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

class QTextCursor;
class QTextDocument;

// Links inside a page: a run of text whose characters carry a link target (a HYPERLINK field
// in the page's RTF). A link to another page of the same help file stores "#N", N being the
// page number: an in-document anchor that word processors and browsers can follow too; any
// other target is a web address.
namespace quillo::rtf {

struct PageLink {
    int position = 0; // where the link's text starts (control positions)
    int length = 0;
    QString text;
    QString target;
};

// The stored target of a link to `page`.
QString pageLinkTarget(int page);
// The page a target names ("#N" with N >= 1), or 0 when it names none.
int linkedPage(const QString& target);
// A target the programs hand to the desktop's browser or mail program: http:, https: or
// mailto: followed by something.
bool isWebAddress(const QString& target);

// The links of a page, in text order; neighbouring runs with the same target are one link.
QList<PageLink> linksOf(const QTextDocument& doc);
QList<PageLink> linksOf(QByteArrayView rtf);

// Makes the selected text of `cursor` a link to `target`; an empty target makes it plain
// text again. The rest of each character's format stays.
void setLink(const QTextCursor& cursor, const QString& target);

// Rewrites every page link: `newPage` gives the new number of an old one, 0 when that page is
// gone, which turns the link into plain text. True when any link changed.
bool renumberPageLinks(QTextDocument& doc, const std::function<int(int)>& newPage);
// The same over a page's RTF; the very same bytes come back when no link changed, so a page
// without page links is never rewritten.
QByteArray renumberPageLinks(const QByteArray& rtf, const std::function<int(int)>& newPage);

} // namespace quillo::rtf
