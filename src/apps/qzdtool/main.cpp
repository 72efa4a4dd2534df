#include "qzdtool.h"

#include "core/systemfile.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    // Pages written in Markdown or HTML go through Qt's text engine, which needs a GUI
    // application; the tool shows no window, so it needs no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = runQzdtool(quillo::argumentsFromSystem(argc, argv), out, err);
    out.flush();
    err.flush();
    return code;
}
