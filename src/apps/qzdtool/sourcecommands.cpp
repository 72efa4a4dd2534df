#include "sourcecommands.h"

#include "core/helpdocument.h"
#include "helpsource/helpsource.h"

#include <memory>

using namespace quillo;

namespace {

int report(const QStringList& problems, QTextStream& err) {
    for (const QString& problem : problems)
        err << problem << '\n';
    return problems.isEmpty() ? 0 : 1;
}

// unpack FILE.qzd DIR [--force] [--markdown]; the options may stand anywhere after the command.
int unpack(const QStringList& paths, const helpsource::UnpackOptions& options, QTextStream& err,
           const HelpFileLoader& load, const FormatTagReader& formatTagOf) {
    auto doc = std::make_unique<HelpDocument>();
    if (!load(paths[0], *doc))
        return 1;
    return report(helpsource::unpackHelpDocument(*doc, formatTagOf(paths[0]), paths[1], options),
                  err);
}

} // namespace

bool needsTextEngine(const QStringList& args) {
    return args.value(0) == QLatin1String("pack") || args.value(0) == QLatin1String("unpack") ||
           args.value(0) == QLatin1String("links");
}

int runSourceCommand(const QStringList& args, QTextStream& err, const HelpFileLoader& load,
                     const FormatTagReader& formatTagOf) {
    const QString command = args.value(0);
    if (command == QLatin1String("pack") && args.size() == 3)
        return report(helpsource::packHelpFolder(args[1], args[2]), err);
    if (command != QLatin1String("unpack"))
        return -1;
    helpsource::UnpackOptions options;
    QStringList paths;
    for (const QString& arg : args.mid(1)) {
        if (arg == QLatin1String("--force"))
            options.force = true;
        else if (arg == QLatin1String("--markdown"))
            options.markdownViews = true;
        else if (arg.startsWith(QLatin1String("--")))
            return -1;
        else
            paths << arg;
    }
    if (paths.size() != 2)
        return -1;
    return unpack(paths, options, err, load, formatTagOf);
}
