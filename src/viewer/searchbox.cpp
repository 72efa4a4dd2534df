#include "viewer/searchbox.h"

#include "viewer/viewertexts.h"
#include "winsvc/dialogs.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace quillo::viewer {

QString withoutTrailingLineBreak(QString text) {
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

SearchBox::SearchBox(Dialogs& dialogs, QWidget* parent, QString dropTitle)
    : QLineEdit(parent), m_dialogs(dialogs),
      m_dropTitle(dropTitle.isEmpty() ? dropTooLongTitle() : std::move(dropTitle)) {
    setAcceptDrops(true);
    connect(this, &QLineEdit::textChanged, this, &SearchBox::rememberSelection);
}

bool SearchBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll)) {
        event->ignore(); // the menu's shortcut takes it
        return true;
    }
    return QLineEdit::event(event);
}

void SearchBox::rememberSelection() {
    if (hasSelectedText()) {
        m_selStart = selectionStart();
        m_selLength = int(selectedText().size());
    } else {
        m_selStart = cursorPosition();
        m_selLength = 0;
    }
}

void SearchBox::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    rememberSelection();
}

void SearchBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    rememberSelection();
}

void SearchBox::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void SearchBox::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void SearchBox::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    // Copy, never move: the text stays where it was dragged from.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    dropText(event->mimeData()->text());
}

void SearchBox::dropText(const QString& dropped) {
    const QString current = text();
    const int start = qBound(0, m_selStart, int(current.size()));
    const int length = qBound(0, m_selLength, int(current.size()) - start);
    const int room = SearchTextLimit - int(current.size()) + length;
    QString insert = withoutTrailingLineBreak(dropped);
    if (insert.size() > room) {
        insert = withoutTrailingLineBreak(insert.left(qMax(room, 0)));
        if (m_dialogs.ask(this, m_dropTitle, dropTooLongQuestion(room), Dialogs::Icon::Information,
                          Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
            return;
    }
    setText(current.left(start) + insert + current.mid(start + length));
    setCursorPosition(start + int(insert.size()));
    setFocus();
    rememberSelection();
}

} // namespace quillo::viewer
