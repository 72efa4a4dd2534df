#include "viewer/viewerwindow.h"

#include "core/helpfile.h"
#include "core/keywords.h"
#include "core/pages.h"
#include "core/text.h"
#include "viewer/searchbox.h"
#include "viewer/viewerprinting.h"
#include "winsvc/dialogs.h"
#include "winsvc/hourglass.h"
#include "winsvc/placement.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/twips.h"
#include "winsvc/wincolor.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindowStateChangeEvent>

namespace quillo::viewer {

namespace {

constexpr int MaxPathSeparators = 10;
const QString OpenFilter = QStringLiteral("Quilloﾌｧｲﾙ (*.qzd)");
const QString OpenCaption = QStringLiteral("開く");

QRect toPixels(const QRect& twips) {
    return QRect(
        twipsToPixels(twips.left(), Qt::Horizontal), twipsToPixels(twips.top(), Qt::Vertical),
        twipsToPixels(twips.width(), Qt::Horizontal), twipsToPixels(twips.height(), Qt::Vertical));
}

int separatorCount(const QString& path) {
    return int(path.count(QLatin1Char('/')) + path.count(QLatin1Char('\\')));
}

// The selected row of a single-selection list; -1 when nothing is selected.
int selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

QString withoutTrailingBlanks(QString text) {
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

} // namespace

ViewerWindow::ViewerWindow(Dialogs& dialogs, QWidget* parent)
    : ViewerWindow(dialogs, Options{}, parent) {}

ViewerWindow::ViewerWindow(Dialogs& dialogs, Options options, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_options(std::move(options)) {
    if (m_options.variant == Variant::Preview && m_options.document) {
        m_doc = m_options.document;
    } else {
        m_ownDocument = std::make_unique<HelpDocument>();
        m_doc = m_ownDocument.get();
    }
    setObjectName(m_options.variant == Variant::Preview ? QStringLiteral("qzd32mk_prev")
                                                        : QStringLiteral("qzd32_main"));
    setWindowTitle(emptyWindowTitle(m_options.variant));
    buildControls();
    buildMenus();

    // The plain texts the search looks into are made while the user reads the first page.
    m_pageTextTimer = new QTimer(this);
    m_pageTextTimer->setInterval(0);
    connect(m_pageTextTimer, &QTimer::timeout, this, [this] {
        if (!m_pageTexts.makeNext())
            m_pageTextTimer->stop();
    });
}

ViewerWindow::~ViewerWindow() = default;

QString ViewerWindow::searchText() const {
    return m_searchBox->text();
}

// ---------------------------------------------------------------------------------------
// Construction

void ViewerWindow::buildControls() {
    m_client = new QWidget(this);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);

    m_searchLabel = new QLabel(QStringLiteral("検索文字"), m_client);
    m_searchLabel->setObjectName(QStringLiteral("Label1"));

    m_searchBox = new SearchBox(m_dialogs, m_client);
    m_searchBox->setObjectName(QStringLiteral("Text1"));
    connect(m_searchBox, &QLineEdit::textChanged, this, &ViewerWindow::onSearchTextChanged);
    connect(m_searchBox, &QLineEdit::returnPressed, this, &ViewerWindow::runSearch);

    m_searchButton = new QPushButton(QStringLiteral("検索"), m_client);
    m_searchButton->setObjectName(QStringLiteral("Command1"));
    m_searchButton->setAutoDefault(false);
    connect(m_searchButton, &QPushButton::clicked, this, &ViewerWindow::runSearch);

    m_fromStart = new QCheckBox(QStringLiteral("最初から検索"), m_client);
    m_fromStart->setObjectName(QStringLiteral("Check1"));
    connect(m_fromStart, &QCheckBox::toggled, this, &ViewerWindow::resetSearchState);

    for (const auto& [widget, rect] : {std::pair<QWidget*, QRect>{m_searchLabel, SearchLabelRect},
                                       {m_searchBox, SearchBoxRect},
                                       {m_searchButton, SearchButtonRect},
                                       {m_fromStart, FromStartCheckRect}}) {
        // The fixed places of the search bar; never smaller than the text needs.
        QRect r = toPixels(rect);
        const QSize hint = widget->sizeHint();
        r.setWidth(std::max(r.width(), hint.width()));
        const int height = std::max(r.height(), hint.height());
        r.moveTop(std::max(0, r.top() - (height - r.height()) / 2));
        r.setHeight(height);
        widget->setGeometry(r);
    }

    m_tabs = new QTabWidget(m_client);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->setMouseTracking(true);
    m_tabs->tabBar()->setMouseTracking(true);
    m_tabs->installEventFilter(this);
    m_tabs->tabBar()->installEventFilter(this);
    auto makeListPage = [this](const QString& listName, const QString& caption) {
        auto* page = new QWidget;
        auto* layout = new QHBoxLayout(page);
        layout->setContentsMargins(4, 4, 0, 4);
        auto* list = new QListWidget(page);
        list->setObjectName(listName);
        list->setMouseTracking(true);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
        layout->addWidget(list);
        layout->addStretch(1);
        m_tabs->addTab(page, caption);
        return list;
    };
    m_contents = makeListPage(QStringLiteral("List1"), QStringLiteral("目次"));
    m_keywords = makeListPage(QStringLiteral("List2"), QStringLiteral("ｷｰﾜｰﾄﾞ"));
    // A list reacts to what the user selects. The current item alone is not a choice: a list
    // that gets the keyboard focus without one makes its first item current, which must not
    // show that item's page.
    connect(m_contents, &QListWidget::itemSelectionChanged, this,
            [this] { onContentsRowChanged(selectedRow(m_contents)); });
    connect(m_keywords, &QListWidget::itemSelectionChanged, this,
            [this] { onKeywordRowChanged(selectedRow(m_keywords)); });
    connect(m_contents, &QListWidget::itemDoubleClicked, this,
            &ViewerWindow::onContentsDoubleClicked);
    connect(m_keywords, &QListWidget::itemDoubleClicked, this,
            &ViewerWindow::onKeywordDoubleClicked);

    m_panel = new QFrame(m_client);
    m_panel->setObjectName(QStringLiteral("Text2"));
    m_panel->setFrameShape(QFrame::StyledPanel);
    m_panel->setFrameShadow(QFrame::Sunken);
    m_panel->setAutoFillBackground(true);

    m_page = new RichTextControl(m_client);
    m_page->setObjectName(QStringLiteral("RichTextBox2"));
    m_page->setReadOnly(true);
    m_page->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_page->setFrameShape(QFrame::NoFrame);
    m_page->setContextMenuPolicy(Qt::NoContextMenu);
    m_page->installEventFilter(this);
    m_page->viewport()->installEventFilter(this);

    // The print buffer of the printing commands; never shown.
    m_printBuffer = new RichTextControl(m_client);
    m_printBuffer->setObjectName(QStringLiteral("RichTextBox1"));
    m_printBuffer->setReadOnly(true);
    m_printBuffer->hide();

    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_searchBox),
                       static_cast<QWidget*>(m_searchButton)})
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
}

// ---------------------------------------------------------------------------------------
// Start-up, opening and showing pages

void ViewerWindow::startUp(const QString& commandLinePath) {
    Hourglass hourglass;
    m_currentPage = 1;
    setWindowState(Qt::WindowNoState);
    m_tabs->setCurrentIndex(0);
    if (!commandLinePath.isEmpty()) {
        if (separatorCount(commandLinePath) > MaxPathSeparators) {
            hourglass.release();
            m_dialogs.ask(this, TitleAssociation, commandLinePath + MsgFileTitleUnreadable,
                          Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
        } else if (!readFile(commandLinePath)) {
            hourglass.release();
        }
    }
    placeWindow();
    hourglass.release();
    finishLoading();
}

void ViewerWindow::openPreview() {
    Hourglass hourglass;
    m_tabs->setCurrentIndex(0);
    adoptDocument(qBound(1, m_options.startPage, std::max<int>(1, m_doc->pageCount())));
    placeWindow();
    hourglass.release();
    finishLoading();
}

bool ViewerWindow::readFile(const QString& path) {
    // Read into a document of its own, so that a file that fails to read leaves what is
    // shown, and the file it came from, untouched.
    auto fresh = std::make_unique<HelpDocument>();
    const ReadResult result = readHelpFile(path, *fresh, Reader::Viewer);
    if (!result.ok()) {
        m_dialogs.ask(this, TitleOpen, MsgWrongFormat, Dialogs::Icon::Warning,
                      Dialogs::Buttons::Ok);
        return false;
    }
    fresh->filePath = path;
    *m_doc = std::move(*fresh);
    m_fileTitle = fileTitleOf(path);
    m_fileDirectory = fileDirectoryOf(path);
    m_writeBackPath = path;
    adoptDocument(1);
    return true;
}

void ViewerWindow::adoptDocument(int firstPage) {
    m_pageTexts.reset(m_doc);
    m_loadedPage = 0;
    const quint32 back =
        m_options.pageBackColor.value_or(quint32(m_doc->displaySettings.backColor));
    QPalette palette = m_panel->palette();
    palette.setColor(QPalette::Window, windowsColorToQColor(back, palette));
    m_panel->setPalette(palette);
    m_page->setBackColor(back);
    buildLists();
    if (m_doc->pageCount() > 0) {
        showPage(firstPage);
    } else {
        m_page->clear();
        setWindowTitle(emptyWindowTitle(m_options.variant));
    }
    m_pageTextTimer->start();
}

void ViewerWindow::buildLists() {
    m_suppressListClick = true;
    m_keywords->clear();
    m_keywordPageMap.clear();
    QStringList keywordLines;
    for (const KeywordEntry& e : sortedKeywordEntries(*m_doc)) {
        keywordLines << withoutTrailingBlanks(e.keyword);
        m_keywordPageMap << e.page;
    }
    m_keywords->addItems(keywordLines);
    m_contents->clear();
    m_contents->addItems(contentsLines(*m_doc));
    m_suppressListClick = false;
}

void ViewerWindow::placeWindow() {
    DisplaySettings& s = m_doc->displaySettings;
    if (windowState() & Qt::WindowMaximized)
        setWindowState(Qt::WindowNoState);
    const int screenW = screenWidthTwips();
    const int screenH = screenHeightTwips();
    const CheckedPlacement placed = m_options.variant == Variant::Preview
                                        ? checkedPreviewPlacement(s, screenW, screenH)
                                        : checkedViewerPlacement(s, screenW, screenH);
    if (placed.usedDefaults || m_options.variant == Variant::Preview)
        storeWindowRect(s, placed.rect);
    applyWindowRect(placed.rect);
    if (s.windowState == 2) {
        setWindowState(Qt::WindowMaximized);
        m_loadRect = windowRectOf(s);
    } else {
        m_loadRect = currentWindowRect();
    }
    m_frontAction->setChecked(s.topmost == 1);
    windowSetPos(this, s.topmost == 1);
}

void ViewerWindow::finishLoading() {
    m_fromStart->setChecked(true);
    resetSearchState();
    applyListWidth();
    const DisplaySettings& s = m_doc->displaySettings;
    m_loadListWidth = s.listWidth;
    m_loadTopmost = s.topmost;
    m_loadWindowState = s.windowState;
}

void ViewerWindow::showPage(int page) {
    m_currentPage = page;
    loadPageText(page);
    rebuildTitle();
}

void ViewerWindow::loadPageText(int page) {
    if (page == m_loadedPage)
        return;
    m_page->setRtf(m_doc->page(page).rtf);
    m_loadedPage = page;
}

void ViewerWindow::rebuildTitle() {
    setWindowTitle(
        viewer::windowTitle(m_options.variant, m_fileTitle, m_currentPage, m_doc->pageCount()));
    selectContentsQuietly(m_currentPage - 1);
    m_searchPage = m_currentPage;
}

void ViewerWindow::selectContentsQuietly(int row) {
    if (m_contents->currentRow() == row && selectedRow(m_contents) == row)
        return;
    // The change event this causes is the program's own, not the user's choice.
    m_suppressListClick = true;
    m_contents->setCurrentRow(row);
    m_suppressListClick = false;
}

// ---------------------------------------------------------------------------------------
// Window geometry and display settings

WindowRect ViewerWindow::currentWindowRect() const {
    const DisplaySettings& s = m_doc->displaySettings;
    const double h = twipsPerPixel(Qt::Horizontal);
    const double v = twipsPerPixel(Qt::Vertical);
    return {twipsKeeping(y(), s.windowTop, v), twipsKeeping(x(), s.windowLeft, h),
            twipsKeeping(height(), s.windowHeight, v), twipsKeeping(width(), s.windowWidth, h)};
}

void ViewerWindow::applyWindowRect(const WindowRect& r) {
    move(twipsToPixels(r.left, Qt::Horizontal), twipsToPixels(r.top, Qt::Vertical));
    resize(twipsToPixels(r.width, Qt::Horizontal),
           twipsToPixels(roundedDownHeight(r.height), Qt::Vertical));
}

void ViewerWindow::applyListWidth() {
    DisplaySettings& s = m_doc->displaySettings;
    s.listWidth = qint16(effectiveListWidth(s.listWidth));
    m_shownListWidth = s.listWidth;
    relayout();
}

void ViewerWindow::relayout() {
    const QSize clientTwips(pixelsToTwips(m_client->width(), Qt::Horizontal),
                            pixelsToTwips(m_client->height(), Qt::Vertical));
    const ClientLayout l = layoutFor(clientTwips, m_shownListWidth);
    m_tabs->setGeometry(toPixels(l.tab));
    const int listPixels = twipsToPixels(m_shownListWidth, Qt::Horizontal);
    m_contents->setFixedWidth(listPixels);
    m_keywords->setFixedWidth(listPixels);
    m_panel->setGeometry(toPixels(l.panel));
    m_page->setGeometry(toPixels(l.pageText));
    m_panel->raise();
    m_page->raise();
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
        const double v = twipsPerPixel(Qt::Vertical);
        const int rounded = twipsToPixels(roundedDownHeight(pixelsToTwips(height(), v)), v);
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
    if (!m_activated)
        return;
    DisplaySettings& s = m_doc->displaySettings;
    if (isMaximized()) {
        // Refused at once when the window is to stay in front.
        if (s.topmost != 1)
            s.windowState = 2;
        return;
    }
    if (windowState() != Qt::WindowNoState)
        return;
    m_rectBeforeLastRecord = windowRectOf(s);
    m_lastRecordedRect = currentWindowRect();
    storeWindowRect(s, m_lastRecordedRect);
    s.windowState = 0;
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
    DisplaySettings& s = m_doc->displaySettings;
    // Some desktops report the maximised size before the state: that size is not the
    // window's normal size, so the one recorded before it stays.
    if (m_activated && m_lastRecordedRect == currentWindowRect())
        storeWindowRect(s, m_rectBeforeLastRecord);
    if (s.topmost == 1)
        QMetaObject::invokeMethod(this, &ViewerWindow::refuseMaximise, Qt::QueuedConnection);
    else if (m_activated)
        s.windowState = 2;
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
            m_searchBox->setText(m_options.searchText);
            m_searchBox->selectAll();
        }
        m_client->update();
    }
    return QMainWindow::event(event);
}

void ViewerWindow::takeWindowIntoSettings() {
    if (isMinimized() || isMaximized())
        return;
    DisplaySettings& s = m_doc->displaySettings;
    storeWindowRect(s, currentWindowRect());
    s.listWidth = qint16(m_shownListWidth);
}

bool ViewerWindow::settingsChangedSinceLoad() const {
    const DisplaySettings& s = m_doc->displaySettings;
    return windowRectOf(s) != m_loadRect || s.listWidth != m_loadListWidth ||
           s.topmost != m_loadTopmost || s.windowState != m_loadWindowState;
}

void ViewerWindow::writeBack() {
    // The settings go into the file as it is now, so that whatever was saved into it while
    // it was shown is kept; a file that was removed or cannot be read is left alone.
    const QString path = m_writeBackPath;
    if (!QFileInfo::exists(path))
        return;
    auto current = std::make_unique<HelpDocument>();
    if (!readHelpFile(path, *current, Reader::Viewer).ok())
        return;
    const DisplaySettings& s = m_doc->displaySettings;
    DisplaySettings& out = current->displaySettings;
    storeWindowRect(out, windowRectOf(s));
    out.listWidth = s.listWidth;
    out.topmost = s.topmost;
    out.windowState = s.windowState;
    saveHelpFile(path, *current); // a read-only file stays as it is, without a message
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
    if (m_options.variant == Variant::Preview) {
        takeWindowIntoSettings();
        emit previewClosed(settingsChangedSinceLoad(), m_searchBox->text());
    } else if (!m_writeBackPath.isEmpty()) {
        takeWindowIntoSettings();
        if (settingsChangedSinceLoad())
            writeBack();
    }
    m_pageTextTimer->stop();
    event->accept();
}

// ---------------------------------------------------------------------------------------
// Commands

void ViewerWindow::openCommand() {
    if (m_options.variant == Variant::Preview)
        return;
    if (m_fileDirectory.isEmpty())
        m_fileDirectory = QDir::currentPath() + QLatin1Char('/');
    windowSetPos(this, false);
    const QString path = m_dialogs.openFileName(this, OpenCaption, m_fileDirectory, OpenFilter);
    if (m_doc->displaySettings.topmost == 1)
        windowSetPos(this, true);
    if (path.isEmpty())
        return;
    Hourglass hourglass;
    if (!readFile(path))
        return;
    placeWindow();
    hourglass.release();
    finishLoading();
}

void ViewerWindow::nextPage() {
    if (m_currentPage >= m_doc->pageCount())
        return;
    Hourglass hourglass;
    showPage(m_currentPage + 1);
    visibleList()->setFocus();
}

void ViewerWindow::previousPage() {
    if (m_currentPage <= 1 || m_doc->pageCount() == 0)
        return;
    Hourglass hourglass;
    showPage(m_currentPage - 1);
}

void ViewerWindow::copyPageText() {
    Hourglass hourglass;
    m_page->copy();
}

void ViewerWindow::selectAllPageText() {
    m_page->select(0, m_page->textLength());
    m_page->setFocus();
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

void ViewerWindow::onContentsRowChanged(int row) {
    if (m_suppressListClick) {
        m_suppressListClick = false;
        return;
    }
    const QListWidgetItem* item = m_contents->item(row);
    const std::optional<ListEntry> entry = item ? parseListEntry(item->text()) : std::nullopt;
    if (!entry || entry->page < 1 || entry->page > m_doc->pageCount())
        return;
    std::optional<Hourglass> hourglass;
    if (entry->page != m_currentPage) {
        if (m_activated)
            hourglass.emplace();
        showPage(entry->page);
    }
    if (m_activated) {
        m_fromStart->setChecked(false);
        resetSearchState();
    }
}

void ViewerWindow::onKeywordRowChanged(int row) {
    if (m_suppressListClick) {
        m_suppressListClick = false;
        return;
    }
    if (row < 0 || row >= m_keywordPageMap.size())
        return;
    const int page = m_keywordPageMap[row];
    if (page == m_currentPage)
        return;
    Hourglass hourglass;
    showPage(page);
}

void ViewerWindow::onContentsDoubleClicked(QListWidgetItem* item) {
    const std::optional<ListEntry> entry = parseListEntry(item->text());
    m_searchBox->setText(entry ? entry->text : QString());
    runSearch();
}

void ViewerWindow::onKeywordDoubleClicked(QListWidgetItem* item) {
    m_searchBox->setText(item->text());
    runSearch();
}

// ---------------------------------------------------------------------------------------
// Search

void ViewerWindow::onSearchTextChanged(const QString& text) {
    if (text.size() > SearchTextLimit) {
        m_dialogs.ask(this, TitleSearch, MsgSearchTextTooLong, Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
        m_searchBox->setText(text.left(SearchTextLimit)); // resets the state in turn
        return;
    }
    resetSearchState();
}

void ViewerWindow::resetSearchState() {
    m_searchPosition = 0;
    m_found = false;
    if (m_fromStart->isChecked()) {
        m_searchPage = 1;
        m_searchButton->setText(CaptionFromStart);
    } else {
        m_searchPage = m_currentPage;
        m_searchButton->setText(CaptionFromCaret);
    }
}

// Steps the search page forward to the next page whose plain text holds the needle and
// shows it, without loading the pages between; false when no later page holds it.
bool ViewerWindow::moveToNextPageHolding(const QString& needle) {
    int page = m_searchPage + 1;
    while (page <= m_doc->pageCount() && !m_pageTexts.pageHolds(page, needle))
        ++page;
    if (page > m_doc->pageCount())
        return false;
    m_searchPage = page;
    showPage(page); // selects the page's contents entry quietly
    m_searchPage = page;
    m_searchPosition = 0;
    return true;
}

void ViewerWindow::runSearch() {
    const QString needle = m_searchBox->text();
    if (needle.isEmpty()) {
        m_dialogs.ask(this, TitleSearch, MsgSearchTextNeeded, Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
        m_searchBox->setFocus();
        return;
    }
    const QString originText = m_page->selText();
    const int originLength = int(needle.size());
    const int originPage = m_currentPage;
    const int originStart = m_page->selStart();
    const int originSelLength = m_page->selLength();

    Hourglass hourglass;
    m_page->setUpdatesEnabled(false);
    if (m_searchButton->text() == CaptionFromStart && m_doc->pageCount() > 0) {
        loadPageText(1);
        m_searchPosition = 0;
        m_currentPage = 1;
        m_searchPage = 1;
        // Both selections go through the lists' own handling, as a user's choice would.
        m_contents->setCurrentRow(0);
        m_keywords->setCurrentRow(-1);
        rebuildTitle();
    } else {
        m_searchPosition = originStart + originSelLength;
    }
    m_searchButton->setText(CaptionSearching);

    bool more = m_doc->pageCount() > 0;
    while (more) {
        if (m_page->find(needle, m_searchPosition) >= 0) {
            fitSelectionToCharacterCount(*m_page, int(needle.size()));
            m_page->setUpdatesEnabled(true);
            m_page->ensureCursorVisible();
            m_searchButton->setText(CaptionFindNext);
            hourglass.release();
            // Clearing a set tick resets the state (and the caption); the hit just shown still
            // counts, so that running past the last hit reports the end of the search and not
            // that nothing matches.
            m_fromStart->setChecked(false);
            m_found = true;
            m_searchPosition = m_page->selStart() + m_page->selLength();
            m_suppressListClick = false;
            return;
        }
        more = m_searchPage < m_doc->pageCount() && moveToNextPageHolding(needle);
    }
    if (m_doc->pageCount() > 0)
        restoreOrigin(originPage, originStart, originLength, originText);
    m_page->setUpdatesEnabled(true);
    hourglass.release();
    m_dialogs.ask(this, TitleSearch, m_found ? MsgSearchFinished : MsgNoMatch,
                  Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    m_fromStart->setChecked(true);
    resetSearchState();
    m_suppressListClick = false;
}

void ViewerWindow::restoreOrigin(int page, int start, int length, const QString& selected) {
    m_currentPage = page;
    loadPageText(page);
    rebuildTitle();
    for (int s = start; s >= std::max(0, start - 10); --s) {
        m_page->setSelStart(s);
        fitSelectionToCharacterCount(*m_page, length);
        if (m_page->selText().compare(selected, Qt::CaseInsensitive) == 0)
            return;
    }
    m_page->setSelStart(start);
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
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            close();
            return true;
        }
        if (watched == m_page)
            return handlePageKey(key);
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == m_tabs || watched == m_tabs->tabBar())
            return handleDividerMouse(static_cast<QWidget*>(watched), mouse);
        if (watched == m_page->viewport()) {
            if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
                m_editMenu->popup(mouse->globalPosition().toPoint());
                return true;
            }
            if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
                onPageMouseRelease();
            else if (event->type() == QEvent::MouseMove)
                m_tabs->unsetCursor();
            return false;
        }
        if (watched == m_contents->viewport() || watched == m_keywords->viewport()) {
            if (event->type() == QEvent::MouseMove)
                m_tabs->unsetCursor();
            if (m_dragging)
                endDividerDrag();
        }
        return false;
    }
    default:
        break;
    }
    return false;
}

bool ViewerWindow::handlePageKey(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    // Copy and select-all are the only keys that reach a read-only page.
    const bool control = event->modifiers() & Qt::ControlModifier;
    const QChar c = text.front();
    if (c == QChar(3) || c == QChar(1) ||
        (control && (event->key() == Qt::Key_C || event->key() == Qt::Key_A)))
        return false;
    m_dialogs.ask(this, TitlePageText, MsgReadOnly, Dialogs::Icon::Information,
                  Dialogs::Buttons::Ok);
    return true;
}

QListWidget* ViewerWindow::visibleList() const {
    return m_tabs->currentIndex() == 0 ? m_contents : m_keywords;
}

bool ViewerWindow::handleDividerMouse(QWidget* watched, QMouseEvent* event) {
    const QPoint pos = watched->mapTo(m_tabs, event->position().toPoint());
    const QListWidget* list = visibleList();
    const int listRight = list->mapTo(m_tabs, QPoint(list->width(), 0)).x();
    const int panelLeft = m_panel->x() - m_tabs->x();
    const bool inBand = pos.y() < twipsToPixels(DividerBandHeight, Qt::Vertical);
    const bool inGap = inBand && pos.x() >= listRight && pos.x() < panelLeft;
    switch (event->type()) {
    case QEvent::MouseMove:
        if (m_dragging) {
            const int delta = pixelsToTwips(pos.x() - m_dragStartX, Qt::Horizontal);
            if (dividerMoveAccepted(m_dragStartListWidth, m_dragStartPanelWidth, delta)) {
                m_shownListWidth = m_dragStartListWidth + delta;
                relayout();
            }
            return true;
        }
        if (inGap)
            m_tabs->setCursor(Qt::SizeHorCursor);
        else if (inBand)
            m_tabs->unsetCursor();
        return false;
    case QEvent::MouseButtonPress:
        if (!inGap || event->button() != Qt::LeftButton)
            return false;
        m_dragging = true;
        m_dragStartX = pos.x();
        m_dragStartListWidth = m_shownListWidth;
        m_dragStartPanelWidth = pixelsToTwips(m_panel->width(), Qt::Horizontal);
        return true;
    case QEvent::MouseButtonRelease:
        if (!m_dragging)
            return false;
        endDividerDrag();
        return true;
    default:
        return false;
    }
}

void ViewerWindow::endDividerDrag() {
    m_dragging = false;
    m_doc->displaySettings.listWidth = qint16(m_shownListWidth);
}

void ViewerWindow::onPageMouseRelease() {
    if (m_dragging)
        endDividerDrag();
    m_tabs->unsetCursor();
    m_fromStart->setChecked(false);
    resetSearchState();
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
