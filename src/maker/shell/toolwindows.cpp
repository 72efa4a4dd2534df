// The windows the main window opens beside or instead of itself: the contents and keyword
// windows, the preview, and the search, image and colour windows. The tool windows are made
// when first opened, owned by the main window and kept for the program's run, so that they
// reopen where the writer left them.
#include "maker/common/shelltexts.h"
#include "maker/entries/companionwindows.h"
#include "maker/media/colourwindow.h"
#include "maker/media/imagewindow.h"
#include "maker/search/searchwindow.h"
#include "maker/shell/mainwindow.h"
#include "viewer/viewerwindow.h"
#include "winsvc/hourglass.h"
#include "winsvc/richtextcontrol.h"

namespace quillo::maker {

void MakerMainWindow::openImageWindow() {
    if (!m_imageWindow)
        m_imageWindow = new ImageWindow(imageParts(), this);
    m_imageWindow->open();
}

ImageWindowParts MakerMainWindow::imageParts() {
    ImageWindowParts parts;
    parts.dialogs = &m_dialogs;
    parts.document = &m_document;
    parts.editor = m_editor;
    parts.offset = &m_settings.image;
    return parts;
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

void MakerMainWindow::showCompanion(CompanionWindow* window, QAction* item) {
    window->show();
    item->setChecked(true);
}

void MakerMainWindow::toggleCompanion(CompanionWindow* window, QAction* item) {
    // The action has already flipped its check mark; act on the state it had.
    if (!item->isChecked()) {
        window->close();
        item->setChecked(false);
        return;
    }
    window->placeFromSettings();
    showCompanion(window, item);
}

void MakerMainWindow::preview() {
    if (m_document.isUnnamed()) {
        message(QStringLiteral("qzd32maker qzdﾌﾟﾚﾋﾞｭｰ"), neverSavedPreviewText(),
                Dialogs::Icon::Information);
        return;
    }
    Hourglass hourglass;
    m_document.storeShownPage();
    viewer::ViewerWindow::Options options;
    options.variant = viewer::Variant::Preview;
    options.document = &m_document.helpForWriting();
    options.startPage = m_document.currentPage();
    options.searchText = m_previewSearchText;
    options.pageBackColor = m_editor->backColor();
    m_preview = new viewer::ViewerWindow(m_dialogs, options);
    m_preview->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_preview, &viewer::ViewerWindow::previewClosed, this,
            [this](bool settingsChanged, const QString& searchText) {
                if (settingsChanged)
                    m_previewLayoutChanged = true;
                m_previewSearchText = searchText;
                m_preview = nullptr;
                if (m_actions.showContents->isChecked())
                    m_contents->show();
                if (m_actions.showKeywords->isChecked())
                    m_keywords->show();
                show();
                activateWindow();
            });
    // Hidden, not closed: the companions keep their place and their check marks.
    m_contents->hide();
    m_keywords->hide();
    hide();
    m_preview->openPreview();
    m_preview->show();
}

void MakerMainWindow::openSearch(bool replace) {
    if (!m_search)
        m_search = new SearchWindow(m_dialogs, m_document, *m_editor, this, m_settings.search);
    m_search->open(replace ? SearchWindow::Mode::Replace : SearchWindow::Mode::Search);
}

} // namespace quillo::maker
