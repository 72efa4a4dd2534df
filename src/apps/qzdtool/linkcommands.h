#pragma once

#include "rtfcommands.h"

// qzdtool's command over the links of a help file's pages.

// Runs `links FILE.qzd` and returns the exit code: 0 when every page link names a page of
// the file, 1 when one does not or the file cannot be read; -1 when args are not for it.
int runLinkCommand(const QStringList& args, QTextStream& out, QTextStream& err,
                   const HelpFileLoader& load);
