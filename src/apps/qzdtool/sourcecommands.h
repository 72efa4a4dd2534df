#pragma once

#include "rtfcommands.h"

#include <QStringList>
#include <QTextStream>

#include <functional>

// qzdtool's commands over help source folders: unpack and pack.
using FormatTagReader = std::function<QString(const QString& path)>;

// Whether the command turns pages into or out of rich text, which takes a GUI application.
bool needsTextEngine(const QStringList& args);

// Runs the command when args name unpack or pack with fitting arguments and returns the exit
// code (0 done, 1 failure); returns -1 when args are not for these commands.
int runSourceCommand(const QStringList& args, QTextStream& err, const HelpFileLoader& load,
                     const FormatTagReader& formatTagOf);
