#include "maker/media/toolwindow.h"

#include "maker/common/windowgeometry.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace quillo::maker {

ToolWindow::ToolWindow(QWidget* mainWindow, DialogOffset& offset) : QWidget(mainWindow, Qt::Tool) {
    keepAtOffset(this, mainWindow, offset);
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace quillo::maker
