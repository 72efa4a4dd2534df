#pragma once

#include "htmlsite.h"

namespace quillo::maker::html {

// Converts one RTF file to one HTML page (UTF-8) at `htmlPath`. Its pictures go into a folder
// beside it named after the page + "_files" ("manual_3_files/image1.png") and are written
// before the page that links to them; every file is written whole or not at all. Nothing
// standing in the page's folder (a link at the page's name or at the pictures' folder) leads
// the conversion to write outside that folder.
SiteError convertRtfFile(const QString& rtfPath, const QString& htmlPath, const QString& title);

// How far a run of page conversions came.
struct ConversionRun {
    SiteError error;
    int converted = 0;  // pages whose result was written
    QString resultPath; // result of the page being converted when the run stopped
    bool ok() const { return error.ok(); }
};

// Converts pages first..last (1-based, first <= last, all within the document) into the
// site's folder, in page order: each page's text is written to {base}_{n}.rtf beside its
// result, converted to {base}_{n}.htm and the .rtf removed. Stops at the first failure;
// pages converted before it keep their results. Writes, reads and removes nothing outside the
// site's folder (see SiteFolder).
ConversionRun convertPages(const HelpDocument& doc, const SiteFiles& site, int first, int last);

} // namespace quillo::maker::html
