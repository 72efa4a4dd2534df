#include "helpsource/pagesource.h"

#include "rtf/picture.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "rtf/storable.h"
#include "rtf/units.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <vector>

namespace quillo::helpsource {
namespace {

// Point size of body text; the heading sizes step up from it.
constexpr int BodyPointSize = 9;

// The widest a table of a Markdown page is made: the text area of the viewer's window at its
// default size (9000 twips less the 2000 of its lists), with a margin.
constexpr int MaxTableTwips = 6500;

void prepare(QTextDocument& doc) {
    doc.setUndoRedoEnabled(false);
    doc.setDefaultFont(defaultPageFont());
}

// The code font when Qt's Markdown reader marked the text as code (it gives code the system's
// fixed font and the fixed-pitch flag).
bool isCode(const QTextCharFormat& format) {
    return format.fontFixedPitch();
}

// Qt's Markdown reader states headings as a block heading level with a size relative to the
// default font, and code as the system's fixed font; the page RTF carries faces and point
// sizes only, so every run gets its face, size and weight stated outright.
void stateFontsOutright(QTextDocument& doc) {
    struct Run {
        int from;
        int to;
        QTextCharFormat format;
    };
    std::vector<Run> runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        const bool heading = level >= 1 && level <= 6;
        const bool codeBlock = block.blockFormat().hasProperty(QTextFormat::BlockCodeFence) ||
                               block.blockFormat().nonBreakableLines();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat())
                continue;
            const bool code = codeBlock || isCode(format);
            format.clearProperty(QTextFormat::FontSizeAdjustment);
            format.clearProperty(QTextFormat::FontFixedPitch);
            format.clearProperty(QTextFormat::FontPixelSize);
            format.setFontFamilies(
                QStringList{code ? codeFontFamily() : defaultPageFont().families().first()});
            format.setFontPointSize(heading ? headingPointSize(level) : BodyPointSize);
            if (heading)
                format.setFontWeight(QFont::Bold);
            runs.push_back({fragment.position(), fragment.position() + fragment.length(), format});
        }
    }
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    for (const Run& run : runs) {
        cursor.setPosition(run.from);
        cursor.setPosition(run.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.format);
    }
    cursor.endEditBlock();
}

// The width the text of a table cell takes on one line, in pixels: its widest paragraph.
qreal cellTextWidth(const QTextTableCell& cell) {
    qreal widest = 0;
    for (auto frame = cell.begin(); !frame.atEnd(); ++frame) {
        const QTextBlock block = frame.currentBlock();
        qreal width = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            width += QFontMetricsF(it.fragment().charFormat().font())
                         .horizontalAdvance(it.fragment().text());
        widest = std::max(widest, width);
    }
    return widest;
}

// Qt's Markdown reader leaves the column widths of a table to the layout. Each column gets the
// width of its widest cell on one line here, the table at most MaxTableTwips (wider columns
// give up their share), so that the RTF writer need not lay the page out to measure them.
void sizeTableColumns(QTextDocument& doc) {
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        const qreal extra = 2 * format.cellPadding() + 3; // padding, borders, a pixel to spare
        std::vector<qreal> widths(size_t(table->columns()), 0);
        for (int r = 0; r < table->rows(); ++r)
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.column() == c && cell.columnSpan() == 1)
                    widths[size_t(c)] = std::max(widths[size_t(c)], cellTextWidth(cell) + extra);
            }
        qreal total = 0;
        for (qreal w : widths)
            total += w;
        const qreal most = rtf::twipsToPixels(MaxTableTwips);
        QList<QTextLength> constraints;
        for (qreal w : widths)
            constraints << QTextLength(QTextLength::FixedLength,
                                       std::ceil(total > most ? w * most / total : w));
        format.setColumnWidthConstraints(constraints);
        table->setFormat(format);
    }
}

// Positions of the pictures, last first, so that replacing one leaves the others in place.
std::vector<std::pair<int, QString>> picturesLastFirst(const QTextDocument& doc) {
    std::vector<std::pair<int, QString>> pictures;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                for (int i = 0; i < it.fragment().length(); ++i)
                    pictures.emplace_back(it.fragment().position() + i,
                                          it.fragment().charFormat().toImageFormat().name());
    std::reverse(pictures.begin(), pictures.end());
    return pictures;
}

// Each picture named by a path relative to the page is replaced by the picture file's data,
// so that the page carries it; a picture that cannot be read is a problem.
void embedPictures(QTextDocument& doc, const QString& folder, QStringList& problems) {
    QStringList found;
    for (const auto& [position, name] : picturesLastFirst(doc)) {
        const QUrl url(name);
        QString problem;
        QByteArray data;
        if (name.isEmpty() || (!url.isRelative() && !url.isLocalFile()) ||
            QDir::isAbsolutePath(name)) {
            problem =
                QStringLiteral("picture \"%1\": give a file path relative to the page").arg(name);
        } else {
            QFile file(QDir(folder).filePath(QUrl::fromPercentEncoding(name.toUtf8())));
            if (!file.open(QIODevice::ReadOnly))
                problem = QStringLiteral("picture \"%1\" cannot be read (%2)")
                              .arg(name, file.errorString());
            else
                data = file.readAll();
        }
        QTextCursor cursor(&doc);
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        const QTextCharFormat around = cursor.charFormat();
        cursor.removeSelectedText();
        cursor.setCharFormat(around);
        if (problem.isEmpty() && !rtf::insertPicture(cursor, data))
            problem = QStringLiteral("picture \"%1\" is not an image file").arg(name);
        if (!problem.isEmpty())
            found.prepend(problem);
    }
    problems << found;
}

// Links to "#N" or "#TITLE" become links to page N; other links are left as they are.
void resolvePageLinks(QTextDocument& doc, const PageTargets& targets, QStringList& problems) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            const QString href = format.anchorHref();
            if (!format.isAnchor() || !href.startsWith(u'#'))
                continue;
            const QString target = QUrl::fromPercentEncoding(href.mid(1).toUtf8());
            bool isNumber = false;
            int page = target.toInt(&isNumber);
            if (!isNumber)
                page = targets.pageOfTitle.value(target, 0);
            if (page < 1 || page > targets.pageCount) {
                problems << (isNumber ? QStringLiteral("link to page %1: the help has %2 pages")
                                            .arg(target)
                                            .arg(targets.pageCount)
                                      : QStringLiteral("link to \"#%1\": no page has that title")
                                            .arg(target));
                continue;
            }
            format.setAnchorHref(QStringLiteral("#%1").arg(page));
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
}

} // namespace

QFont defaultPageFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック")});
    font.setPointSize(BodyPointSize);
    return font;
}

int headingPointSize(int level) {
    static constexpr int sizes[] = {16, 14, 12, 11, 10, 9};
    return sizes[std::clamp(level, 1, 6) - 1];
}

QString codeFontFamily() {
    return QStringLiteral("ＭＳ ゴシック");
}

QByteArray markdownToRtf(const QString& markdown, const QString& folder, const PageTargets& targets,
                         QStringList& problems) {
    QTextDocument doc;
    prepare(doc);
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    stateFontsOutright(doc);
    sizeTableColumns(doc);
    embedPictures(doc, folder, problems);
    resolvePageLinks(doc, targets, problems);
    return rtf::writeRtf(doc);
}

QByteArray htmlToRtf(const QString& html, const QString& folder, const PageTargets& targets,
                     QStringList& problems) {
    QTextDocument page;
    prepare(page);
    page.setBaseUrl(QUrl::fromLocalFile(QDir(folder).absolutePath() + QLatin1Char('/')));
    const QTextDocumentFragment pasted = QTextDocumentFragment::fromHtml(html, &page);
    // A paste leaves out pictures it cannot show; a page file names only pictures it means.
    QTextDocument probe;
    QTextCursor(&probe).insertFragment(pasted);
    const auto pictures = picturesLastFirst(probe);
    for (auto it = pictures.rbegin(); it != pictures.rend(); ++it)
        if (page.resource(QTextDocument::ImageResource, QUrl(it->second)).isNull())
            problems << QStringLiteral("picture \"%1\" cannot be read").arg(it->second);
    QTextCursor(&page).insertFragment(
        rtf::storableFragment(pasted, page, defaultPageFont().families().first()));
    resolvePageLinks(page, targets, problems);
    return rtf::writeRtf(page);
}

QByteArray plainTextToRtf(const QString& text) {
    QTextDocument doc;
    prepare(doc);
    QTextCharFormat format;
    format.setFontFamilies(defaultPageFont().families());
    format.setFontPointSize(BodyPointSize);
    QTextCursor cursor(&doc);
    cursor.setCharFormat(format);
    QString lines = text;
    lines.remove(u'\r');
    if (lines.endsWith(u'\n'))
        lines.chop(1);
    cursor.insertText(lines, format);
    return rtf::writeRtf(doc);
}

QString rtfToMarkdown(QByteArrayView rtf) {
    QTextDocument doc;
    prepare(doc);
    rtf::readRtf(rtf, doc);
    return doc.toMarkdown(QTextDocument::MarkdownDialectGitHub);
}

} // namespace quillo::helpsource
