#pragma once

#include "core/helpdocument.h"

#include <QFrame>

class QKeyEvent;
class QMenu;

namespace quillo {
class Dialogs;
class LinkPresenter;
class RichTextControl;
} // namespace quillo

namespace quillo::viewer {

// The page area of the viewer window: the background panel `Text2` in the document's
// background colour, and on it the read-only page text `RichTextBox2`. Typed characters are
// refused with a message (copy and select-all pass), and the right button shows the Edit
// menu at the mouse.
class PageView : public QFrame {
    Q_OBJECT
public:
    PageView(Dialogs& dialogs, QWidget* parent = nullptr);

    RichTextControl& control() const { return *m_page; }
    // The links of the shown page: marked, with the hand pointer and tool tip, and followed.
    LinkPresenter& links() const { return *m_links; }
    void setEditMenu(QMenu* menu) { m_editMenu = menu; }

    // The document whose pages are shown (may be null), with its background (a Windows
    // colour value); nothing is shown until showPage.
    void setDocument(const HelpDocument* doc, quint32 backColor);
    // Shows a page of the document; a page already shown is not loaded again. While the view
    // is hidden the page is read once it is shown, so that the window of a huge page is on
    // screen, answering its close box, while the page comes in.
    void showPage(int page);
    // Places the panel at `panel` and the page text at `text`, in the parent's pixels.
    void place(const QRect& panel, const QRect& text);
    // Shows pages at `percent` of their size (the shown page is read again at it).
    void setZoom(int percent);
    int zoom() const { return m_zoom; }

signals:
    // The left button was released on the page text.
    void clicked();
    // The mouse moved over the page text.
    void pointerMoved();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refuseTyping(QKeyEvent* event);
    void load();

    Dialogs& m_dialogs;
    RichTextControl* m_page = nullptr;
    QMenu* m_editMenu = nullptr;
    const HelpDocument* m_doc = nullptr;
    LinkPresenter* m_links = nullptr;
    int m_loadedPage = 0; // 0: none
    int m_zoom = 100;     // percent
    bool m_loadWhenShown = false;
};

} // namespace quillo::viewer
