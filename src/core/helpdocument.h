#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace quillo {

constexpr int MaxPages = 100;
constexpr int MaxKeywordsPerPage = 64;
constexpr int MaxEntryLength = 32; // characters of a contents title or keyword as entered

// How the viewer window shows a document; stored in the help file's header.
struct DisplaySettings {
    qint32 backColor = qint32(0x80000005u); // Windows colour value; system colour "window"
    qint16 windowTop = 0;                   // twips
    qint16 windowLeft = 0;
    qint16 windowHeight = 0;
    qint16 windowWidth = 0;
    qint16 listWidth = 0;
    qint16 topmost = 0;     // 1: keep in front
    qint16 windowState = 0; // 0 normal, 2 maximised

    // Replaces values below their minimum by the defaults, as every write does.
    void applyWriteDefaults();

    bool operator==(const DisplaySettings&) const = default;
};

// One page of a help document: its RTF as stored in the file, its contents title (a page
// may have none) and its keywords in the order they were given.
struct HelpPage {
    QByteArray rtf;
    std::optional<QString> title;
    QStringList keywords; // at most MaxKeywordsPerPage

    bool hasTitle() const { return title.has_value(); }
    bool isEmpty() const { return rtf.isEmpty() && !title && keywords.isEmpty(); }
    bool operator==(const HelpPage&) const = default;
};

// The open help document: its pages in order (page n is pages[n - 1]), the path it was read
// from or saved to, and how the viewer shows it.
struct HelpDocument {
    QList<HelpPage> pages;
    QString filePath;
    DisplaySettings displaySettings;

    int pageCount() const { return int(pages.size()); }
    // Page by its 1-based number; the number must be in 1..pageCount().
    HelpPage& page(int number) { return pages[number - 1]; }
    const HelpPage& page(int number) const { return pages[number - 1]; }
    bool hasPage(int number) const { return number >= 1 && number <= pageCount(); }

    // Empties the pages, the path and the settings.
    void clear();
};

// The part of a path after its last folder separator ("/" or "\").
QString fileTitleOf(const QString& path);
// The part before it, separator included; empty when the path has none.
QString fileDirectoryOf(const QString& path);

} // namespace quillo
