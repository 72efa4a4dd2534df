#include "qzdtool.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = runQzdtool(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
