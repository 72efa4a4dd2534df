#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <deque>

// A user in front of the X server the test runs on: xdotool moves the real pointer, presses
// real buttons and keys, and the program meets them through its window manager, as it
// meets a person's.
namespace x11user {

// Runs xdotool while the program keeps serving its events, so that a drag the program
// starts, or a box it shows, is served while the tool plays the input.
inline bool xdotool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForStarted())
        return false;
    while (tool.state() != QProcess::NotRunning) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

inline QStringList at(QPoint global) {
    return {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())};
}

inline bool click(QPoint global) {
    return xdotool(at(global) + QStringList{QStringLiteral("click"), QStringLiteral("1")});
}

inline bool key(const QString& name) {
    return xdotool({QStringLiteral("key"), name});
}

inline bool type(const QString& text) {
    return xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

// Presses the left button at `from`, moves in steps to `to` and lets go there: a drag as a
// hand makes it, its first move `firstStep` pixels long (a short one stays where the button
// went down, a long one leaves at once), slow enough for the program to follow the pointer.
inline bool drag(QPoint from, QPoint to, int firstStep = 16) {
    QStringList steps = at(from) + QStringList{QStringLiteral("mousedown"), QStringLiteral("1")};
    const QPoint start = from + (to.x() >= from.x() ? QPoint(firstStep, 0) : QPoint(-firstStep, 0));
    steps << QStringLiteral("sleep") << QStringLiteral("0.1") << at(start);
    constexpr int Steps = 6;
    for (int i = 1; i <= Steps; ++i) {
        const QPoint p = start + (to - start) * i / Steps;
        steps << QStringLiteral("sleep") << QStringLiteral("0.1") << at(p);
    }
    steps << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mouseup")
          << QStringLiteral("1");
    return xdotool(steps);
}

// Answers the program's message boxes as a user does once a box is up and has the keyboard:
// with a key (an xdotool key name) or with a click on one of its buttons. A box nobody
// expected is closed with Escape and counted.
class BoxAnswerer : public QObject {
public:
    struct Answer {
        QString key;
        QMessageBox::StandardButton button = QMessageBox::NoButton;
    };

    BoxAnswerer() {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(50);
    }

    void pressNext(const QString& keyName) { m_answers.push_back({keyName, {}}); }
    void clickNext(QMessageBox::StandardButton button) { m_answers.push_back({{}, button}); }

    // The texts of the boxes answered, in order.
    const QStringList& texts() const { return m_texts; }
    int unexpected() const { return m_unexpected; }
    bool done() const { return m_answers.empty(); }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == m_answered || !box->isActiveWindow())
            return;
        m_answered = box;
        m_texts << box->text();
        Answer answer{QStringLiteral("Escape"), QMessageBox::NoButton};
        if (m_answers.empty()) {
            ++m_unexpected;
        } else {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        if (QAbstractButton* b = box->button(answer.button))
            click(b->mapToGlobal(b->rect().center()));
        else
            key(answer.key);
    }

    QTimer m_timer;
    std::deque<Answer> m_answers;
    QStringList m_texts;
    QPointer<QMessageBox> m_answered;
    int m_unexpected = 0;
};

// Which widget a key reaches: the first one the key press is delivered to.
class KeyWitness : public QObject {
public:
    explicit KeyWitness(int key) : m_key(key) { qApp->installEventFilter(this); }
    ~KeyWitness() override { qApp->removeEventFilter(this); }
    QObject* receiver() const { return m_receiver; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_receiver && event->type() == QEvent::KeyPress && watched->isWidgetType() &&
            static_cast<QKeyEvent*>(event)->key() == m_key)
            m_receiver = watched;
        return false;
    }

private:
    int m_key;
    QPointer<QObject> m_receiver;
};

} // namespace x11user
