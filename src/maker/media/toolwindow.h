#pragma once

#include "maker/common/settingsfile.h"

#include <QWidget>

namespace quillo::maker {

// A tool window of the main window (the image and colour windows): however it is shown, it
// opens at its offset from the main window, kept on the screen; Esc closes it; closing keeps
// its offset from the main window unless it is minimised.
class ToolWindow : public QWidget {
    Q_OBJECT
public:
    ToolWindow(QWidget* mainWindow, DialogOffset& offset);

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace quillo::maker
