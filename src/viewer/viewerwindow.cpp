#include "viewer/viewerwindow.h"

#include "core/helpfile.h"
#include "core/text.h"
#include "rtf/pagelinks.h"
#include "viewer/helpchannel.h"
#include "viewer/listspanel.h"
#include "viewer/pageview.h"
#include "viewer/pagezoom.h"
#include "viewer/searchbar.h"
#include "viewer/searchbox.h"
#include "viewer/viewerprinting.h"
#include "viewer/windowgeometry.h"
#include "winsvc/desktoprecent.h"
#include "winsvc/dialogs.h"
#include "winsvc/filedrops.h"
#include "winsvc/hourglass.h"
#include "winsvc/linkpresenter.h"
#include "winsvc/placement.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWindowStateChangeEvent>

namespace quillo::viewer {

namespace {

constexpr int MaxPathSeparators = 10;
const QString OpenFilter = QStringLiteral("Quilloﾌｧｲﾙ (*.qzd)");
const QString OpenCaption = QStringLiteral("開く");

int separatorCount(const QString& path) {
    return int(path.count(QLatin1Char('/')) + path.count(QLatin1Char('\\')));
}

HelpDocument* chosenDocument(const ViewerWindow::Options& options,
                             std::unique_ptr<HelpDocument>& own) {
    if (options.variant == Variant::Preview && options.document)
        return options.document;
    own = std::make_unique<HelpDocument>();
    return own.get();
}

} // namespace

ViewerWindow::ViewerWindow(Dialogs& dialogs, QWidget* parent)
    : ViewerWindow(dialogs, Options{}, parent) {}

ViewerWindow::ViewerWindow(Dialogs& dialogs, Options options, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_options(std::move(options)),
      m_doc(chosenDocument(m_options, m_ownDocument)), m_tracker(m_doc->displaySettings) {
    setObjectName(m_options.variant == Variant::Preview ? QStringLiteral("qzd32mk_prev")
                                                        : QStringLiteral("qzd32_main"));
    setWindowTitle(emptyWindowTitle(m_options.variant));
    buildControls();
    buildMenus();
    m_pageView->setEditMenu(m_editMenu);
    auto* drops = new FileDrops(
        this, [this](const QStringList& files, QWidget*, QPoint) { filesDropped(files); });
    drops->watchAll();
}

ViewerWindow::~ViewerWindow() = default;

QString ViewerWindow::searchText() const {
    return m_searchBar->text();
}

// ---------------------------------------------------------------------------------------
// Construction

void ViewerWindow::buildControls() {
    m_client = new QWidget(this);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);
    m_searchBar = new SearchBar(m_dialogs, m_client);
    connect(m_searchBar, &SearchBar::searchRequested, this, [this](const QString& needle) {
        Hourglass hourglass;
        m_search->run(needle);
    });

    m_lists = new ListsPanel(m_client);
    connect(m_lists, &ListsPanel::pageChosen, this, &ViewerWindow::onPageChosen);
    connect(m_lists, &ListsPanel::contentsEntryChosen, this, &ViewerWindow::onContentsEntryChosen);
    connect(m_lists, &ListsPanel::entryDoubleClicked, m_searchBar, &SearchBar::searchFor);
    connect(m_lists, &ListsPanel::listWidthDragged, this, &ViewerWindow::relayout);
    connect(m_lists, &ListsPanel::listWidthChosen, this,
            [this](int twips) { m_doc->displaySettings.listWidth = qint16(twips); });

    m_pageView = new PageView(m_dialogs, m_client);
    m_lists->setPageEdge(m_pageView);
    connect(m_pageView, &PageView::clicked, this, &ViewerWindow::onPageMouseRelease);
    connect(m_pageView, &PageView::pointerMoved, m_lists, [this] { m_lists->unsetCursor(); });
    m_pageView->links().setDescriber(
        [this](const QString& target) { return describeLink(target); });
    connect(&m_pageView->links(), &LinkPresenter::linkActivated, this, &ViewerWindow::followLink);

    // The print buffer of the printing commands; never shown.
    m_printBuffer = new RichTextControl(m_client);
    m_printBuffer->setObjectName(QStringLiteral("RichTextBox1"));
    m_printBuffer->setReadOnly(true);
    m_printBuffer->hide();

    if (m_options.variant == Variant::Viewer) {
        m_channel = new HelpChannel(this);
        connect(m_channel, &HelpChannel::topicRequested, this, [this](const HelpTopic& topic) {
            if (isMinimized())
                showNormal();
            raise();
            activateWindow();
            showTopic(topic);
        });
    }

    m_search = new PageSearch(*this, m_pageView->control(), this);
    m_searchBar->attach(m_search);

    // Esc closes the window from these.
    const QList<QWidget*> escapeFrom{this,
                                     m_searchBar->box(),
                                     m_searchBar->button(),
                                     m_lists,
                                     m_lists->tabBar(),
                                     m_lists->contentsList(),
                                     m_lists->keywordList(),
                                     &m_pageView->control()};
    for (QWidget* w : escapeFrom)
        w->installEventFilter(this);
    // The mouse's back and forward buttons over the page and the lists.
    for (QWidget* w : {m_pageView->control().viewport(), m_lists->contentsList()->viewport(),
                       m_lists->keywordList()->viewport()})
        w->installEventFilter(this);
}

void ViewerWindow::buildMenus() {
    MenuStyle style;
    style.objectName = [this](const char* command) { return name(QString::fromLatin1(command)); };
    style.otherCaptions = m_options.variant == Variant::Preview;
    ViewerActions& a = m_actions;
    quillo::buildMenus<ViewerActions>(menuBar(), viewerMenuTable(), a, style);
    m_editMenu = a.editMenu->menu();
    m_frontAction = a.front;
    const bool preview = m_options.variant == Variant::Preview;
    a.open->setEnabled(!preview);
    m_printing =
        new ViewerPrinting(this, m_options.variant, m_dialogs, *m_printBuffer, [this, preview] {
            return PrintSubject{m_doc,
                                preview && m_doc ? fileTitleOf(m_doc->filePath) : m_fileTitle,
                                m_currentPage};
        });
    connect(a.printShownPage, &QAction::triggered, m_printing, &ViewerPrinting::printShownPage);
    connect(a.printAll, &QAction::triggered, m_printing, &ViewerPrinting::printAllPages);

    connect(a.open, &QAction::triggered, this, &ViewerWindow::openCommand);
    connect(a.end, &QAction::triggered, this, &QWidget::close);
    connect(a.copy, &QAction::triggered, this, &ViewerWindow::copyPageText);
    connect(a.selectAll, &QAction::triggered, this, &ViewerWindow::selectAllPageText);
    connect(a.nextPage, &QAction::triggered, this, &ViewerWindow::nextPage);
    connect(a.previousPage, &QAction::triggered, this, &ViewerWindow::previousPage);
    connect(a.howTo, &QAction::triggered, this, &ViewerWindow::showHowTo);
    connect(a.version, &QAction::triggered, this, &ViewerWindow::showVersion);
    connect(a.homePage, &QAction::triggered, this, &ViewerWindow::openHomePage);
    connect(m_frontAction, &QAction::triggered, this, &ViewerWindow::toggleFront);

    connect(a.back, &QAction::triggered, this, &ViewerWindow::goBack);
    connect(a.forward, &QAction::triggered, this, &ViewerWindow::goForward);
    // Ctrl+= is Ctrl++ without the shift key on most keyboards.
    a.zoomIn->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    connect(a.zoomIn, &QAction::triggered, this, [this] { zoomTo(zoomedIn(m_pageView->zoom())); });
    connect(a.zoomOut, &QAction::triggered, this,
            [this] { zoomTo(zoomedOut(m_pageView->zoom())); });
    connect(a.zoomNormal, &QAction::triggered, this, [this] { zoomTo(ZoomNormal); });
    // The Edit menu is also the page's pop-up menu: back and forward are at hand there too.
    m_editMenu->addSeparator()->setObjectName(name(QStringLiteral("edit_dumy1")));
    m_editMenu->addAction(a.back);
    m_editMenu->addAction(a.forward);
    updateHistoryActions();
}

// ---------------------------------------------------------------------------------------
// Start-up, opening and showing pages

void ViewerWindow::startUp(const QString& commandLinePath) {
    Hourglass hourglass;
    m_currentPage = 1;
    setWindowState(Qt::WindowNoState);
    m_lists->setCurrentIndex(0);
    if (!commandLinePath.isEmpty()) {
        if (separatorCount(commandLinePath) > MaxPathSeparators) {
            hourglass.release();
            m_dialogs.ask(boxParent(), TitleAssociation, commandLinePath + MsgFileTitleUnreadable,
                          Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
        } else if (!readFile(commandLinePath)) {
            hourglass.release();
        }
    }
    const WindowRect placed = placeWindow();
    hourglass.release();
    finishLoading(placed);
}

void ViewerWindow::openPreview() {
    Hourglass hourglass;
    m_lists->setCurrentIndex(0);
    adoptDocument(qBound(1, m_options.startPage, std::max<int>(1, m_doc->pageCount())));
    const WindowRect placed = placeWindow();
    hourglass.release();
    finishLoading(placed);
}

bool ViewerWindow::readFile(const QString& path) {
    // Read into a document of its own, so that a file that fails to read leaves what is
    // shown, and the file it came from, untouched.
    auto fresh = std::make_unique<HelpDocument>();
    const ReadResult result = readHelpFile(path, *fresh, Reader::Viewer);
    if (!result.ok()) {
        m_dialogs.ask(boxParent(), TitleOpen, MsgWrongFormat, Dialogs::Icon::Warning,
                      Dialogs::Buttons::Ok);
        return false;
    }
    fresh->filePath = path;
    *m_doc = std::move(*fresh);
    m_fileTitle = fileTitleOf(path);
    m_fileDirectory = fileDirectoryOf(path);
    m_writeBackPath = path;
    adoptDocument(1);
    if (m_channel)
        m_channel->listen(path);
    if (m_options.variant == Variant::Viewer)
        addToDesktopRecentFiles(path, QStringLiteral("qzd32"));
    return true;
}

void ViewerWindow::adoptDocument(int firstPage) {
    m_history = PageHistory{};
    m_search->setDocument(m_doc);
    m_pageView->setDocument(
        m_doc, m_options.pageBackColor.value_or(quint32(m_doc->displaySettings.backColor)));
    m_lists->fill(*m_doc);
    if (m_doc->pageCount() > 0) {
        showPage(firstPage);
    } else {
        setWindowTitle(emptyWindowTitle(m_options.variant));
    }
}

// Places the window as the document's display settings say and returns where it was put:
// out of the maximised state first, then the document's position and size, then its state.
// What the desktop reports meanwhile is the program's own placement, not the user's.
WindowRect ViewerWindow::placeWindow() {
    DisplaySettings& s = m_doc->displaySettings;
    m_placing = true;
    if (windowState() & Qt::WindowMaximized) {
        setWindowState(Qt::WindowNoState);
        waitForDesktop(*this);
    }
    const CheckedPlacement placed = checkedPlacement(frameMarginsOf(*this));
    if (placed.usedDefaults || m_options.variant == Variant::Preview)
        storeWindowRect(s, placed.rect);
    applyWindowRect(*this, placed.rect);
    waitForDesktop(*this);
    WindowRect rectAtLoad = measuredWindowRect(*this, m_doc->displaySettings);
    if (s.windowState == 2) {
        setWindowState(Qt::WindowMaximized);
        waitForDesktop(*this);
        rectAtLoad = windowRectOf(s);
    }
    m_frontAction->setChecked(s.topmost == 1);
    windowSetPos(this, s.topmost == 1);
    m_placing = false;
    // A window not shown yet was placed with the frame guessed; it is checked again with the
    // real one once the desktop has framed it.
    whenFramed(this, [this] { placeAgainInFrame(); });
    return rectAtLoad;
}

// A message box over the window before it is shown would make its native window early, and
// the desktop would then put the client area, not the frame, at the window's corner.
QWidget* ViewerWindow::boxParent() {
    return isVisible() ? this : nullptr;
}

CheckedPlacement ViewerWindow::checkedPlacement(const FrameMargins& frame) const {
    const DisplaySettings& s = m_doc->displaySettings;
    const int screenW = screenWidthTwips();
    const int screenH = screenHeightTwips();
    return m_options.variant == Variant::Preview
               ? checkedPreviewPlacement(s, screenW, screenH, frame)
               : checkedViewerPlacement(s, screenW, screenH, frame);
}

// Once the window is framed: the placement the document's settings get with the real frame
// replaces the one made with the guessed frame, as if the window had been placed so at load
// (the user has not touched it yet).
void ViewerWindow::placeAgainInFrame() {
    DisplaySettings& s = m_doc->displaySettings;
    if (windowState() != Qt::WindowNoState)
        return;
    const CheckedPlacement placed = checkedPlacement(frameMarginsOf(*this));
    if (placed.rect == windowRectOf(s))
        return;
    m_placing = true;
    storeWindowRect(s, placed.rect);
    const WindowRect& r = placed.rect;
    resize(twipsToPixels(r.width, Qt::Horizontal),
           steppedHeight(twipsToPixels(r.height, Qt::Vertical)));
    moveFrameTo(*this,
                QPoint(twipsToPixels(r.left, Qt::Horizontal), twipsToPixels(r.top, Qt::Vertical)));
    waitForDesktop(*this);
    m_tracker.loaded(measuredWindowRect(*this, s));
    m_placing = false;
}

void ViewerWindow::finishLoading(const WindowRect& rectAtLoad) {
    m_search->setFromStart(true);
    m_search->reset();
    applyListWidth();
    m_tracker.loaded(rectAtLoad);
}

void ViewerWindow::showPage(int page) {
    m_currentPage = page;
    m_pageView->showPage(page);
    if (!m_walkingHistory)
        m_history.visit(page);
    rebuildTitle();
    updateHistoryActions();
}

void ViewerWindow::rebuildTitle() {
    setWindowTitle(
        viewer::windowTitle(m_options.variant, m_fileTitle, m_currentPage, m_doc->pageCount()));
    m_lists->showPageEntry(m_currentPage);
    m_search->pageShown(m_currentPage);
}

// ---------------------------------------------------------------------------------------
// Window geometry and display settings

void ViewerWindow::applyListWidth() {
    DisplaySettings& s = m_doc->displaySettings;
    s.listWidth = qint16(effectiveListWidth(s.listWidth));
    m_lists->setListWidth(s.listWidth);
    relayout();
}

void ViewerWindow::relayout() {
    const QSize clientTwips(pixelsToTwips(m_client->width(), Qt::Horizontal),
                            pixelsToTwips(m_client->height(), Qt::Vertical));
    const ClientLayout l = layoutFor(clientTwips, m_lists->listWidth());
    m_lists->setGeometry(pixelsOf(l.tab));
    m_pageView->place(pixelsOf(l.panel), pixelsOf(l.pageText));
    m_pageView->raise();
}

void ViewerWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized()) {
        m_wasMinimised = true;
        return;
    }
    relayout();
    if (windowState() == Qt::WindowNoState && !m_roundingHeight) {
        // Keep the height a whole number of steps; the resize this causes is not rounded
        // again, so a conversion through pixels cannot walk it down.
        const int rounded = steppedHeight(height());
        if (rounded < height() && rounded > 0) {
            m_roundingHeight = true;
            resize(width(), rounded);
            m_roundingHeight = false;
        }
    }
    // The resize that brings the window back from the minimised state records nothing.
    const bool restoring = m_wasMinimised;
    m_wasMinimised = false;
    if (!restoring)
        recordResize();
}

void ViewerWindow::recordResize() {
    if (!m_activated || m_placing)
        return;
    if (isMaximized())
        m_tracker.recordMaximised(); // refused at once when the window is to stay in front
    else if (windowState() == Qt::WindowNoState)
        m_tracker.recordNormal(measuredWindowRect(*this, m_doc->displaySettings));
}

void ViewerWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (!isMaximized()) {
        // Back from maximised: desktops may report the normal size before the state.
        if (windowState() == Qt::WindowNoState &&
            (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMaximized))
            recordResize();
        return;
    }
    if (m_activated && !m_placing)
        m_tracker.maximisedAt(measuredWindowRect(*this, m_doc->displaySettings));
    if (m_doc->displaySettings.topmost == 1)
        QMetaObject::invokeMethod(this, &ViewerWindow::refuseMaximise, Qt::QueuedConnection);
    else if (m_activated)
        m_doc->displaySettings.windowState = 2;
}

void ViewerWindow::refuseMaximise() {
    if (!isMaximized())
        return;
    hide();
    m_dialogs.ask(this, TitleWindowSize, MsgMaximiseWhileFront, Dialogs::Icon::Information,
                  Dialogs::Buttons::Ok);
    // Restoring brings back the size recorded before; it changes no setting.
    setWindowState(Qt::WindowNoState);
    show();
}

bool ViewerWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        if (m_options.variant == Variant::Preview) {
            m_searchBar->showText(m_options.searchText);
        }
        m_client->update();
    }
    return QMainWindow::event(event);
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
    if (m_pageView->control().isLoading()) {
        // A close box pressed while a huge page comes in: the load stops, and the close is
        // made once it has returned.
        m_pageView->control().cancelLoading();
        QTimer::singleShot(0, this, &QWidget::close);
        event->ignore();
        return;
    }
    const bool normal = !isMinimized() && !isMaximized();
    if (normal && (m_options.variant == Variant::Preview || !m_writeBackPath.isEmpty()))
        m_tracker.closing(measuredWindowRect(*this, m_doc->displaySettings), m_lists->listWidth());
    if (m_options.variant == Variant::Preview)
        emit previewClosed(m_tracker.changedSinceLoad(), m_searchBar->text());
    else if (!m_writeBackPath.isEmpty() && m_tracker.changedSinceLoad())
        writeDisplaySettingsBack(m_writeBackPath, m_doc->displaySettings);
    m_search->stopPreparing();
    event->accept();
}

// ---------------------------------------------------------------------------------------
// Commands and list events

void ViewerWindow::openCommand() {
    if (m_options.variant == Variant::Preview)
        return;
    if (m_fileDirectory.isEmpty())
        m_fileDirectory = QDir::currentPath() + QLatin1Char('/');
    windowSetPos(this, false);
    const QString path = m_dialogs.openFileName(this, OpenCaption, m_fileDirectory, OpenFilter);
    if (m_doc->displaySettings.topmost == 1)
        windowSetPos(this, true);
    if (!path.isEmpty())
        openPath(path);
}

void ViewerWindow::openPath(const QString& path) {
    Hourglass hourglass;
    if (!readFile(path))
        return;
    const WindowRect placed = placeWindow();
    hourglass.release();
    finishLoading(placed);
}

// A help file dropped on the viewer opens as the open command opens it; the preview shows
// the authoring program's document only.
void ViewerWindow::filesDropped(const QStringList& files) {
    const bool helpFile =
        files.size() == 1 && files.first().endsWith(QLatin1String(".qzd"), Qt::CaseInsensitive);
    if (m_options.variant == Variant::Viewer && helpFile) {
        openPath(files.first());
        return;
    }
    const QString shown = files.isEmpty() ? QString() : QFileInfo(files.first()).fileName() + '\n';
    m_dialogs.ask(boxParent(), TitleOpen,
                  shown + (m_options.variant == Variant::Preview
                               ? QStringLiteral("ﾌﾟﾚﾋﾞｭｰではﾌｧｲﾙを開けません。")
                               : QStringLiteral("Quilloﾌｧｲﾙ（*.qzd）1つをﾄﾞﾛｯﾌﾟしてください。")),
                  Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

void ViewerWindow::nextPage() {
    if (m_currentPage >= m_doc->pageCount())
        return;
    Hourglass hourglass;
    showPage(m_currentPage + 1);
    m_lists->visibleList()->setFocus();
}

void ViewerWindow::previousPage() {
    if (m_currentPage <= 1 || m_doc->pageCount() == 0)
        return;
    Hourglass hourglass;
    showPage(m_currentPage - 1);
}

void ViewerWindow::copyPageText() {
    Hourglass hourglass;
    m_pageView->control().copy();
}

void ViewerWindow::selectAllPageText() {
    RichTextControl& page = m_pageView->control();
    page.select(0, page.textLength());
    page.setFocus();
}

void ViewerWindow::showHowTo() {
    m_dialogs.ask(this, TitleHowTo, howToText(m_options.variant), Dialogs::Icon::Information,
                  Dialogs::Buttons::Ok);
}

void ViewerWindow::showVersion() {
    m_dialogs.ask(this, TitleVersion, versionText(), Dialogs::Icon::Information,
                  Dialogs::Buttons::Ok);
}

void ViewerWindow::openHomePage() {
    if (m_dialogs.ask(this, TitleHomePage, homePageQuestion(), Dialogs::Icon::Information,
                      Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    const int result = m_dialogs.shellOpen(QString::fromLatin1(HomePageUrl));
    if (!Dialogs::shellOpenSucceeded(result))
        m_dialogs.ask(this, TitleHomePage, homePageFailure(result), Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
}

void ViewerWindow::toggleFront(bool checked) {
    DisplaySettings& s = m_doc->displaySettings;
    if (checked && isMaximized()) {
        m_frontAction->setChecked(false);
        m_dialogs.ask(this, TitleDisplayOption, MsgFrontWhileMaximised, Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
        s.topmost = 0;
        return;
    }
    s.topmost = checked ? 1 : 0;
    windowSetPos(this, checked);
}

void ViewerWindow::onPageChosen(int page) {
    if (page < 1 || page > m_doc->pageCount() || page == m_currentPage)
        return;
    Hourglass hourglass;
    showPage(page);
}

// Choosing a contents entry makes the next search start at the page shown.
void ViewerWindow::onContentsEntryChosen() {
    if (m_activated)
        startSearchAtCaret();
}

void ViewerWindow::showTopic(const HelpTopic& topic) {
    if (topic.kind == HelpTopic::Kind::None || m_doc->pageCount() == 0)
        return;
    const TopicPlace place = findTopic(*m_doc, topic);
    if (place.page == 0) {
        onPageChosen(1);
        showNote(topicNotFoundNote(topic.text));
        return;
    }
    if (place.onSeveralPages && m_lists->chooseKeyword(topic.text)) {
        m_searchBar->showText(topic.text.trimmed());
        return;
    }
    onPageChosen(place.page);
    onContentsEntryChosen();
}

bool ViewerWindow::answersTopicCalls() const {
    return m_channel && m_channel->isListening();
}

// A page link shows its page as a click on the page's contents entry does; a web address
// goes to the desktop's browser or mail program. Anything else is never opened.
void ViewerWindow::followLink(const QString& target) {
    if (const int page = rtf::linkedPage(target); page > 0) {
        if (page > m_doc->pageCount()) {
            showNote(NoteLinkPageMissing);
            return;
        }
        onPageChosen(page);
        onContentsEntryChosen();
        return;
    }
    if (!rtf::isWebAddress(target)) {
        m_dialogs.beep();
        return;
    }
    const int result = m_dialogs.shellOpen(target);
    if (!Dialogs::shellOpenSucceeded(result))
        m_dialogs.ask(this, TitleLink, homePageFailure(result), Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
}

// The tool tip of a link: the contents line of its page, or the address.
QString ViewerWindow::describeLink(const QString& target) const {
    const int page = rtf::linkedPage(target);
    if (page < 1 || page > m_doc->pageCount())
        return target;
    return listEntry(page, m_doc->page(page).title.value_or(QString()));
}

void ViewerWindow::goBack() {
    showHistoryPage(m_history.back());
}

void ViewerWindow::goForward() {
    showHistoryPage(m_history.forward());
}

void ViewerWindow::showHistoryPage(int page) {
    if (page < 1 || page > m_doc->pageCount()) {
        updateHistoryActions();
        return;
    }
    m_walkingHistory = true;
    onPageChosen(page);
    m_walkingHistory = false;
    onContentsEntryChosen();
    updateHistoryActions();
}

void ViewerWindow::updateHistoryActions() {
    m_actions.back->setEnabled(m_history.canGoBack());
    m_actions.forward->setEnabled(m_history.canGoForward());
}

void ViewerWindow::zoomTo(int percent) {
    Hourglass hourglass;
    m_pageView->setZoom(percent);
}

// A note in the status area, shown for a while; the area is there only while it speaks, so
// the window's layout stays as it is otherwise.
void ViewerWindow::showNote(const QString& text) {
    QStatusBar* bar = statusBar();
    bar->setObjectName(name(QStringLiteral("status")));
    bar->show();
    bar->showMessage(text);
    QTimer::singleShot(10000, bar, [bar, text] {
        if (bar->currentMessage() == text)
            bar->hide();
    });
}

QString ViewerWindow::statusNote() const {
    const QStatusBar* bar = findChild<QStatusBar*>();
    return bar && bar->isVisible() ? bar->currentMessage() : QString();
}

// ---------------------------------------------------------------------------------------
// Search

void ViewerWindow::startSearchAtCaret() {
    m_search->setFromStart(false);
    m_search->reset();
}

void ViewerWindow::chooseFirstPage() {
    m_pageView->showPage(1);
    m_currentPage = 1;
    // Both selections go through the lists' own handling, as a user's choice would.
    m_lists->chooseFirstPage();
    m_history.visit(1);
    rebuildTitle();
    updateHistoryActions();
}

void ViewerWindow::reportEnd(bool found) {
    // The pointer is the arrow while the message is up.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    m_dialogs.ask(this, TitleSearch, found ? MsgSearchFinished : MsgNoMatch,
                  Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    QGuiApplication::restoreOverrideCursor();
}

// ---------------------------------------------------------------------------------------
// Keys, mouse and painting

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client) {
        if (event->type() == QEvent::Resize)
            relayout();
        else if (event->type() == QEvent::Paint)
            paintSeparators();
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            close();
            return true;
        }
        // Backspace goes back, except where it deletes typed text; on the page with nowhere
        // to go back to it is a typed character the read-only page refuses.
        if (key->key() == Qt::Key_Backspace && key->modifiers() == Qt::NoModifier &&
            watched != m_searchBar->box() && m_history.canGoBack()) {
            goBack();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::BackButton || mouse->button() == Qt::ForwardButton) {
            mouse->button() == Qt::BackButton ? goBack() : goForward();
            return true;
        }
    }
    if (event->type() == QEvent::Wheel && watched == m_pageView->control().viewport()) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int steps = wheel->angleDelta().y();
            if (steps != 0)
                zoomTo(steps > 0 ? zoomedIn(m_pageView->zoom()) : zoomedOut(m_pageView->zoom()));
            return true;
        }
    }
    return false;
}

// A click in the page ends a divider drag and makes the next search start at the caret.
void ViewerWindow::onPageMouseRelease() {
    if (m_lists->isDraggingDivider())
        m_lists->endDividerDrag();
    m_lists->unsetCursor();
    startSearchAtCaret();
}

void ViewerWindow::paintSeparators() {
    QPainter painter(m_client);
    const QPalette& palette = m_client->palette();
    const int right = m_client->width() + twipsToPixels(200, Qt::Horizontal);
    const int offset = std::max(1, twipsToPixels(SeparatorHighlightOffset, Qt::Vertical));
    for (int yTwips : {SeparatorY1, SeparatorY2}) {
        const int y = twipsToPixels(yTwips, Qt::Vertical);
        painter.setPen(palette.color(QPalette::Mid));
        painter.drawLine(0, y, right, y);
        painter.setPen(palette.color(QPalette::Light));
        painter.drawLine(0, y + offset, right, y + offset);
    }
}

} // namespace quillo::viewer
