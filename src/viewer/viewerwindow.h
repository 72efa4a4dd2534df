#pragma once

#include "core/helpdocument.h"
#include "viewer/pagetextcache.h"
#include "viewer/viewerlayout.h"
#include "viewer/viewertexts.h"

#include <QHash>
#include <QList>
#include <QMainWindow>

#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QMouseEvent;
class QPushButton;
class QTabWidget;
class QTimer;

namespace quillo {
class Dialogs;
class RichTextControl;
} // namespace quillo

namespace quillo::viewer {

class SearchBox;
class ViewerPrinting;

// The viewer window: one help document shown read-only, with the contents and keyword
// lists, the page, next and previous page, and a case-insensitive search over all pages.
// The viewer program shows a help file in it and writes changed display settings back into
// that file when it closes. The authoring program uses the same window as its preview,
// configured at construction: it shows the authoring program's document from a given page
// and hands its display settings back instead of writing a file.
class ViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        Variant variant = Variant::Viewer;
        // Preview: the authoring program's document, which outlives the window.
        HelpDocument* document = nullptr;
        // Preview: the page shown first.
        int startPage = 1;
        // Preview: the search text left from the previous preview.
        QString searchText;
        // Preview: the background of the authoring program's page editor (Windows colour).
        std::optional<quint32> pageBackColor;
    };

    explicit ViewerWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ViewerWindow(Dialogs& dialogs, Options options, QWidget* parent = nullptr);
    ~ViewerWindow() override;

    // Viewer start-up with the path from the command line (empty: start without a file).
    void startUp(const QString& commandLinePath);
    // Preview start-up: shows the authoring program's document.
    void openPreview();

    Variant variant() const { return m_options.variant; }
    const HelpDocument& document() const { return *m_doc; }
    int currentPage() const { return m_currentPage; }
    // The file that closing writes changed display settings into; empty when none.
    QString writeBackPath() const { return m_writeBackPath; }
    QString searchText() const;

signals:
    // Preview: the window closed; `settingsChanged` tells whether it changed the document's
    // display settings, `searchText` is kept for the next preview.
    void previewClosed(bool settingsChanged, const QString& searchText);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString name(const QString& command) const { return menuName(m_options.variant, command); }
    void buildControls();
    void buildMenus();

    // Document.
    bool readFile(const QString& path);
    void adoptDocument(int firstPage);
    void buildLists();
    void placeWindow();
    void finishLoading();
    void showPage(int page);
    void loadPageText(int page);
    void rebuildTitle();
    void selectContentsQuietly(int row);

    // Window geometry.
    WindowRect currentWindowRect() const;
    void applyWindowRect(const WindowRect& rect);
    void applyListWidth();
    void relayout();
    void recordResize();
    void refuseMaximise();
    bool settingsChangedSinceLoad() const;
    void takeWindowIntoSettings();
    void writeBack();

    // Commands and list events.
    void openCommand();
    void nextPage();
    void previousPage();
    void copyPageText();
    void selectAllPageText();
    void showHowTo();
    void showVersion();
    void openHomePage();
    void toggleFront(bool checked);
    void onContentsRowChanged(int row);
    void onKeywordRowChanged(int row);
    void onContentsDoubleClicked(QListWidgetItem* item);
    void onKeywordDoubleClicked(QListWidgetItem* item);

    // Search.
    void onSearchTextChanged(const QString& text);
    void resetSearchState();
    void runSearch();
    bool moveToNextPageHolding(const QString& needle);
    void restoreOrigin(int page, int start, int length, const QString& selected);

    // Mouse and keys.
    bool handlePageKey(QKeyEvent* event);
    bool handleDividerMouse(QWidget* watched, QMouseEvent* event);
    QListWidget* visibleList() const;
    void endDividerDrag();
    void onPageMouseRelease();
    void paintSeparators();

    Dialogs& m_dialogs;
    Options m_options;
    std::unique_ptr<HelpDocument> m_ownDocument;
    HelpDocument* m_doc = nullptr;
    PageTextCache m_pageTexts;
    QTimer* m_pageTextTimer = nullptr;

    QString m_fileTitle;
    QString m_fileDirectory;
    QString m_writeBackPath;
    int m_currentPage = 1;
    int m_loadedPage = 0; // page whose text the page control holds; 0 none
    QList<int> m_keywordPageMap;
    bool m_suppressListClick = false;

    // Display state.
    bool m_activated = false;
    bool m_wasMinimised = false;
    bool m_roundingHeight = false;
    WindowRect m_loadRect;
    qint16 m_loadListWidth = 0;
    qint16 m_loadTopmost = 0;
    qint16 m_loadWindowState = 0;
    WindowRect m_rectBeforeLastRecord;
    WindowRect m_lastRecordedRect;
    int m_shownListWidth = DefaultListWidth;

    // Divider drag.
    bool m_dragging = false;
    int m_dragStartX = 0;
    int m_dragStartListWidth = 0;
    int m_dragStartPanelWidth = 0;

    // Search state.
    int m_searchPage = 1;
    int m_searchPosition = 0;
    bool m_found = false;

    // Controls.
    QWidget* m_client = nullptr;
    QLabel* m_searchLabel = nullptr;
    SearchBox* m_searchBox = nullptr;
    QPushButton* m_searchButton = nullptr;
    QCheckBox* m_fromStart = nullptr;
    QTabWidget* m_tabs = nullptr;
    QListWidget* m_contents = nullptr;
    QListWidget* m_keywords = nullptr;
    QFrame* m_panel = nullptr;
    RichTextControl* m_page = nullptr;
    RichTextControl* m_printBuffer = nullptr;
    ViewerPrinting* m_printing = nullptr;
    QMenu* m_editMenu = nullptr;
    QAction* m_frontAction = nullptr;
    ViewerActions m_actions;
};

} // namespace quillo::viewer
