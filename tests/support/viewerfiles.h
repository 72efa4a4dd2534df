#pragma once

#include "core/helpdocument.h"
#include "core/helpfile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>

// Help files for the viewer's tests: plain pages, saved display settings, file bytes.
namespace quillo::test {

// A page whose plain text is `text` (ASCII).
inline QByteArray plainPageRtf(const QString& text) {
    return "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\f0\\fs20 " +
           text.toLatin1() + "\\par\r\n}\r\n";
}

// A document of plain pages whose window was saved at 1500, 1500, 5400 x 7500 twips with
// lists 2000 wide.
inline std::unique_ptr<HelpDocument> documentOf(const QStringList& pages) {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(pages.size());
    for (int p = 1; p <= pages.size(); ++p)
        doc->page(p).rtf = plainPageRtf(pages[p - 1]);
    DisplaySettings& s = doc->displaySettings;
    s.windowTop = 1500;
    s.windowLeft = 1500;
    s.windowHeight = 5400;
    s.windowWidth = 7500;
    s.listWidth = 2000;
    return doc;
}

inline QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline DisplaySettings settingsIn(const QString& path) {
    HelpDocument doc;
    readHelpFile(path, doc, Reader::Viewer);
    return doc.displaySettings;
}

} // namespace quillo::test
