#include "qzdtool.h"

#include "core/systemfile.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = runQzdtool(quillo::argumentsFromSystem(argc, argv), out, err);
    out.flush();
    err.flush();
    return code;
}
