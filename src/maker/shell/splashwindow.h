#pragma once

#include <QTimer>
#include <QWidget>

namespace quillo::maker {

// `qzd32mk_asrn`: the first window of the authoring program. It shows the display name
// twice in a large font, a grey copy slightly offset behind the dark one, centred on the
// screen; 100 ms after it appears it asks for the main window.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

signals:
    void mainWindowWanted();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_timer;
};

} // namespace quillo::maker
