// qzd32: the help viewer. Its command line is the path of one help file.

#include "core/systemfile.h"
#include "viewer/viewerwindow.h"
#include "winsvc/appenv.h"
#include "winsvc/dialogs.h"
#include "winsvc/placement.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    if (quillo::printVersionIfAsked(argc, argv, "qzd32"))
        return 0;
    quillo::preferX11OnWayland();
    QApplication app(argc, argv);
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
