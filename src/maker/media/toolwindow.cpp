#include "maker/media/toolwindow.h"

#include "maker/common/windowgeometry.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace quillo::maker {

ToolWindow::ToolWindow(QWidget* mainWindow, DialogOffset& offset)
    : QWidget(mainWindow, Qt::Tool), m_main(mainWindow), m_offset(offset) {}

void ToolWindow::placeAtOffset() {
    adjustSize();
    quillo::maker::placeAtOffset(this, m_main, m_offset);
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
    storeOffset(this, m_main, m_offset);
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace quillo::maker
