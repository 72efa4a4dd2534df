#pragma once

#include "core/helpdocument.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The HTML site of a help document: a frameset start page, a contents page and a keyword
// page that link one HTML file per help page. Plain logic over the document, no widgets, so
// that the authoring program and qzdtool write the same site.
namespace quillo::maker::html {

// What went wrong while writing the site: the file and the reason. Empty path: no error.
struct SiteError {
    QString path;
    int number = 0;  // file error number, 0 when the reason has none
    QString message; // the system's message
    bool reading = false;

    bool ok() const { return path.isEmpty(); }
    // The system's message, or "ERR = n" when there is none.
    QString reason() const;
    // One line for the command line: the file, what failed and why.
    QString line() const;
};

// The names of one site: the output folder and the base name every file starts with.
struct SiteFiles {
    QString folder;
    QString base;

    QString startPage() const;        // {base}_index.htm
    QString contentsPage() const;     // {base}_conts.htm
    QString keywordPage() const;      // {base}_keys.htm
    QString pageFile(int page) const; // {base}_{n}.htm
    QString rtfFile(int page) const;  // {base}_{n}.rtf, the page's text while it is converted
    QString path(const QString& fileName) const; // folder + "/" + fileName
};

// The file title up to its first "."; the whole title when it has none ("a.b.qzd" -> "a").
QString siteBaseName(const QString& fileTitle);
// The site of a help file title inside `programFolder`: base name + "_html".
SiteFiles siteFilesFor(const QString& programFolder, const QString& fileTitle);

// The page colour as six uppercase hexadecimal digits RRGGBB of a Windows colour value
// (0x00BBGGRR); nullopt for a system colour (top bit set), which gives the pages no colour.
std::optional<QString> pageColourText(quint32 windowsColour);

// The three navigation pages as their text: one line per template line, each ended by
// CR LF. `colour` is pageColourText's result. Titles, keywords and the base name are escaped
// for HTML; links to the site's files are URL-escaped (a base name "C#入門" links to
// "C%23入門_1.htm"). The keyword page lists keywords without their trailing blanks.
QString startPageText(const QString& base, int listWidth, const std::optional<QString>& colour);
QString contentsPageText(const HelpDocument& doc, const QString& base,
                         const std::optional<QString>& colour);
QString keywordPageText(const HelpDocument& doc, const QString& base,
                        const std::optional<QString>& colour);

// Encodes a navigation page in code page 932. A character that has no code there (a byte of a
// title that was no character, read as U+FFFD) is written as "?" and added to `substituted`
// once, so that the site is still made whole and the caller can say what changed.
QByteArray encodePage(const QString& text, QString* substituted);

// Writes the three navigation pages into the site's folder (which must exist), each whole or
// not at all: the start page, the contents page, the keyword page. The left frame's width is
// the document's list width; `pageColour` is a Windows colour value. Titles and keywords are
// written as text (& < > " as character references), links URL-escaped; characters written
// as "?" are added to `substituted`. Nothing standing in the folder leads a write out of it.
SiteError writeNavigationPages(const HelpDocument& doc, const SiteFiles& site, quint32 pageColour,
                               QString* substituted = nullptr);

} // namespace quillo::maker::html
