#include "winsvc/filedrops.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace quillo {

FileDrops::FileDrops(QWidget* window, Handler handler)
    : QObject(window), m_window(window), m_handler(std::move(handler)) {}

void FileDrops::watchAll() {
    watch(m_window);
    for (QWidget* child : m_window->findChildren<QWidget*>()) {
        if (!child->acceptDrops())
            continue;
        watch(child);
        // A scroll area's drops arrive at its viewport.
        if (auto* area = qobject_cast<QAbstractScrollArea*>(child))
            watch(area->viewport());
    }
}

void FileDrops::watch(QWidget* widget) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasUrls())
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        QStringList files;
        for (const QUrl& url : drop->mimeData()->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
        m_handler(files, qobject_cast<QWidget*>(watched), drop->position().toPoint());
    }
    return true;
}

} // namespace quillo
