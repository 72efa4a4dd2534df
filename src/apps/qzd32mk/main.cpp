// qzd32mk (Quillo32Maker): the authoring program. The splash window comes first; its timer
// brings up the main window, whose start-up may end the program at once.
#include "core/systemfile.h"
#include "maker/shell/mainwindow.h"
#include "maker/shell/splashwindow.h"
#include "winsvc/appenv.h"
#include "winsvc/dialogs.h"
#include "winsvc/placement.h"

#include <QApplication>
#include <QSessionManager>
#include <QTimer>

#include <memory>

namespace {

const char Usage[] =
    "Usage: qzd32mk [FILE.qzd]\n"
    "Quillo32Maker: writes help files (.qzd) of up to 100 rich-text pages with contents titles\n"
    "and keywords, previews them as the viewer qzd32 shows them, and exports them as HTML.\n"
    "\n"
    "The whole command line is the one path of the file to open: arguments are joined with\n"
    "single blanks, and a double quote at its start and one at its end are removed. A file\n"
    "named like an option is opened as ./--help.\n"
    "\n"
    "Options:\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Files:\n"
    "  qzd32mk.ini, qzd32mkf.ini  the settings and the recent-file list, in\n"
    "                             $XDG_CONFIG_HOME/quillo32 (~/.config/quillo32)\n"
    "  NAME_html/                 the HTML site of NAME.qzd, in $XDG_DATA_HOME/quillo32\n"
    "                             (~/.local/share/quillo32)\n"
    "  A program folder holding a file named quillo32-portable (a build tree or a portable\n"
    "  tree) keeps both beside the program when the user may write there.\n"
    "\n"
    "Environment:\n"
    "  QUILLO_HOME       one folder for the settings, the recent list and the HTML sites\n"
    "  QT_QPA_PLATFORM   the window system to use (xcb, wayland, offscreen)\n"
    "\n"
    "Exit codes: 0 closed normally, 1 no display was found or the start-up ended it.\n";

} // namespace

int main(int argc, char* argv[]) {
    if (const int code = quillo::beforeApplication(argc, argv, "qzd32mk", Usage); code >= 0)
        return code;
    QApplication app(argc, argv);
    quillo::applicationMade();
    quillo::installWindowAccessibility();
    QApplication::setApplicationName(QStringLiteral("qzd32mk"));
    quillo::setProgramIdentity(QStringLiteral("qzd32mk"));
    // The window decides when the program ends (its exit question may keep it open).
    QApplication::setQuitOnLastWindowClosed(false);

    // The splash window comes up as soon as the application exists: its timer runs while
    // the rest of the set-up below is done, and the window paints once the event loop runs.
    quillo::maker::SplashWindow splash;
    splash.show();

    quillo::installJapaneseFontSubstitutions();
    quillo::installJapaneseQtTranslations(app);
    const QString commandLine = quillo::commandLinePath(quillo::argumentsFromSystem(argc, argv));
    quillo::QtDialogs dialogs;
    quillo::maker::MakerEnvironment environment;
    environment.programFolder = quillo::settingsFolder();
    environment.outputFolder = quillo::outputFolder();
    environment.viewerProgram = quillo::findProgram(QStringLiteral("qzd32"));
    environment.helpFile = quillo::findResource(QStringLiteral("qzd32.qzd"));

    std::unique_ptr<quillo::maker::MakerMainWindow> window;
    // Building the main window's widgets reads and shows nothing, so it is done while the
    // splash window waits for its timer; the tick then only runs the start-up.
    const auto buildWindow = [&] {
        if (!window)
            window = std::make_unique<quillo::maker::MakerMainWindow>(dialogs, environment);
    };
    QObject::connect(&splash, &quillo::maker::SplashWindow::mainWindowWanted, &app, [&] {
        buildWindow();
        dialogs.placementHook().setTarget(window.get());
        QObject::connect(window.get(), &quillo::maker::MakerMainWindow::closed, &app,
                         &QCoreApplication::quit);
        const bool started = window->startUp(commandLine);
        splash.close();
        if (!started)
            QCoreApplication::exit(1);
    });
#ifndef QT_NO_SESSIONMANAGER
    // Logging out or shutting down closes the program through the same shutdown, with a
    // Yes/No question about unsaved changes; the session may not be cancelled from here.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [&](QSessionManager& manager) {
                         if (window && manager.allowsInteraction()) {
                             window->closeFromSystem();
                             manager.release();
                         }
                     });
#endif
    QTimer::singleShot(0, &app, buildWindow);
    return app.exec();
}
