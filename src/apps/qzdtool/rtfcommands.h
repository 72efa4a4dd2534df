#pragma once

#include <QStringList>
#include <QTextStream>

#include <functional>

namespace quillo {
struct HelpDocument;
}

// qzdtool's commands over page RTF: text, rtf2text, rtf2html and export-html.
using HelpFileLoader = std::function<bool(const QString& path, quillo::HelpDocument& doc)>;

// Runs the command when args name one of these commands with fitting arguments and returns
// the exit code (0 done, 1 failure); returns -1 when args are not for these commands.
int runRtfCommand(const QStringList& args, QTextStream& out, QTextStream& err,
                  const HelpFileLoader& load);

// One line per page whose RTF is damaged ("page 3: ..."); empty when every page reads cleanly.
QStringList pageRtfProblems(const quillo::HelpDocument& doc);
