// The image and colour tool windows: made when first opened, owned by the main window and
// kept for the program's run, so that they reopen where the writer left them.
#include "maker/media/colourwindow.h"
#include "maker/media/imagewindow.h"
#include "maker/shell/mainwindow.h"

namespace quillo::maker {

void MakerMainWindow::openImageWindow() {
    if (!m_imageWindow) {
        ImageWindowParts parts;
        parts.dialogs = &m_dialogs;
        parts.document = &m_document;
        parts.editor = m_editor;
        parts.offset = &m_settings.image;
        m_imageWindow = new ImageWindow(parts, this);
    }
    m_imageWindow->open();
}

void MakerMainWindow::openColourWindow(int target) {
    if (!m_colourWindow) {
        ColourWindowParts parts;
        parts.dialogs = &m_dialogs;
        parts.document = &m_document;
        parts.editor = m_editor;
        parts.ignoreNextChange = &m_ignoreNextChange;
        parts.offset = &m_settings.colourDialog;
        parts.colours = &m_settings.colours;
        m_colourWindow = new ColourWindow(parts, this);
    }
    m_colourWindow->open(target);
}

} // namespace quillo::maker
