// Writes the benchmark corpus as page001.rtf ... page100.rtf and large.rtf into a folder.
#include "corpus.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rtf_corpus FOLDER\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    dir.mkpath(QStringLiteral("."));
    const QList<QByteArray> pages = quillo::bench::corpusPages();
    qsizetype total = 0;
    for (int i = 0; i < pages.size(); ++i) {
        QFile f(dir.filePath(QStringLiteral("page%1.rtf").arg(i + 1, 3, 10, QChar(u'0'))));
        if (!f.open(QIODevice::WriteOnly) || f.write(pages[i]) != pages[i].size())
            return 1;
        total += pages[i].size();
    }
    QFile large(dir.filePath(QStringLiteral("large.rtf")));
    if (!large.open(QIODevice::WriteOnly) || large.write(quillo::bench::largePage()) < 0)
        return 1;
    std::printf("%lld pages, %lld bytes\n", static_cast<long long>(pages.size()),
                static_cast<long long>(total));
    return 0;
}
