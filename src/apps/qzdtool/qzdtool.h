#pragma once

#include <QStringList>
#include <QTextStream>

// The command-line tool over help files; returns the process exit code
// (0 done, 1 failure, 2 usage error).
int runQzdtool(const QStringList& args, QTextStream& out, QTextStream& err);
