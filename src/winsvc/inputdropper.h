#pragma once

#include <QObject>

namespace quillo {

// Drops the user's keys, clicks and wheel turns for its lifetime, while a window is busy with
// work that serves events (a page being read must not have other commands start on it);
// painting, timers and close requests pass.
class InputDropper : public QObject {
public:
    InputDropper();
    ~InputDropper() override;
    InputDropper(const InputDropper&) = delete;
    InputDropper& operator=(const InputDropper&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quillo
