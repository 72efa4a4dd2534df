#include "winsvc/inputdropper.h"

#include <QCoreApplication>
#include <QEvent>

namespace quillo {

InputDropper::InputDropper() {
    QCoreApplication::instance()->installEventFilter(this);
}

InputDropper::~InputDropper() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputDropper::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

} // namespace quillo
