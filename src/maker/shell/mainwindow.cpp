#include "maker/shell/mainwindow.h"

#include "core/fileerror.h"
#include "core/text.h"
#include "maker/common/shelltexts.h"
#include "maker/common/windowgeometry.h"
#include "maker/entries/companionwindows.h"
#include "maker/entries/entrysession.h"
#include "maker/format/formatlogic.h"
#include "maker/format/indentruler.h"
#include "maker/format/pageformatting.h"
#include "maker/html/htmlcommands.h"
#include "maker/links/linkcommands.h"
#include "maker/search/searchwindow.h"
#include "maker/shell/shelllogic.h"
#include "maker/shell/toolbars.h"
#include "viewer/viewertexts.h"
#include "viewer/viewerwindow.h"
#include "winsvc/appenv.h"
#include "winsvc/hourglass.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/twips.h"
#include "winsvc/wincolor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

namespace quillo::maker {

MakerMainWindow::MakerMainWindow(Dialogs& dialogs, MakerEnvironment environment, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_env(std::move(environment)),
      m_copies(QStringLiteral("qzd32mk"), m_env.lockFolder), m_document(*this) {
    setObjectName(QStringLiteral("qzd32mk_main"));
    m_actions.build(menuBar());
    m_actions.recentHead->setData(0);
    buildEditorArea();
    // After the editor: the commands are refused while it loads a page.
    connectCommands();
    buildToolbars();
    m_links = new LinkCommands(m_document, *m_editor, m_dialogs, m_actions.setLink,
                               m_actions.removeLink, this);
    m_entrySession = new EntrySession(m_document, m_dialogs, m_actions, this);
    m_contents =
        new ContentsWindow(m_document, m_dialogs, *m_entrySession, this, m_settings.contentsWindow);
    m_keywords =
        new KeywordWindow(m_document, m_dialogs, *m_entrySession, this, m_settings.keywordWindow);
    m_entrySession->setWindows(m_contents, m_keywords);
    watchFileDrops();
    connect(m_contents, &ContentsWindow::newPageRequested, this, [this] { newPage(); });
    connect(m_contents, &ContentsWindow::insertPageRequested, this, [this] { insertPage(); });
    connect(m_contents, &ContentsWindow::deletePageRequested, this, [this] { deletePage(); });
    connect(m_contents, &ContentsWindow::undoPageRequested, this, [this] { undoPage(); });
    onCommand(m_actions.addContents,
              [this] { m_contents->titleFromSelection(m_editor->selText()); });
    onCommand(m_actions.addKeyword,
              [this] { m_keywords->keywordFromSelection(m_editor->selText()); });
    connect(&m_document, &MakerDocument::pagesChanged, this, &MakerMainWindow::refreshTitle);
    connect(&m_document, &MakerDocument::currentPageChanged, this, &MakerMainWindow::refreshTitle);
    connect(&m_document, &MakerDocument::nameChanged, this, &MakerMainWindow::refreshTitle);
    connect(m_contents, &CompanionWindow::closed, this,
            [this] { m_actions.showContents->setChecked(false); });
    connect(m_keywords, &CompanionWindow::closed, this,
            [this] { m_actions.showKeywords->setChecked(false); });
}

MakerMainWindow::~MakerMainWindow() = default;

// Keys, clicks and shortcuts are dropped while a page comes in; a command that reaches the
// window anyway then (from a timer or an assistive tool) is refused, so that nothing switches,
// stores or saves pages while the editor holds part of one.
void MakerMainWindow::onCommand(QAction* action, std::function<void()> run) {
    onTriggeredUnlessLoading(action, this, *m_editor, std::move(run));
}

void MakerMainWindow::connectCommands() {
    const MakerActions& a = m_actions;
    onCommand(a.fileNew, [this] { newFile(); });
    onCommand(a.fileOpen, [this] { openFile(); });
    onCommand(a.fileSave, [this] { saveFile(); });
    onCommand(a.fileSaveAs, [this] { saveFileAs(); });
    onCommand(a.exit, [this] { close(); });
    onCommand(a.nextPage, [this] { nextPage(); });
    onCommand(a.previousPage, [this] { previousPage(); });
    onCommand(a.newPage, [this] { newPage(); });
    onCommand(a.insertPage, [this] { insertPage(); });
    onCommand(a.deletePage, [this] { deletePage(); });
    onCommand(a.undoPage, [this] { undoPage(); });
    onCommand(a.search, [this] { openSearch(false); });
    onCommand(a.replace, [this] { openSearch(true); });
    onCommand(a.preview, [this] { preview(); });
    onCommand(a.showContents, [this] { toggleCompanion(m_contents, m_actions.showContents); });
    onCommand(a.showKeywords, [this] { toggleCompanion(m_keywords, m_actions.showKeywords); });
    onCommand(a.quickHelpQzd, [this] { showQuickHelp(quickHelpQzdText()); });
    onCommand(a.quickHelpBrowser, [this] { showQuickHelp(quickHelpBrowserText()); });
    onCommand(a.help, [this] { openOwnHelp(); });
    onCommand(a.homePage, [this] { openHomePage(); });
    onCommand(a.version, [this] { showVersion(); });
    onCommand(a.embedImage, [this] { openImageWindow(); });
    onCommand(a.textColour, [this] { openColourWindow(0); });
    onCommand(a.backColour, [this] { openColourWindow(1); });
    auto* html = new HtmlCommands(m_dialogs, m_document, this, m_env.outputFolder,
                                  [this] { return m_editor->backColor(); });
    onCommand(a.htmlShownPage, [html] { html->makeShownPage(); });
    onCommand(a.htmlAllPages, [html] { html->makeAllPages(); });
    onCommand(a.htmlWebHelp, [html] { html->makeWebHelp(); });
    onCommand(a.htmlView, [html] { html->openInBrowser(); });
}

// The toolbars, the font boxes and the ruler's position labels, and the formatting of the
// page editor they drive.
void MakerMainWindow::buildToolbars() {
    auto* main = addToolBar(QStringLiteral("Toolbar3"));
    main->setObjectName(QStringLiteral("Toolbar3"));
    main->setMovable(false);
    addToolBarBreak();
    auto* pages = addToolBar(QStringLiteral("Toolbar4"));
    pages->setObjectName(QStringLiteral("Toolbar4"));
    pages->setMovable(false);
    m_fontBox = new QComboBox(main);
    m_fontBox->setObjectName(QStringLiteral("Combo1"));
    m_fontBox->setAccessibleName(QStringLiteral("フォント"));
    // Wide enough for the Windows Japanese faces that pages name, measured in the font the
    // desktop gives the box: full-width names are far wider than eight Latin letters.
    int widestFace = 0;
    for (const QString& face : windowsJapaneseFontNames())
        widestFace = qMax(widestFace, m_fontBox->fontMetrics().horizontalAdvance(face));
    const int letter = qMax(1, m_fontBox->fontMetrics().horizontalAdvance(QLatin1Char('x')));
    m_fontBox->setMinimumContentsLength(qMax(8, (widestFace + letter - 1) / letter));
    m_fontBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_sizeBox = new QComboBox(main);
    m_sizeBox->setObjectName(QStringLiteral("Combo2"));
    m_sizeBox->setAccessibleName(QStringLiteral("フォントサイズ"));
    m_sizeBox->setEditable(true);
    m_sizeBox->lineEdit()->setAccessibleName(m_sizeBox->accessibleName());
    m_sizeBox->setMinimumContentsLength(3);

    FormattingControls controls;
    controls.window = this;
    controls.fontBox = m_fontBox;
    controls.sizeBox = m_sizeBox;
    controls.editMenu = m_actions.editMenuWidget();
    controls.editor = m_editor;
    controls.ruler = m_ruler;
    const EditCommands edits{m_actions.undo,  m_actions.copy,   m_actions.cut,
                             m_actions.paste, m_actions.remove, m_actions.selectAll};
    m_formatting = new PageFormatting(m_dialogs, controls, edits, m_ignoreNextChange, this);
    const auto runIfEnabled = [](QAction* action) {
        if (action->isEnabled())
            action->trigger();
    };
    connect(m_formatting, &PageFormatting::pageUpPressed, this,
            [this, runIfEnabled] { runIfEnabled(m_actions.previousPage); });
    connect(m_formatting, &PageFormatting::pageDownPressed, this,
            [this, runIfEnabled] { runIfEnabled(m_actions.nextPage); });

    fillToolbars(main, pages, m_actions, m_formatting->actions(), m_editor);
    // Small icons, and the font boxes after the page buttons, where the page toolbar has
    // room: so the window at its default size shows every button of both bars.
    for (QToolBar* bar : {main, pages})
        bar->setIconSize(QSize(16, 16));
    pages->addSeparator();
    pages->addWidget(m_fontBox);
    pages->addWidget(m_sizeBox);
    pages->addSeparator();
    for (IndentRuler::Side side : {IndentRuler::Left, IndentRuler::Right}) {
        m_ruler->positionLabel(side)->setContentsMargins(2, 0, 4, 0);
        pages->addWidget(m_ruler->positionLabel(side));
    }
}

void MakerMainWindow::buildEditorArea() {
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("editorArea"));
    setCentralWidget(area);
    m_rulerStrip = new QLabel(area);
    m_rulerStrip->setObjectName(QStringLiteral("Label1"));
    m_rulerStrip->setFrameShape(QFrame::Panel);
    m_rulerStrip->setFrameShadow(QFrame::Sunken);
    m_rulerText = new QLabel(m_rulerStrip);
    m_rulerText->setObjectName(QStringLiteral("Label5"));
    // A fixed-pitch face, so that the dots of the ruler are as wide as its digits.
    m_rulerText->setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 9));
    m_frame = new QLabel(area);
    m_frame->setObjectName(QStringLiteral("Label3"));
    m_frame->setAutoFillBackground(true);
    m_editor = new RichTextControl(area);
    m_editor->setObjectName(QStringLiteral("RichTextBox2"));
    m_editor->setAccessibleName(QStringLiteral("ページ"));
    m_editor->setFrameShape(QFrame::NoFrame);
    // A huge page comes in while the window paints and answers its close box.
    m_editor->setLoadServesEvents(true);
    connect(m_editor, &RichTextControl::contentChanged, this, &MakerMainWindow::onEditorChanged);
    // The frame around the editor shows the editor's background, whoever sets it.
    connect(m_editor, &RichTextControl::backColorChanged, this, [this](quint32 value) {
        QPalette palette = m_frame->palette();
        palette.setColor(QPalette::Window, windowsColorToQColor(value));
        m_frame->setPalette(palette);
    });
    m_ruler = new IndentRuler(area, this);
}

QString MakerMainWindow::settingsPath() const {
    return m_env.programFolder + QStringLiteral("/qzd32mk.ini");
}

QString MakerMainWindow::recentPath() const {
    return m_env.programFolder + QStringLiteral("/qzd32mkf.ini");
}

void MakerMainWindow::message(const QString& title, const QString& text, Dialogs::Icon icon) {
    // A start-up warning comes before the window is shown: a box over the hidden window
    // would make its native window early, and the desktop would then put the client area,
    // not the frame, at the window's corner.
    m_dialogs.ask(isVisible() ? this : nullptr, title, text, icon, Dialogs::Buttons::Ok);
}

bool MakerMainWindow::startUp(const QString& commandLinePath) {
    Hourglass hourglass;
    readSettings();
    readRecentList();
    setWindowTitle(QString::fromUtf8(MakerTitlePrefix));
    m_instanceCount = countInstances();
    if (!placeForRunningCopies()) {
        hourglass.release();
        message(QStringLiteral("qzd32mk 起動"), offScreenText(), Dialogs::Icon::Warning);
        m_endWithoutShutdown = true;
        return false;
    }
    newDocument();
    measureDigit();
    show();
    keepOnScreenWhenFramed(this, keepOnScreen);
    m_started = true;
    layoutEditor();
    fillFontLists();
    showCompanion(m_contents, m_actions.showContents);
    showCompanion(m_keywords, m_actions.showKeywords);
    refreshTitle();
    if (!commandLinePath.isEmpty())
        openFromCommandLine(commandLinePath);
    hourglass.release();
    m_editor->setFocus();
    refreshFormatting();
    return true;
}

void MakerMainWindow::readSettings() {
    const SettingsReadResult result = readSettingsFile(settingsPath(), m_settings);
    if (result.status == SettingsReadStatus::Failed)
        message(QStringLiteral("qzd32Maker 設定環境ﾌｧｲﾙ読込み"), settingsReadWarningText(),
                Dialogs::Icon::Warning);
    m_settingsReadFailed = !result.ok();
    m_settingsRead = m_settings;
    QAction* indent = m_actions.htmlIndent;
    if (m_settings.htmlIndent)
        indent->setChecked(*m_settings.htmlIndent);
    m_htmlIndentRead = indent->isChecked();
    // The default size is wide enough for every menu of the menu bar in the desktop's font,
    // so that none hides behind the bar's overflow button.
    if (!result.ok())
        m_settings.main.width =
            qMax(m_settings.main.width, pixelsToTwips(menuBar()->sizeHint().width()));
    placeOnScreen(this, m_settings.main, keepOnScreen);
    m_normalGeometry = m_settingsRead.main;
    m_editor->setBackColor(quint32(m_settings.editorBackColor));
}

int MakerMainWindow::countInstances() {
    m_copies.registerCopy();
    return m_copies.count() + (m_copies.isRegistered() ? 0 : 1);
}

bool MakerMainWindow::offScreenAfterOffset(const QWidget* window) const {
    const TwipsRect rect = twipsGeometry(window);
    return rect.top + 600 > screenHeightTwips() || rect.left + 600 > screenWidthTwips();
}

bool MakerMainWindow::placeForRunningCopies() {
    const int offset = (m_instanceCount - 1) * 300;
    TwipsRect main = twipsGeometry(this);
    main.top += offset;
    main.left += offset;
    setTwipsGeometry(this, main);
    if (offScreenAfterOffset(this))
        return false;
    for (CompanionWindow* window :
         {static_cast<CompanionWindow*>(m_contents), static_cast<CompanionWindow*>(m_keywords)}) {
        window->placeFromSettings();
        window->offsetBy(offset);
        if (offScreenAfterOffset(window))
            return false;
    }
    return true;
}

void MakerMainWindow::measureDigit() {
    const QFontMetrics metrics(m_rulerText->font());
    m_digitWidth = pixelsToTwips(metrics.horizontalAdvance(QLatin1Char('3')), Qt::Horizontal);
    m_digitHeight = pixelsToTwips(metrics.height(), Qt::Vertical);
}

void MakerMainWindow::fillFontLists() {
    m_fontBox->clear();
    m_sizeBox->clear();
    m_fontBox->setPlaceholderText(QStringLiteral("ﾍﾙﾌﾟ(H)参照"));
    m_sizeBox->setEditText(QString());
    // The Windows names pages use for Japanese text are offered beside the installed families.
    const FontTable table = buildFontTable(plainFontFamilies(
        m_env.screenFonts ? *m_env.screenFonts
                          : QFontDatabase::families() + windowsJapaneseFontNames()));
    const SelectionFormat format = m_editor->selectionFormat();
    m_fontBox->addItems(table.names);
    m_fontBox->setCurrentIndex(
        qMax(0, int(table.names.indexOf(format.fontName.value_or(QString())))));
    const QStringList sizes = fontSizeList();
    m_sizeBox->addItems(sizes);
    const QString size = format.fontSize ? QString::number(qRound(*format.fontSize)) : QString();
    const qsizetype sizeIndex = sizes.indexOf(size);
    m_sizeBox->setCurrentIndex(sizeIndex < 0 ? 1 : int(sizeIndex));
    if (table.overflowed)
        message(QStringLiteral("qzd32Maker 環境読込み"), tooManyFontsText(),
                Dialogs::Icon::Warning);
}

void MakerMainWindow::openFromCommandLine(const QString& path) {
    if (!fileTitleWithin(path)) {
        message(QStringLiteral("qzd32mk 関連付け起動"), fileTitleUnreadableText(path),
                Dialogs::Icon::Warning);
        return;
    }
    // The file is kept (title, recent list, later saves) by its full path, whatever the
    // folder the program was started in.
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    if (loadHelpFile(fullPath))
        m_lastFolder = fileDirectoryOf(fullPath);
}

// Layout -------------------------------------------------------------------------------

void MakerMainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized())
        return;
    if (!isMaximized() && !isFullScreen()) {
        for (CompanionWindow* window : {static_cast<CompanionWindow*>(m_contents),
                                        static_cast<CompanionWindow*>(m_keywords)}) {
            if (window && window->isVisible() && window->isMinimized())
                window->showNormal();
        }
    }
    const TwipsRect rect = twipsGeometry(this);
    if (rect.height < MinimumTwips || rect.width < MinimumTwips) {
        resize(twipsToPixels(qMax(rect.width, MinimumTwips), Qt::Horizontal),
               twipsToPixels(qMax(rect.height, MinimumTwips), Qt::Vertical));
        return;
    }
    rememberNormalGeometry();
    layoutEditor();
}

void MakerMainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    rememberNormalGeometry();
}

void MakerMainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        QApplication::restoreOverrideCursor();
        m_ruler->placeMarker(IndentRuler::Left, LeftMarkerHome);
        m_ruler->showPositions();
    }
}

void MakerMainWindow::rememberNormalGeometry() {
    if (m_started && !isMinimized() && !isMaximized() && !isFullScreen())
        m_normalGeometry = twipsGeometry(this);
}

void MakerMainWindow::layoutEditor() {
    const TwipsRect rect = twipsGeometry(this);
    const int editorHeight = rect.height - 2090;
    const int editorWidth = rect.width - 410;
    const int frameLeft = 60;
    const int rulerHeight = 330;
    const int frameTop = rulerHeight + 30;
    m_frame->setGeometry(twipsToPixels(frameLeft, Qt::Horizontal),
                         twipsToPixels(frameTop, Qt::Vertical),
                         twipsToPixels(editorWidth + 280, Qt::Horizontal),
                         twipsToPixels(qMax(0, editorHeight + 120), Qt::Vertical));
    m_editor->setGeometry(twipsToPixels(frameLeft + 140, Qt::Horizontal),
                          twipsToPixels(frameTop + 60, Qt::Vertical),
                          twipsToPixels(qMax(0, editorWidth), Qt::Horizontal),
                          twipsToPixels(qMax(0, editorHeight), Qt::Vertical));
    m_editor->setRightMargin(editorWidth - 300);
    m_ruler->setEditorGeometry(frameLeft + 140, frameTop + 60, editorWidth, editorHeight);
    rebuildRuler();
}

void MakerMainWindow::rebuildRuler() {
    if (m_digitWidth == 0 || m_digitHeight == 0)
        return;
    const QRect editor = m_editor->geometry();
    const int editorLeft = pixelsToTwips(editor.left(), Qt::Horizontal);
    const int stripLeft = editorLeft - 110;
    m_rulerText->setText(
        rulerText(rulerColumns(pixelsToTwips(editor.width(), Qt::Horizontal), m_digitWidth)));
    m_rulerText->adjustSize();
    m_rulerText->move(twipsToPixels(70, Qt::Horizontal), 1);
    // The strip reaches at least to the editor frame's right edge, so that the right
    // indent marker, which stands near the editor's right end, stays on it.
    const int frameRight = m_frame->geometry().right() + 1;
    const int stripLeftPixels = twipsToPixels(stripLeft, Qt::Horizontal);
    m_rulerStrip->setGeometry(stripLeftPixels, 0,
                              qMax(m_rulerText->width() + twipsToPixels(100, Qt::Horizontal),
                                   frameRight - stripLeftPixels),
                              twipsToPixels(330, Qt::Vertical));
    m_ruler->setStripGeometry(pixelsToTwips(m_rulerStrip->geometry().right() + 1, Qt::Horizontal),
                              330);
    m_ruler->showPositions();
}

// Title, lists and the editor's page ----------------------------------------------------

void MakerMainWindow::refreshTitle() {
    setWindowTitle(makerWindowTitle(m_document.displayPath(), m_document.currentPage(),
                                    m_document.pageCount()));
}

void MakerMainWindow::refreshFormatting() {
    m_formatting->refreshFromSelection();
}

void MakerMainWindow::onEditorChanged() {
    if (m_programEdits > 0)
        return;
    if (m_ignoreNextChange) {
        m_ignoreNextChange = false;
        return;
    }
    m_document.noteEditorEdit();
}

// An empty, unnamed document of one page, its background the window colour. The editor
// gets the empty page's own font and format, so that the document shown at start-up is the
// same as one made with 新規ﾌｧｲﾙ(N).
void MakerMainWindow::newDocument() {
    showEmptyPage();
    m_document.startUnnamed(qint32(SystemWindowColor));
    m_editor->setBackColor(SystemWindowColor);
    m_previewLayoutChanged = false;
}

void MakerMainWindow::clearChangeFlags() {
    m_document.clearChangeFlags();
    m_previewLayoutChanged = false;
}

// Shutdown ------------------------------------------------------------------------------

void MakerMainWindow::closeFromSystem() {
    m_closingFromSystem = true;
    close();
    m_closingFromSystem = false;
}

void MakerMainWindow::closeEvent(QCloseEvent* event) {
    if (m_endWithoutShutdown) {
        event->accept();
        return;
    }
    if (m_editor->isLoading()) {
        // Closed while a page comes in: the load stops, the part shown is never taken for the
        // page (it keeps its stored RTF), and the usual close runs once the load has returned.
        m_editor->cancelLoading();
        event->ignore();
        const bool fromSystem = m_closingFromSystem;
        QTimer::singleShot(0, this,
                           [this, fromSystem] { fromSystem ? closeFromSystem() : (void)close(); });
        return;
    }
    Hourglass hourglass;
    if (m_document.isModified() || m_previewLayoutChanged) {
        const QString text = exitQuestionText(m_document.displayPath(), m_document.isModified(),
                                              m_previewLayoutChanged);
        if (isMinimized() || isMaximized())
            showNormal();
        hourglass.release();
        const Dialogs::Answer answer = m_dialogs.ask(
            this, QStringLiteral("qzd32Maker 終了"), text, Dialogs::Icon::Information,
            m_closingFromSystem ? Dialogs::Buttons::YesNo : Dialogs::Buttons::YesNoCancel);
        // A save that did not happen (failed, refused or cancelled) keeps the window open,
        // so that the changes are not lost.
        if (answer == Dialogs::Answer::Cancel ||
            (answer == Dialogs::Answer::Yes && !saveForQuestion())) {
            event->ignore();
            showWholePageAgain();
            return;
        }
    }
    for (CompanionWindow* window :
         {static_cast<CompanionWindow*>(m_contents), static_cast<CompanionWindow*>(m_keywords)}) {
        if (window && window->isVisible())
            window->close();
    }
    if (m_search && m_search->isVisible())
        m_search->close();
    writeSettingsAtExit();
    writeRecentListAtExit();
    m_copies.unregisterCopy();
    event->accept();
    emit closed();
}

// The window stays open after a close that cut a page's load short: the page comes in again
// whole, so that the writer never edits the part shown (its edits could not be stored).
void MakerMainWindow::showWholePageAgain() {
    if (m_editor->holdsWholePage())
        return;
    QTimer::singleShot(0, this, [this] {
        if (!m_editor->isLoading() && !m_editor->holdsWholePage())
            m_document.showPage(m_document.currentPage());
    });
}

TwipsRect MakerMainWindow::mainGeometryToWrite() {
    if (isMinimized() || isMaximized() || isFullScreen())
        return m_normalGeometry;
    TwipsRect rect = twipsGeometry(this);
    if (rect.height > 30000 || rect.width > 30000) {
        if (rect.height > 30000)
            rect.height = 6000;
        if (rect.width > 30000)
            rect.width = 9000;
        setTwipsGeometry(this, rect);
    }
    return rect;
}

bool MakerMainWindow::settingsDiffer() {
    m_settings.editorBackColor = qint32(m_editor->backColor());
    m_settings.main = mainGeometryToWrite();
    MakerSettings asRead = m_settingsRead;
    asRead.htmlIndent = m_settings.htmlIndent;
    return !(m_settings == asRead) || m_actions.htmlIndent->isChecked() != m_htmlIndentRead;
}

void MakerMainWindow::writeSettingsAtExit() {
    if (!settingsDiffer() && !m_settingsReadFailed)
        return;
    if (countInstances() >= 2)
        return;
    const FileResult result =
        writeSettingsFile(settingsPath(), m_settings, m_actions.htmlIndent->isChecked());
    if (!result.ok())
        message(QStringLiteral("qzd32mk 初期化ﾌｧｲﾙ書込み"),
                settingsWriteWarningText(settingsPath(), result.errorNumber),
                Dialogs::Icon::Warning);
}

void MakerMainWindow::writeRecentListAtExit() {
    if (!m_recent.isDirty())
        return;
    const QString title = QStringLiteral("qzd32Maker ﾌｧｲﾙﾘｽﾄ更新");
    if (isReadOnlyFile(recentPath())) {
        message(title, recentWriteProtectedText(recentPath()), Dialogs::Icon::Warning);
        return;
    }
    const FileResult result = writeRecentFile(recentPath(), m_recent);
    if (!result.ok())
        message(title, recentWriteWarningText(recentPath(), result.errorNumber),
                Dialogs::Icon::Warning);
}

} // namespace quillo::maker
