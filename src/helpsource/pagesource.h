#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>

class QTextDocument;

// Page text written by people (Markdown, HTML, plain text) turned into page RTF, and the other
// way for reviews. Problems are appended as lines without the page's file name, which the caller
// puts before them.
namespace quillo::helpsource {

// What a page link may name: "#N" for page N, or "#TITLE" for the first page with that title.
struct PageTargets {
    int pageCount = 0;
    QHash<QString, int> pageOfTitle;
};

// The font of text that says nothing else, as on a new page of the authoring program.
QFont defaultPageFont();
// Point sizes of the heading levels 1..6, all bold.
int headingPointSize(int level);
// The face of code: a Japanese monospaced face.
QString codeFontFamily();

// Markdown (GitHub dialect). Pictures are files relative to `folder`, embedded as PNG or
// JPEG; links to "#N" or "#TITLE" become page links (a HYPERLINK field to "#N").
QByteArray markdownToRtf(const QString& markdown, const QString& folder, const PageTargets& targets,
                         QStringList& problems);

// HTML as the editor's paste takes it: what a page cannot store is already gone. Pictures are
// files relative to `folder`.
QByteArray htmlToRtf(const QString& html, const QString& folder, const PageTargets& targets,
                     QStringList& problems);

// Plain text: one paragraph per line, in the default font.
QByteArray plainTextToRtf(const QString& text);

// The page as the viewer reads it, written as Markdown for reading in a review.
QString rtfToMarkdown(QByteArrayView rtf);

} // namespace quillo::helpsource
