#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

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

// The open help document: fixed tables indexed by page number 1..MaxPages. Slot 0 of every
// table holds no page (the authoring program uses pageText[0] as scratch space).
struct HelpDocument {
    qint16 pageCount = 0;
    std::array<QByteArray, MaxPages + 1> pageText;   // RTF bytes as stored in the file
    std::array<qint16, MaxPages + 1> titleCount{};   // 0 or 1
    std::array<QString, MaxPages + 1> title;         // meaningful when titleCount is 1
    std::array<qint16, MaxPages + 1> keywordCount{}; // 0..MaxKeywordsPerPage
    std::array<std::array<QString, MaxKeywordsPerPage + 1>, MaxPages + 1> keywords; // slots 1..
    QString filePath;
    DisplaySettings displaySettings;

    // Empties every table, the path and the settings.
    void clear();
    // Empties one page slot: no text, no title, no keywords.
    void clearPage(int page);
    bool hasTitle(int page) const { return titleCount[page] == 1; }
};

// The part of a path after its last folder separator ("/" or "\").
QString fileTitleOf(const QString& path);
// The part before it, separator included; empty when the path has none.
QString fileDirectoryOf(const QString& path);

} // namespace quillo
