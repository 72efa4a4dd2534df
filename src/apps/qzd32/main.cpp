// qzd32: the help viewer. Its command line is the path of one help file, optionally after
// --page N, --title TEXT or --keyword TEXT (help opened at a topic).

#include "core/systemfile.h"
#include "viewer/helpchannel.h"
#include "viewer/viewerwindow.h"
#include "winsvc/appenv.h"
#include "winsvc/dialogs.h"
#include "winsvc/placement.h"

#include <QApplication>
#include <QFileInfo>

namespace {

const char Usage[] =
    "Usage: qzd32 [FILE.qzd]\n"
    "       qzd32 --page N | --title TEXT | --keyword TEXT FILE.qzd\n"
    "Shows a Quillo32 help file (.qzd) read-only, with its contents, keywords, search and\n"
    "printing. Applications start it with the path of their help file.\n"
    "\n"
    "Without a topic the whole command line is the one path: arguments are joined with single\n"
    "blanks, and a double quote at its start and one at its end are removed; a line that names\n"
    "an existing file as a whole is always that file. A file named like an option is opened as\n"
    "./--help.\n"
    "\n"
    "With a topic the file opens at that page, at the page with that contents title, or at the\n"
    "page with that keyword (the keyword list, when several pages have it); an unknown topic\n"
    "opens page 1. When a viewer already shows the file for this user on this display, that\n"
    "window comes to the front and shows the topic, and this call ends.\n"
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

    // A topic for a file a viewer already shows goes to that viewer; no second window opens.
    const auto line = quillo::viewer::parseViewerCommandLine(
        quillo::argumentsFromSystem(argc, argv),
        [](const QString& path) { return QFileInfo(path).isFile(); });
    if (line.topic.kind != quillo::viewer::HelpTopic::Kind::None &&
        quillo::viewer::HelpChannel::sendTopic(line.path, line.topic))
        return 0;

    quillo::QtDialogs dialogs;
    quillo::viewer::ViewerWindow window(dialogs);
    dialogs.placementHook().setTarget(&window);
    window.startUp(line.path);
    window.show();
    window.showTopic(line.topic);
    return QApplication::exec();
}
