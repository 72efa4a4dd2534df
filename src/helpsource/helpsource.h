#pragma once

#include "core/helpdocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A help file kept as a folder of text: help.toml (see manifest.h) and one file per page
// under pages/. Unpacking writes every page's RTF as stored; packing takes pages written as
// RTF, Markdown, HTML or plain text and builds the help file.
namespace quillo::helpsource {

// Page files of a folder are pages/NNN.EXT; unpacking with force replaces exactly these.
bool isPageFileName(const QString& fileName);
// The page file of page n as unpacking names it, with the given extension.
QString pageFileName(int page, const char* extension);

struct UnpackOptions {
    bool force = false;         // unpack into a folder that is not empty
    bool markdownViews = false; // a read-only Markdown rendering beside each page, for reviews
};

// Writes the document's manifest and pages into `folder` (made when missing). A folder that is
// not empty is refused unless options.force; then only the manifest and the page files are
// replaced. Returns one line per problem; empty when everything was written.
QStringList unpackHelpDocument(const HelpDocument& doc, const QString& formatTag,
                               const QString& folder, const UnpackOptions& options);

struct PackResult {
    QByteArray bytes;     // the help file, when there are no problems
    QStringList problems; // one line each, "help.toml:LINE: ..." or "pages/003.md: ..."
    bool ok() const { return problems.isEmpty(); }
};

// Builds the help file from the folder. Every limit of the format is checked first; with any
// problem no bytes are given. The same folder always gives the same bytes.
PackResult buildHelpFile(const QString& folder);

// Builds the help file and writes it atomically to `out`; nothing is written when there are
// problems. Returns one line per problem.
QStringList packHelpFolder(const QString& folder, const QString& out);

} // namespace quillo::helpsource
