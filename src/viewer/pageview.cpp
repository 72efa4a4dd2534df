#include "viewer/pageview.h"

#include "viewer/pagezoom.h"
#include "viewer/viewertexts.h"
#include "winsvc/dialogs.h"
#include "winsvc/linkpresenter.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/wincolor.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

namespace quillo::viewer {

PageView::PageView(Dialogs& dialogs, QWidget* parent) : QFrame(parent), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("Text2"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);

    m_page = new RichTextControl(this);
    m_page->setObjectName(QStringLiteral("RichTextBox2"));
    m_page->setAccessibleName(QStringLiteral("ページ"));
    m_page->setReadOnly(true);
    m_page->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_page->setFrameShape(QFrame::NoFrame);
    m_page->setContextMenuPolicy(Qt::NoContextMenu);
    connect(m_page, &RichTextControl::keyPress, this, &PageView::refuseTyping);
    connect(m_page, &RichTextControl::mouseDown, this, [this](QMouseEvent* mouse) {
        if (mouse->button() != Qt::RightButton || !m_editMenu)
            return;
        m_editMenu->popup(mouse->globalPosition().toPoint());
        m_page->consumeEvent();
    });
    m_page->setLoadServesEvents(true);
    m_links = new LinkPresenter(*m_page, LinkPresenter::Follow::Click);
    connect(m_page, &RichTextControl::mouseMove, this, &PageView::pointerMoved);
    connect(m_page, &RichTextControl::mouseUp, this, [this](QMouseEvent* mouse) {
        if (mouse->button() == Qt::LeftButton)
            emit clicked();
    });
}

void PageView::setDocument(const HelpDocument* doc, quint32 backColor) {
    m_doc = doc;
    m_loadedPage = 0;
    m_loadWhenShown = false;
    m_page->clear();
    QPalette p = palette();
    p.setColor(QPalette::Window, windowsColorToQColor(backColor, p));
    setPalette(p);
    m_page->setBackColor(backColor);
}

void PageView::showPage(int page) {
    if (!m_doc || page == m_loadedPage || page < 1 || page > m_doc->pageCount())
        return;
    m_loadedPage = page;
    if (!isVisible()) {
        m_loadWhenShown = true;
        return;
    }
    load();
}

void PageView::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    // After the show, once the window is on screen and can serve its events during the load.
    if (m_loadWhenShown)
        QTimer::singleShot(0, this, [this] {
            if (m_loadWhenShown && isVisible())
                load();
        });
}

void PageView::load() {
    m_loadWhenShown = false;
    // The page's own bytes, held for the load: events are served while it reads.
    const QByteArray rtf = m_doc->page(m_loadedPage).rtf;
    m_page->setRtf(rtf);
    scaleShownPage(*m_page->document(), m_zoom);
}

void PageView::setZoom(int percent) {
    percent = qBound(ZoomSmallest, percent, ZoomLargest);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    if (m_loadedPage > 0 && !m_loadWhenShown)
        load();
}

void PageView::place(const QRect& panel, const QRect& text) {
    setGeometry(panel);
    m_page->setGeometry(QRect(text.topLeft() - panel.topLeft(), text.size()));
}

// Typed characters are refused on the read-only page, except copy and select-all. Delete
// types no character, though the X server sends it with the DEL code.
void PageView::refuseTyping(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
        event->key() == Qt::Key_Delete || text.front() == QChar(0x7f))
        return;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const QChar c = text.front();
    if (c == QChar(3) || c == QChar(1) ||
        (control && (event->key() == Qt::Key_C || event->key() == Qt::Key_A)))
        return;
    m_page->consumeEvent();
    m_dialogs.ask(window(), TitlePageText, MsgReadOnly, Dialogs::Icon::Information,
                  Dialogs::Buttons::Ok);
}

} // namespace quillo::viewer
