#include "qzdtool.h"
#include "sourcecommands.h"

#include "core/systemfile.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

namespace {

QtMessageHandler platformMessages = nullptr;

// The tool shows no window and keeps nothing at run time, so the platform's notice that the
// session has no runtime folder says nothing to its user.
void withoutRuntimeFolderNotice(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
    if (!message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        platformMessages(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = quillo::argumentsFromSystem(argc, argv);
    std::unique_ptr<QCoreApplication> app;
    if (needsTextEngine(args)) {
        // Qt's text engine needs a GUI application; without a window it needs no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        platformMessages = qInstallMessageHandler(withoutRuntimeFolderNotice);
        app = std::make_unique<QGuiApplication>(argc, argv);
        qInstallMessageHandler(platformMessages);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = runQzdtool(args, out, err);
    out.flush();
    err.flush();
    return code;
}
