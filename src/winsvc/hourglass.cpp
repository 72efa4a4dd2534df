#include "winsvc/hourglass.h"

#include <QApplication>
#include <QCursor>

namespace quillo {

Hourglass::Hourglass() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

Hourglass::~Hourglass() {
    release();
}

void Hourglass::release() {
    if (!m_shown)
        return;
    m_shown = false;
    QApplication::restoreOverrideCursor();
}

} // namespace quillo
