// Files dropped on the authoring window from a file manager.
#include "maker/media/imagewindow.h"
#include "maker/shell/mainwindow.h"
#include "winsvc/filedrops.h"
#include "winsvc/richtextcontrol.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace quillo::maker {

namespace {

bool isHelpFile(const QString& path) {
    return path.endsWith(QLatin1String(".qzd"), Qt::CaseInsensitive);
}

bool isPictureFile(const QString& path) {
    return QFileInfo(path).isFile() && !QImageReader::imageFormat(path).isEmpty();
}

} // namespace

void MakerMainWindow::watchFileDrops() {
    auto* drops =
        new FileDrops(this, [this](const QStringList& files, QWidget* target, QPoint position) {
            filesDropped(files, target, position);
        });
    drops->watchAll();
}

void MakerMainWindow::filesDropped(const QStringList& files, QWidget* target, QPoint position) {
    if (files.size() == 1 && isHelpFile(files.first())) {
        openFile(files.first());
        return;
    }
    if (!files.isEmpty() && std::all_of(files.cbegin(), files.cend(), isPictureFile)) {
        if (target == m_editor->viewport())
            m_editor->setTextCursor(m_editor->cursorForPosition(position));
        for (const QString& file : files)
            if (!embedPictureFile(imageParts(), this, file))
                break;
        return;
    }
    const QString shown =
        files.isEmpty() ? QStringLiteral("ｲﾝﾀｰﾈｯﾄ上のﾌｧｲﾙ") : QFileInfo(files.first()).fileName();
    message(QStringLiteral("qzd32Maker ﾄﾞﾛｯﾌﾟ"),
            shown + QStringLiteral("\nこのﾌｧｲﾙは開けません。Quilloﾌｧｲﾙ（*.qzd）1つか"
                                   "画像ﾌｧｲﾙをﾄﾞﾛｯﾌﾟしてください。"),
            Dialogs::Icon::Information);
}

} // namespace quillo::maker
