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

#include <memory>

int main(int argc, char* argv[]) {
    if (quillo::printVersionIfAsked(argc, argv, "qzd32mk"))
        return 0;
    quillo::preferX11OnWayland();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qzd32mk"));
    quillo::setProgramIdentity(QStringLiteral("qzd32mk"));
    quillo::installJapaneseFontSubstitutions();
    quillo::installJapaneseQtTranslations(app);
    // The window decides when the program ends (its exit question may keep it open).
    QApplication::setQuitOnLastWindowClosed(false);

    const QString commandLine = quillo::commandLinePath(quillo::argumentsFromSystem(argc, argv));
    quillo::QtDialogs dialogs;
    quillo::maker::MakerEnvironment environment;
    environment.programFolder = quillo::programFolder();
    environment.viewerProgram = quillo::findProgram(QStringLiteral("qzd32"));
    environment.helpFile = quillo::findResource(QStringLiteral("qzd32.qzd"));

    quillo::maker::SplashWindow splash;
    std::unique_ptr<quillo::maker::MakerMainWindow> window;
    QObject::connect(&splash, &quillo::maker::SplashWindow::mainWindowWanted, &app, [&] {
        window = std::make_unique<quillo::maker::MakerMainWindow>(dialogs, environment);
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
    splash.show();
    return app.exec();
}
