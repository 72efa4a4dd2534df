#pragma once

#include "core/helpdocument.h"
#include "core/helpfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The manifest of a help source folder (help.toml): everything of a help file that is not
// page text. It is TOML laid out for review: the format tag, a [display] table with the
// window settings, then one [[page]] block per page in page order, one keyword per line.
namespace quillo::helpsource {

inline constexpr char ManifestName[] = "help.toml";

struct ManifestPage {
    QString file;                 // the page's text, relative to the folder
    std::optional<QString> title; // absent: the page has no contents title
    QStringList keywords;
    QString view; // a rendering for review beside the page; never read by pack
    int line = 0; // line of the [[page]] header in the manifest, 0 when not read from one
};

struct Manifest {
    QString formatTag = QString::fromLatin1(FormatTag);
    DisplaySettings display;
    QList<ManifestPage> pages;
};

// The manifest's text: UTF-8, a fixed order and layout, so that the same manifest always gives
// the same bytes and a changed title or keyword is one changed line.
QByteArray writeManifest(const Manifest& manifest);

// Reads the manifest's text; each problem found is appended to `problems` as one line
// "help.toml:LINE: ...", in line order. The manifest holds what could be read; false when the
// text is not TOML at all.
bool readManifest(const QByteArray& text, Manifest& manifest, QStringList& problems);

} // namespace quillo::helpsource
