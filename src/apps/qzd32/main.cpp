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

int main(int argc, char* argv[]) {
    if (quillo::printVersionIfAsked(argc, argv, "qzd32"))
        return 0;
    quillo::preferX11OnWayland();
    QApplication app(argc, argv);
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
