// qzd32: the help viewer. Its command line is the path of one help file.

#include "core/systemfile.h"
#include "viewer/viewerwindow.h"
#include "winsvc/appenv.h"
#include "winsvc/dialogs.h"
#include "winsvc/placement.h"

#include <QApplication>

namespace {

const char Usage[] =
    "Usage: qzd32 [FILE.qzd]\n"
    "Shows a Quillo32 help file (.qzd) read-only, with its contents, keywords, search and\n"
    "printing. Applications start it with the path of their help file.\n"
    "\n"
    "The whole command line is the one path: arguments are joined with single blanks, and a\n"
    "double quote at its start and one at its end are removed. A file named like an option\n"
    "is opened as ./--help.\n"
    "\n"
    "Options:\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Environment:\n"
    "  QT_QPA_PLATFORM   the window system to use (xcb, wayland, offscreen)\n"
    "  QUILLO_PRINT_DIR  the folder for PDF files when printing without a printer\n"
    "\n"
    "Exit codes: 0 closed normally, 1 no display was found.\n";

} // namespace

int main(int argc, char* argv[]) {
    if (const int code = quillo::beforeApplication(argc, argv, "qzd32", Usage); code >= 0)
        return code;
    QApplication app(argc, argv);
    quillo::applicationMade();
    quillo::installWindowAccessibility();
    QApplication::setApplicationName(QStringLiteral("Quillo32"));
    quillo::setProgramIdentity(QStringLiteral("qzd32"));
    quillo::installJapaneseFontSubstitutions();
    quillo::installJapaneseQtTranslations(app);

    quillo::QtDialogs dialogs;
    quillo::viewer::ViewerWindow window(dialogs);
    dialogs.placementHook().setTarget(&window);
    window.startUp(quillo::commandLinePath(quillo::argumentsFromSystem(argc, argv)));
    window.show();
    return QApplication::exec();
}
