#pragma once

#include <QObject>
#include <QPoint>
#include <QStringList>

#include <functional>

class QWidget;

namespace quillo {

// Files dragged from a file manager onto a window. Watched widgets take any dragged list of
// addresses (the cursor shows a copy) and hand the dropped files to the window's handler;
// such a list never reaches the widget underneath, so a text box or the page never types
// the addresses as text. Other drags (text, rich text) reach the widgets as before.
class FileDrops : public QObject {
    Q_OBJECT
public:
    // `files`: the dropped local files, in the order given (empty when only web addresses
    // were dropped); `target`: the watched widget under the pointer; `position`: the drop
    // point in its coordinates.
    using Handler = std::function<void(const QStringList& files, QWidget* target, QPoint position)>;

    FileDrops(QWidget* window, Handler handler);

    // Watches the window and every widget inside it that takes drops now.
    void watchAll();
    void watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    Handler m_handler;
};

} // namespace quillo
