// Writes the largest document when asked to (--write <path>), or a Qt help project of its
// pages and keywords for Qt Assistant (--write-qhp <path> <page prefix>: page N is the file
// "<prefix>_N.htm" beside the project, as `qzdtool export-html` names it); otherwise starts
// like qzd32 on the given file and exits once the page text has been painted, printing the
// realtime clock in nanoseconds at that moment, so that a script can take the time from
// process start.
#include "common/maximumdocument.h"
#include "core/helpfile.h"
#include "viewer/viewerwindow.h"
#include "winsvc/appenv.h"
#include "winsvc/dialogs.h"
#include "winsvc/richtextcontrol.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QXmlStreamWriter>

#include <chrono>
#include <cstdio>

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done) {
            done = true;
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::printf("%lld\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
    bool done = false;
};

// The pages with their contents titles and keywords, as a Qt help project whose start page
// is page 1.
bool writeHelpProject(const quillo::HelpDocument& doc, const QString& path, const QString& prefix) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto pageFile = [&](int page) {
        return QStringLiteral("%1_%2.htm").arg(prefix).arg(page);
    };
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("QtHelpProject"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    xml.writeTextElement(QStringLiteral("namespace"), QStringLiteral("org.quillo.maximum"));
    xml.writeTextElement(QStringLiteral("virtualFolder"), QStringLiteral("doc"));
    xml.writeStartElement(QStringLiteral("filterSection"));
    xml.writeStartElement(QStringLiteral("toc"));
    for (int p = 1; p <= doc.pageCount(); ++p) {
        xml.writeEmptyElement(QStringLiteral("section"));
        xml.writeAttribute(QStringLiteral("title"), doc.page(p).title.value_or(QString()));
        xml.writeAttribute(QStringLiteral("ref"), pageFile(p));
    }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("keywords"));
    for (int p = 1; p <= doc.pageCount(); ++p)
        for (const QString& keyword : doc.page(p).keywords) {
            xml.writeEmptyElement(QStringLiteral("keyword"));
            xml.writeAttribute(QStringLiteral("name"), keyword);
            xml.writeAttribute(QStringLiteral("ref"), pageFile(p));
        }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("files"));
    for (int p = 1; p <= doc.pageCount(); ++p)
        xml.writeTextElement(QStringLiteral("file"), pageFile(p));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError() && file.flush();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QByteArray(argv[1]) == "--write") {
        auto doc = quillo::bench::maximumDocument();
        return quillo::saveHelpFile(QString::fromLocal8Bit(argv[2]), *doc).ok() ? 0 : 1;
    }
    if (argc == 4 && QByteArray(argv[1]) == "--write-qhp") {
        auto doc = quillo::bench::maximumDocument();
        return writeHelpProject(*doc, QString::fromLocal8Bit(argv[2]),
                                QString::fromLocal8Bit(argv[3]))
                   ? 0
                   : 1;
    }
    quillo::preferX11OnWayland();
    QApplication app(argc, argv);
    quillo::installJapaneseFontSubstitutions();
    quillo::QtDialogs dialogs;
    quillo::viewer::ViewerWindow window(dialogs);
    FirstPaint firstPaint;
    window.findChild<quillo::RichTextControl*>(QStringLiteral("RichTextBox2"))
        ->viewport()
        ->installEventFilter(&firstPaint);
    window.startUp(quillo::commandLinePath(QApplication::arguments().mid(1)));
    window.show();
    return QApplication::exec();
}
