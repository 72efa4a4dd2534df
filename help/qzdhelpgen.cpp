// Builds a help file from a UTF-8 text source:
//
//   # a comment line
//   == page                  starts a page
//   title: 目次の見出し       the page's contents title (optional)
//   keywords: 語1, 語2        the page's keywords, separated by commas (optional)
//   h: 見出し                 a heading line
//   p: 本文                   a paragraph
//   b: 箇条書き               a bulleted paragraph
//   i: 字下げ                 an indented paragraph
//   (empty line)              an empty paragraph
//
// Page text is written as RTF in the form a rich-edit control keeps it (code page 932
// bytes as \'hh pairs, a font table with charset 128), so it reads like any other page.
//
// Usage: qzdhelpgen SOURCE OUTPUT
#include "core/cp932.h"
#include "core/helpfile.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

// ＭＳ Ｐゴシック in code page 932, then Symbol for the bullet character.
const char FontTable[] = "{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 "
                         "\\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}"
                         "{\\f1\\fnil\\fcharset2 Symbol;}}";
const char ColourTable[] = "{\\colortbl ;\\red0\\green0\\blue128;}";

// Text as RTF: ASCII as it is (with \, { and } escaped), every other character as its
// code page 932 bytes; false when a character has none.
bool appendEscaped(QByteArray& out, const QString& text) {
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c < 0x80) {
            out += char(c);
        } else {
            const quillo::cp932::Encoded encoded = quillo::cp932::encode(QString(ch));
            if (!encoded.ok())
                return false;
            for (const char byte : encoded.bytes)
                out +=
                    QByteArray("\\'") + QByteArray::number(uchar(byte), 16).rightJustified(2, '0');
        }
    }
    return true;
}

struct Page {
    QString title;
    QStringList keywords;
    QByteArray body;
};

bool appendParagraph(Page& page, QChar kind, const QString& text) {
    QByteArray& out = page.body;
    switch (kind.unicode()) {
    case u'h':
        out += "\\pard\\sa120\\cf1\\b\\f0\\fs28 ";
        break;
    case u'b':
        // As a rich-edit control writes a bullet: \\pard first, then the bullet groups.
        out += "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"
               "\\fi-200\\li400\\f0\\fs20 ";
        break;
    case u'i':
        out += "\\pard\\li400\\f0\\fs20 ";
        break;
    default:
        out += "\\pard\\f0\\fs20 ";
        break;
    }
    if (!appendEscaped(out, text))
        return false;
    out += kind == u'h' ? "\\cf0\\b0\\fs20\\par\r\n" : "\\par\r\n";
    return true;
}

QByteArray pageRtf(const Page& page) {
    return QByteArray("{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041") + FontTable +
           "\r\n" + ColourTable + "\r\n\\viewkind4\\uc1" + page.body + "}\r\n";
}

int fail(const QString& text) {
    std::fprintf(stderr, "qzdhelpgen: %s\n", text.toLocal8Bit().constData());
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3)
        return fail(QStringLiteral("usage: qzdhelpgen SOURCE OUTPUT"));
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read ") + source.fileName());
    QTextStream in(&source);
    QList<Page> pages;
    for (int lineNumber = 1; !in.atEnd(); ++lineNumber) {
        const QString line = in.readLine();
        const QString where = QStringLiteral("%1:%2: ").arg(source.fileName()).arg(lineNumber);
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QStringLiteral("=="))) {
            pages.append(Page());
            continue;
        }
        if (pages.isEmpty()) {
            if (line.trimmed().isEmpty())
                continue;
            return fail(where + QStringLiteral("text before the first page"));
        }
        Page& page = pages.last();
        if (line.trimmed().isEmpty()) {
            page.body += "\\pard\\f0\\fs20\\par\r\n";
        } else if (line.startsWith(QStringLiteral("title:"))) {
            page.title = line.mid(6).trimmed();
        } else if (line.startsWith(QStringLiteral("keywords:"))) {
            for (const QString& keyword : line.mid(9).split(QLatin1Char(','), Qt::SkipEmptyParts))
                page.keywords.append(keyword.trimmed());
        } else if (line.size() >= 2 && line[1] == QLatin1Char(':') &&
                   QStringLiteral("hpbi").contains(line[0])) {
            if (!appendParagraph(page, line[0], line.mid(2).trimmed()))
                return fail(where + QStringLiteral("a character code page 932 cannot hold"));
        } else {
            return fail(where + QStringLiteral("unknown line"));
        }
    }
    if (pages.isEmpty() || pages.size() > quillo::MaxPages)
        return fail(QStringLiteral("a help file holds 1 to 100 pages"));

    quillo::HelpDocument doc;
    doc.displaySettings.backColor = 0x00F8FFFF; // a light cream page
    doc.displaySettings.windowTop = 600;
    doc.displaySettings.windowLeft = 600;
    doc.displaySettings.windowHeight = 7200;
    doc.displaySettings.windowWidth = 10800;
    doc.displaySettings.listWidth = 2600;
    for (int i = 0; i < pages.size(); ++i) {
        const int number = i + 1;
        const Page& page = pages[i];
        if (page.keywords.size() > quillo::MaxKeywordsPerPage)
            return fail(QStringLiteral("page %1 has more than 64 keywords").arg(number));
        quillo::HelpPage& helpPage = doc.pages.emplace_back();
        if (!page.title.isEmpty())
            helpPage.title = page.title;
        helpPage.keywords = page.keywords;
        helpPage.rtf = pageRtf(page);
    }
    const quillo::WriteResult result = quillo::saveHelpFile(QString::fromLocal8Bit(argv[2]), doc);
    if (!result.ok())
        return fail(QStringLiteral("cannot write the help file: ") + result.reason());
    return 0;
}
