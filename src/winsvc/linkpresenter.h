#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <functional>

class QMouseEvent;

namespace quillo {

class RichTextControl;

// Shows the links of a rich-text control as links: underlined in the palette's link colour
// (drawn over the text, never stored with it or printed), the hand pointer and the target as
// a tool tip over them, and a click that follows them. The viewer follows a plain click; the
// page editor a click with Ctrl held, so that a plain click still places the caret.
class LinkPresenter : public QObject {
    Q_OBJECT
public:
    enum class Follow { Click, ControlClick };
    LinkPresenter(RichTextControl& control, Follow follow);

    // How the tool tip names a target; the target itself when none is given.
    void setDescriber(std::function<QString(const QString& target)> describe) {
        m_describe = std::move(describe);
    }
    // The link target at a point of the control's viewport; empty when none.
    QString targetAt(const QPoint& viewportPoint) const;
    // The tool tip shown for the link under the pointer; empty when it is over none.
    QString toolTipText() const { return m_toolTip; }
    // Marks the links again now (the control shows them once its content settles).
    void refresh();

signals:
    void linkActivated(const QString& target);

private:
    void onMouseMove(QMouseEvent* event);
    void onMouseDown(QMouseEvent* event);
    void onMouseUp(QMouseEvent* event);
    bool wantsFollow(const QMouseEvent* event) const;

    RichTextControl& m_control;
    Follow m_follow;
    std::function<QString(const QString&)> m_describe;
    QTimer m_refreshTimer;
    QString m_pressedTarget;
    QString m_toolTip;
    bool m_handShown = false;
};

} // namespace quillo
