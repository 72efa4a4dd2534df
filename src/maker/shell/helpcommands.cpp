// The help menu's commands: the quick help boxes, the program's own help file in the viewer,
// the home page in the browser, and the version box.
#include "maker/common/shelltexts.h"
#include "maker/shell/mainwindow.h"
#include "maker/shell/shelllogic.h"
#include "viewer/viewertexts.h"
#include "winsvc/appenv.h"

#include <QFileInfo>

namespace quillo::maker {

void MakerMainWindow::showQuickHelp(const QString& text) {
    message(QStringLiteral("qzd32maker ヘルプ(H)"), text, Dialogs::Icon::Information);
}

void MakerMainWindow::openOwnHelp() {
    // The viewer reports a missing file itself, but only this window can say which.
    const int result = QFileInfo::exists(m_env.helpFile)
                           ? m_dialogs.shellOpen(m_env.viewerProgram, {m_env.helpFile})
                           : Dialogs::ShellFileNotFound;
    if (!Dialogs::shellOpenSucceeded(result))
        message(QStringLiteral("qzd32maker ヘルプ(H)"), helpStartErrorText(result),
                Dialogs::Icon::Information);
}

void MakerMainWindow::openHomePage() {
    const QString title = QStringLiteral("qzd32maker Mr.Vornｻｲﾄ");
    if (m_dialogs.ask(this, title, viewer::homePageQuestion(), Dialogs::Icon::Information,
                      Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    const int result = m_dialogs.shellOpen(QString::fromLatin1(viewer::HomePageUrl));
    if (!Dialogs::shellOpenSucceeded(result))
        message(QStringLiteral("qzd32maker MrVornﾎｰﾑﾍﾟｰｼﾞ"), viewer::homePageFailure(result),
                Dialogs::Icon::Information);
}

void MakerMainWindow::showVersion() {
    message(QStringLiteral("qzd32maker ヘルプ(H)"), versionText(computerName(), loginName()),
            Dialogs::Icon::Information);
}

} // namespace quillo::maker
