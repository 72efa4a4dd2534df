#pragma once

#include "core/helpdocument.h"
#include "viewer/displaysettingstracker.h"
#include "viewer/helptopic.h"
#include "viewer/pagehistory.h"
#include "viewer/pagesearch.h"
#include "viewer/viewerlayout.h"
#include "viewer/viewertexts.h"

#include <QHash>
#include <QMainWindow>

#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace quillo {
class Dialogs;
class RichTextControl;
} // namespace quillo

namespace quillo::viewer {

class HelpChannel;
class ListsPanel;
class PageView;
class SearchBar;
class ViewerPrinting;

// The viewer window: one help document shown read-only, with the contents and keyword
// lists, the page, next and previous page, and a case-insensitive search over all pages.
// The viewer program shows a help file in it and writes changed display settings back into
// that file when it closes. The authoring program uses the same window as its preview,
// configured at construction: it shows the authoring program's document from a given page
// and hands its display settings back instead of writing a file.
class ViewerWindow : public QMainWindow, private PageSearch::Pages {
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
    int currentPage() const override { return m_currentPage; }
    // The file that closing writes changed display settings into; empty when none.
    QString writeBackPath() const { return m_writeBackPath; }
    QString searchText() const;
    // The pages shown so far, for going back and forward.
    const PageHistory& history() const { return m_history; }
    // The note in the status area; empty when none is shown.
    QString statusNote() const;
    // Shows a topic an application asked for: its page, or for a keyword on several pages the
    // keyword tab with the keyword chosen; an unknown topic shows page 1 with a note.
    void showTopic(const HelpTopic& topic);
    // Whether the window answers topic calls for the file it shows.
    bool answersTopicCalls() const;
    // Follows a link's target: a page of the document, or a web address in the browser.
    void followLink(const QString& target);

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
    WindowRect placeWindow();
    CheckedPlacement checkedPlacement(const FrameMargins& frame) const;
    void placeAgainInFrame();
    QWidget* boxParent();
    void finishLoading(const WindowRect& rectAtLoad);
    void showPage(int page) override;
    void rebuildTitle();

    // Window geometry and display settings.
    void applyListWidth();
    void relayout();
    void recordResize();
    void refuseMaximise();

    // Commands and list events.
    void openCommand();
    // Opens the help file as the open command does once a file is chosen.
    void openPath(const QString& path);
    void filesDropped(const QStringList& files);
    void nextPage();
    void previousPage();
    void copyPageText();
    void selectAllPageText();
    void showHowTo();
    void showVersion();
    void openHomePage();
    void toggleFront(bool checked);
    void onPageChosen(int page);
    void onContentsEntryChosen();
    void goBack();
    void goForward();
    void showHistoryPage(int page);
    void updateHistoryActions();
    QString describeLink(const QString& target) const;
    void showNote(const QString& text);
    void zoomTo(int percent);

    // Search.
    void startSearchAtCaret();
    void chooseFirstPage() override;
    void reportEnd(bool found) override;

    // Keys, mouse and painting.
    void onPageMouseRelease();
    void paintSeparators();

    Dialogs& m_dialogs;
    Options m_options;
    std::unique_ptr<HelpDocument> m_ownDocument;
    HelpDocument* m_doc = nullptr;
    DisplaySettingsTracker m_tracker;

    QString m_fileTitle;
    QString m_fileDirectory;
    QString m_writeBackPath;
    int m_currentPage = 1;

    bool m_activated = false;
    bool m_wasMinimised = false;
    bool m_roundingHeight = false;
    bool m_placing = false; // the window is being placed for a document

    // Controls.
    QWidget* m_client = nullptr;
    SearchBar* m_searchBar = nullptr;
    ListsPanel* m_lists = nullptr;
    PageView* m_pageView = nullptr;
    RichTextControl* m_printBuffer = nullptr;
    PageSearch* m_search = nullptr;
    ViewerPrinting* m_printing = nullptr;
    QMenu* m_editMenu = nullptr;
    PageHistory m_history;
    HelpChannel* m_channel = nullptr; // the viewer program only
    bool m_walkingHistory = false;
    QAction* m_frontAction = nullptr;
    ViewerActions m_actions;
};

} // namespace quillo::viewer
