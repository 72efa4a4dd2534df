#include "rtf/pagelinks.h"

#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quillo::rtf {

namespace {

struct Run {
    int position;
    int length;
    QTextCharFormat format;
};

// The formatted runs that overlap [start, end), cut to that range.
QList<Run> runsIn(const QTextDocument& doc, int start, int end) {
    QList<Run> runs;
    for (QTextBlock block = doc.findBlock(start); block.isValid() && block.position() < end;
         block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from < to)
                runs.append({from, to - from, fragment.charFormat()});
        }
    return runs;
}

void applyFormat(QTextDocument& doc, const Run& run) {
    QTextCursor cursor(&doc);
    cursor.setPosition(run.position);
    cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(run.format);
}

void setTarget(QTextCharFormat& format, const QString& target) {
    if (target.isEmpty()) {
        format.setAnchor(false);
        format.clearProperty(QTextFormat::AnchorHref);
    } else {
        format.setAnchor(true);
        format.setAnchorHref(target);
    }
}

// Pages with no HYPERLINK field at all are never read into a document.
bool mayHoldLinks(QByteArrayView rtf) {
    return rtf.contains(QByteArrayView("HYPERLINK"));
}

// Nor, for renumbering, pages whose links are all web addresses: the writer puts a page
// link's target right after the field's name.
bool mayHoldPageLinks(QByteArrayView rtf) {
    return rtf.contains(QByteArrayView("HYPERLINK \"#"));
}

} // namespace

QString pageLinkTarget(int page) {
    return QStringLiteral("#%1").arg(page);
}

int linkedPage(const QString& target) {
    if (!target.startsWith(u'#') || target.size() < 2)
        return 0;
    bool ok = false;
    const int page = QStringView(target).mid(1).toInt(&ok);
    // Only the digits the program writes: "#+3" or "# 3" is no page.
    if (!ok || page < 1 || !target.at(1).isDigit())
        return 0;
    return page;
}

bool isWebAddress(const QString& target) {
    for (const QLatin1String scheme :
         {QLatin1String("http://"), QLatin1String("https://"), QLatin1String("mailto:")})
        if (target.startsWith(scheme, Qt::CaseInsensitive) && target.size() > scheme.size() &&
            !target.contains(u' '))
            return true;
    return false;
}

QList<PageLink> linksOf(const QTextDocument& doc) {
    QList<PageLink> links;
    for (const Run& run : runsIn(doc, 0, doc.characterCount())) {
        if (!run.format.isAnchor() || run.format.anchorHref().isEmpty())
            continue;
        const QString target = run.format.anchorHref();
        if (!links.isEmpty() && links.last().target == target &&
            links.last().position + links.last().length == run.position) {
            links.last().length += run.length;
            continue;
        }
        links.append({run.position, run.length, QString(), target});
    }
    for (PageLink& link : links) {
        QTextCursor cursor(const_cast<QTextDocument*>(&doc));
        cursor.setPosition(link.position);
        cursor.setPosition(link.position + link.length, QTextCursor::KeepAnchor);
        link.text = cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
    }
    return links;
}

QList<PageLink> linksOf(QByteArrayView rtf) {
    if (!mayHoldLinks(rtf))
        return {};
    QTextDocument doc;
    readRtf(rtf, doc);
    return linksOf(doc);
}

void setLink(const QTextCursor& cursor, const QString& target) {
    QTextDocument& doc = *cursor.document();
    const QList<Run> runs = runsIn(doc, cursor.selectionStart(), cursor.selectionEnd());
    QTextCursor edit(&doc);
    edit.beginEditBlock();
    for (Run run : runs) {
        setTarget(run.format, target);
        applyFormat(doc, run);
    }
    edit.endEditBlock();
}

bool renumberPageLinks(QTextDocument& doc, const std::function<int(int)>& newPage) {
    QList<Run> changed;
    for (Run run : runsIn(doc, 0, doc.characterCount())) {
        const int page = run.format.isAnchor() ? linkedPage(run.format.anchorHref()) : 0;
        if (page == 0)
            continue;
        const int renumbered = newPage(page);
        if (renumbered == page)
            continue;
        setTarget(run.format, renumbered > 0 ? pageLinkTarget(renumbered) : QString());
        changed.append(run);
    }
    for (const Run& run : changed)
        applyFormat(doc, run);
    return !changed.isEmpty();
}

QByteArray renumberPageLinks(const QByteArray& rtf, const std::function<int(int)>& newPage) {
    if (!mayHoldPageLinks(rtf))
        return rtf;
    QTextDocument doc;
    readRtf(rtf, doc);
    return renumberPageLinks(doc, newPage) ? writeRtf(doc) : rtf;
}

} // namespace quillo::rtf
