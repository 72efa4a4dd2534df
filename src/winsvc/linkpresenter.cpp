#include "winsvc/linkpresenter.h"

#include "winsvc/richtextcontrol.h"

#include <QMouseEvent>
#include <QTextBlock>
#include <QToolTip>

namespace quillo {

LinkPresenter::LinkPresenter(RichTextControl& control, Follow follow)
    : QObject(&control), m_control(control), m_follow(follow) {
    // Marked once the content settles: a load or a typed character changes it many times.
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] {
        if (m_control.isLoading())
            return; // the load's last slice starts the timer again
        refresh();
    });
    connect(&control, &RichTextControl::contentChanged, &m_refreshTimer,
            qOverload<>(&QTimer::start));
    connect(&control, &RichTextControl::mouseMove, this, &LinkPresenter::onMouseMove);
    connect(&control, &RichTextControl::mouseDown, this, &LinkPresenter::onMouseDown);
    connect(&control, &RichTextControl::mouseUp, this, &LinkPresenter::onMouseUp);
}

void LinkPresenter::refresh() {
    m_refreshTimer.stop();
    // A new page under a still pointer: the tip and the hand of the old one go.
    if (!m_toolTip.isEmpty()) {
        m_toolTip.clear();
        QToolTip::hideText();
    }
    if (m_handShown) {
        m_handShown = false;
        m_control.viewport()->setCursor(Qt::IBeamCursor);
    }
    QList<QTextEdit::ExtraSelection> marks;
    const QTextDocument* doc = m_control.document();
    const QColor colour = m_control.palette().color(QPalette::Link);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isAnchor() || format.anchorHref().isEmpty())
                continue;
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(m_control.document());
            mark.cursor.setPosition(fragment.position());
            mark.cursor.setPosition(fragment.position() + fragment.length(),
                                    QTextCursor::KeepAnchor);
            mark.format.setForeground(colour);
            mark.format.setFontUnderline(true);
            marks.append(mark);
        }
    m_control.setExtraSelections(marks);
}

QString LinkPresenter::targetAt(const QPoint& viewportPoint) const {
    return m_control.anchorAt(viewportPoint);
}

bool LinkPresenter::wantsFollow(const QMouseEvent* event) const {
    return m_follow == Follow::Click || (event->modifiers() & Qt::ControlModifier);
}

void LinkPresenter::onMouseMove(QMouseEvent* event) {
    const QString target = targetAt(event->position().toPoint());
    const bool hand = !target.isEmpty() && wantsFollow(event) && event->buttons() == Qt::NoButton;
    if (hand != m_handShown) {
        m_handShown = hand;
        m_control.viewport()->setCursor(hand ? Qt::PointingHandCursor : Qt::IBeamCursor);
    }
    const QString tip = target.isEmpty() ? QString() : m_describe ? m_describe(target) : target;
    if (tip == m_toolTip)
        return;
    m_toolTip = tip;
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), tip, m_control.viewport());
}

void LinkPresenter::onMouseDown(QMouseEvent* event) {
    m_pressedTarget.clear();
    if (event->button() != Qt::LeftButton || !wantsFollow(event))
        return;
    m_pressedTarget = targetAt(event->position().toPoint());
    // In the editor a Ctrl+click on a link follows it and leaves the caret where it was.
    if (!m_pressedTarget.isEmpty() && m_follow == Follow::ControlClick)
        m_control.consumeEvent();
}

// A link is followed when the button goes up over the link it went down on, with no text
// selected by the drag between.
void LinkPresenter::onMouseUp(QMouseEvent* event) {
    const QString pressed = std::exchange(m_pressedTarget, QString());
    if (event->button() != Qt::LeftButton || pressed.isEmpty() ||
        targetAt(event->position().toPoint()) != pressed || m_control.textCursor().hasSelection())
        return;
    if (m_follow == Follow::ControlClick)
        m_control.consumeEvent();
    // Once the control has handled the release: following may load another page into it.
    QMetaObject::invokeMethod(
        this, [this, pressed] { emit linkActivated(pressed); }, Qt::QueuedConnection);
}

} // namespace quillo
