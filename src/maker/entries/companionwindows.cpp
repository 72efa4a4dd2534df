#include "maker/entries/companionwindows.h"

#include "core/text.h"
#include "maker/common/windowgeometry.h"
#include "maker/document/makerdocument.h"
#include "maker/entries/uniformlines.h"
#include "winsvc/dialogs.h"
#include "winsvc/placement.h"
#include "winsvc/twips.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

namespace quillo::maker {

namespace {

// Twips layout of the buttons and the list; the list's top and the place of "削除" and
// "挿入" change with the window's width.
constexpr int ButtonTop = 80;
constexpr int SecondRowTop = 405;
constexpr int ButtonWidth = 600;
constexpr int ButtonHeight = 285;
constexpr int OneRowWidth = 2600;
constexpr int TwoRowWidth = 1965;
constexpr int HeightStep = 180;

} // namespace

CompanionWindow::CompanionWindow(MakerDocument& document, Dialogs& dialogs, EntrySession& session,
                                 QWidget* owner, TwipsRect& settings, const QString& name,
                                 const QString& caption, const std::array<QString, 4>& tooltips,
                                 const QString& menuName, const QString& menuTitle,
                                 int narrowInsertLeft)
    : QWidget(owner, Qt::Tool), m_document(document), m_dialogs(dialogs), m_session(session),
      m_settings(settings), m_list(new QListWidget(this)), m_menu(new QMenu(menuTitle, this)),
      m_narrowInsertLeft(narrowInsertLeft) {
    setObjectName(name);
    setWindowTitle(caption);
    m_list->setObjectName(QStringLiteral("List1"));
    new UniformLineDelegate(m_list);
    m_list->setAccessibleName(caption);
    m_menu->setObjectName(menuName);
    const std::array<QString, 4> captions{QStringLiteral("新規"), QStringLiteral("削除"),
                                          QStringLiteral("変更"), QStringLiteral("挿入")};
    for (int i = 0; i < 4; ++i) {
        m_buttons[i] = new QPushButton(captions[i], this);
        m_buttons[i]->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        m_buttons[i]->setToolTip(tooltips[i]);
        m_buttons[i]->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_buttons[Change], &QPushButton::clicked, this, [this] { changeCommand(); });

    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    m_list->setAcceptDrops(true);
    m_list->viewport()->setAcceptDrops(true);
    connect(m_list, &QListWidget::currentRowChanged, this, &CompanionWindow::onListMoved);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CompanionWindow::onListMoved);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { changeCommand(); });
}

void CompanionWindow::follow() {
    connect(&m_document, &MakerDocument::pagesChanged, this, &CompanionWindow::fill);
    connect(&m_document, &MakerDocument::pageEntriesChanged, this, &CompanionWindow::fill);
    connect(&m_document, &MakerDocument::currentPageChanged, this,
            &CompanionWindow::selectCurrentPage);
    fill();
}

QAction* CompanionWindow::addMenuItem(const char* name, const QString& text) {
    QAction* item = m_menu->addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

void CompanionWindow::message(const QString& title, const QString& text) {
    m_dialogs.ask(this, title, text, Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

bool CompanionWindow::askYesNo(const QString& title, const QString& text) {
    return m_dialogs.ask(this, title, text, Dialogs::Icon::Information, Dialogs::Buttons::YesNo) ==
           Dialogs::Answer::Yes;
}

int CompanionWindow::selectedLine() const {
    return m_list->currentItem() && m_list->currentItem()->isSelected() ? m_list->currentRow() : -1;
}

QString CompanionWindow::selectedLineText() const {
    const int line = selectedLine();
    return line >= 0 ? m_list->item(line)->text() : QString();
}

int CompanionWindow::pageOfLine(int line) const {
    if (line < 0 || line >= m_list->count())
        return 0;
    const std::optional<ListEntry> entry = parseListEntry(m_list->item(line)->text());
    return entry ? entry->page : 0;
}

void CompanionWindow::selectLine(int line) {
    if (m_list->count() == 0)
        return;
    const bool user = std::exchange(m_userListAction, false);
    m_list->setCurrentRow(qBound(0, line, m_list->count() - 1));
    m_userListAction = user;
}

void CompanionWindow::setEntryDialogOpen(bool open, bool forOtherList) {
    m_buttons[Delete]->setEnabled(!open);
    const bool usable = !(open && forOtherList);
    m_list->setEnabled(usable);
    for (Button b : {New, Change, Insert})
        m_buttons[b]->setEnabled(usable);
}

void CompanionWindow::placeFromSettings() {
    placeAt(m_settings);
    // Until the window manager has framed a new window it puts it where it likes, and the
    // window passes through other places (the screen's corner) meanwhile; placed before it
    // was framed, a window may also get its client area, not its frame, at the corner. Once
    // it is framed the place is kept on the screen with the real frame and set again, a few
    // times at most, until the frame stands there.
    settleFrameAt(this, [this] {
        keepCompanionOnScreen(m_placed, screenWidthTwips(), screenHeightTwips(),
                              frameMarginsOf(*this));
        m_settings.top = m_placed.top;
        m_settings.left = m_placed.left;
        return QPoint(twipsToPixels(m_placed.left, Qt::Horizontal),
                      twipsToPixels(m_placed.top, Qt::Vertical));
    });
}

void CompanionWindow::placeAt(const TwipsRect& rect) {
    m_placed = placeOnScreen(this, rect, keepCompanionOnScreen);
    m_settings.top = m_placed.top;
    m_settings.left = m_placed.left;
}

void CompanionWindow::offsetBy(int twips) {
    m_placed.top += twips;
    m_placed.left += twips;
    setTwipsGeometry(this, m_placed);
}

void CompanionWindow::fill() {
    const bool user = std::exchange(m_userListAction, false);
    const QStringList lines = linesOf(m_document.help());
    // Lines of one line each are all as tall: the list then sizes them once, not each of the
    // thousands of keyword lines on its own.
    m_list->setUniformItemSizes(allOneLine(lines));
    m_list->clear();
    m_list->addItems(lines);
    selectCurrentPage();
    m_userListAction = user;
}

void CompanionWindow::selectCurrentPage() {
    selectLine(lineOfPage(m_document.help(), m_document.currentPage()));
}

void CompanionWindow::onListMoved() {
    // Only the writer's own choice acts; a selection made by the program does not. A mouse
    // press moves the current line and selects it after, a drag along the list selects first
    // and moves the current line after: the line acts once both agree, once per line, so that
    // the shown page follows every line a drag or a held key reaches.
    const int line = selectedLine();
    if (!m_userListAction || line < 0 || line == m_actedLine)
        return;
    m_actedLine = line;
    if (m_document.takeListClickSuppression())
        return;
    lineClicked(line);
}

bool CompanionWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            m_menu->popup(mouse->globalPosition().toPoint());
            return true;
        }
        m_userListAction = true;
        m_actedLine = -1;
        break;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::FocusOut: // a box took the keyboard and the mouse
        m_userListAction = false;
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            changeCommand();
            return true;
        }
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
            deleteKeyPressed();
            return true;
        }
        // Every key that moves the selection (arrows, Home, End, Page Up/Down, a typed
        // letter) is the writer's choice of a line.
        m_userListAction = true;
        m_actedLine = -1;
        break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!drag->mimeData()->hasText())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasText())
            return false;
        // A copy, so that text dragged from the editor stays there.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // The text is taken once the drag has ended: a question asked inside the drop would
        // hold the drag open, and the next click would drop the same text again.
        QMetaObject::invokeMethod(
            this, [this, text = drop->mimeData()->text()] { textDropped(text); },
            Qt::QueuedConnection);
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void CompanionWindow::closeEvent(QCloseEvent* event) {
    if (!isMinimized() && !isMaximized())
        m_settings = twipsGeometry(this);
    QWidget::closeEvent(event);
    emit closed();
}

void CompanionWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isMinimized())
        return;
    layOut();
    // The height is kept to whole steps of 180 twips, so the list shows whole lines.
    if (m_roundingHeight)
        return;
    const int heightTwips = pixelsToTwips(height(), Qt::Vertical);
    const int rounded = qMax(HeightStep, heightTwips / HeightStep * HeightStep);
    const int pixels = twipsToPixels(rounded, Qt::Vertical);
    if (pixels < height()) {
        m_roundingHeight = true;
        resize(width(), pixels);
        m_roundingHeight = false;
    }
}

void CompanionWindow::layOut() {
    const auto place = [](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(twipsToPixels(left), twipsToPixels(top, Qt::Vertical), twipsToPixels(width),
                       twipsToPixels(height, Qt::Vertical));
    };
    // The width rules are the window's own width, frame included.
    const int w = pixelsToTwips(frameGeometry().width());
    place(m_buttons[New], 45, ButtonTop, ButtonWidth, ButtonHeight);
    place(m_buttons[Change], 675, ButtonTop, ButtonWidth, ButtonHeight);
    int listTop = 745;
    if (w >= OneRowWidth) {
        place(m_buttons[Delete], 1305, ButtonTop, ButtonWidth, ButtonHeight);
        place(m_buttons[Insert], 1935, ButtonTop, ButtonWidth, ButtonHeight);
        listTop = 415;
    } else if (w >= TwoRowWidth) {
        place(m_buttons[Delete], 1305, ButtonTop, ButtonWidth, ButtonHeight);
        place(m_buttons[Insert], 45, SecondRowTop, ButtonWidth, ButtonHeight);
    } else {
        place(m_buttons[Delete], 45, SecondRowTop, ButtonWidth, ButtonHeight);
        place(m_buttons[Insert], m_narrowInsertLeft, SecondRowTop, ButtonWidth, ButtonHeight);
    }
    // The list fills the rest of the window below the buttons.
    const int top = twipsToPixels(listTop, Qt::Vertical);
    m_list->setGeometry(0, top, width(), qMax(height() - top, 0));
}

} // namespace quillo::maker
