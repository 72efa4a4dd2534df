// Writes the largest document when asked to (--write <path>); otherwise starts like qzd32 on
// the given file and exits once the page text has been painted, printing the realtime clock
// in nanoseconds at that moment, so that a script can take the time from process start.
#include "common/maximumdocument.h"
#include "core/helpfile.h"
#include "viewer/viewerwindow.h"
#include "winsvc/appenv.h"
#include "winsvc/dialogs.h"
#include "winsvc/richtextcontrol.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

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

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QByteArray(argv[1]) == "--write") {
        auto doc = quillo::bench::maximumDocument();
        return quillo::saveHelpFile(QString::fromLocal8Bit(argv[2]), *doc).ok() ? 0 : 1;
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
