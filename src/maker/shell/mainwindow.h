#pragma once

#include "core/helpdocument.h"
#include "core/helpfile.h"
#include "core/pages.h"
#include "maker/shell/recentfiles.h"
#include "maker/shell/settingsfile.h"
#include "winsvc/dialogs.h"
#include "winsvc/runningcopies.h"

#include <QMainWindow>

#include <array>

class QAction;
class QComboBox;
class QLabel;
class QMenu;

namespace quillo {

class CompanionWindow;
class ContentsWindow;
class IndentRuler;
class KeywordWindow;
class PageFormatting;
class RichTextControl;
namespace viewer {
class ViewerWindow;
}

// Where the authoring window finds its files and what it asks the platform for.
struct MakerEnvironment {
    QString programFolder; // qzd32mk.ini and qzd32mkf.ini
    QString lockFolder;    // running-copy registry; empty: the user's runtime folder
    QString viewerProgram; // the viewer started by ﾍﾙﾌﾟ(H)
    QString helpFile;      // the programs' own help file
    // The screen's font names; the font database's families when not given.
    std::optional<QStringList> screenFonts;
};

// The one-step page undo: what the last page command did, so that it can be reversed. The
// reversal records itself, so undoing twice redoes.
struct PageUndo {
    enum State { Nothing = 0, Inserted = 1, Deleted = 2, Appended = 3, Running = 4 };
    State state = Nothing;
    int insertedPage = 0;
    int deletedPage = 0;
    int appendedPage = 0;
    // The deleted page was the document's only one: it was emptied, not removed.
    bool deletedOnlyPage = false;
    PageContent deleted; // text, contents title and keywords of the deleted page
};

// `qzd32mk_main`: the authoring window around the page editor, with its menus, file
// commands, settings and recent files, companion windows and shutdown.
class MakerMainWindow : public QMainWindow {
    Q_OBJECT
public:
    enum class TitleMode { TitleOnly = 0, SelectKeyword = 1, SelectContents = 2 };
    // What the last page command added or removed, for the entry dialog's cancel.
    enum class EntryMode { NewPage = 0, InsertedPage = 2, DeletedPage = 3 };

    MakerMainWindow(Dialogs& dialogs, MakerEnvironment environment, QWidget* parent = nullptr);
    ~MakerMainWindow() override;

    // Runs the start-up and shows the window; false when the program must end at once.
    bool startUp(const QString& commandLinePath);

    // A close request from the desktop session (log-out, shut-down): the unsaved-change
    // question offers Yes and No only.
    void closeFromSystem();

    // State the other windows of the program work on.
    HelpDocument& document() { return m_doc; }
    const QString& fileTitle() const { return m_fileTitle; }
    int currentPage() const { return m_currentPage; }
    bool documentChanged() const { return m_documentChanged; }
    bool pageChanged(int page) const { return m_pageChanged[page]; }
    bool ignoreNextChange() const { return m_ignoreNextChange; }
    const PageUndo& pageUndo() const { return m_undo; }
    EntryMode entryMode() const { return m_entryMode; }
    // document_changed as it was before the last page command.
    bool savedDocumentChanged() const { return m_savedDocumentChanged; }
    bool previewLayoutChanged() const { return m_previewLayoutChanged; }
    int saveError() const { return m_saveError; }
    int instanceCount() const { return m_instanceCount; }
    const TwipsRect& normalGeometry() const { return m_normalGeometry; }
    const RecentFiles& recentFiles() const { return m_recent; }
    viewer::ViewerWindow* previewWindow() const { return m_preview; }
    RichTextControl* editor() const { return m_editor; }
    ContentsWindow* contentsWindow() const { return m_contents; }
    KeywordWindow* keywordWindow() const { return m_keywords; }
    QString lastFolder() const { return m_lastFolder; }

    // Procedures shared with the page, entry and formatting commands.
    void refreshTitle(TitleMode mode);
    void storeCurrentPage();
    void newDocument();
    void clearDocument();
    void resetEditorPage();
    void clearChangeFlags();
    void fillLists();
    // The editor's mouse-up refresh: toolbars, font boxes and ruler follow the selection.
    void refreshFormatting();
    // Removes the page the last new-page or insert-page command added, without asking and
    // without marking the document changed, and puts the page undo back as it was before
    // that command. Nothing happens on a document's only page.
    void deletePageSilently();

    // The smallest height and width of the window.
    static constexpr int MinimumTwips = 3000;

signals:
    // The window accepted a close request and ran its shutdown.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Page commands.
    void nextPage();
    void previousPage();
    void newPage();
    void insertPage();
    void deletePage();
    void undoPage();
    // Empties the page-undo record and the copy kept for the entry dialog's cancel.
    void forgetPageUndo();
    void keepForEntryCancel(EntryMode mode);
    void insertPageAtCurrent();
    void removeCurrentPage();
    void showCurrentPage();

    // Start-up.
    void buildMenus();
    void buildToolbars();
    void buildEditorArea();
    void readSettings();
    void readRecentList();
    int countInstances();
    bool placeForRunningCopies();
    bool offScreenAfterOffset(const QWidget* window) const;
    void measureDigit();
    void fillFontLists();
    void openFromCommandLine(const QString& path);

    // Layout.
    void layoutEditor();
    void rebuildRuler();
    void rememberNormalGeometry();

    // File commands.
    void newFile();
    void openFile();
    bool saveFile();   // overwrite save; save-as for an unnamed document
    bool saveFileAs(); // save-as
    bool saveForQuestion();
    QString lastFolderOrCurrent() const;
    bool askAboutChanges(const QString& title);
    bool loadHelpFile(const QString& path);
    bool writeDocument(const QString& path, const QString& title);
    void showPageInEditor();
    void chooseRecentFile(int index);
    void rebuildRecentMenu();
    void addRecentFile(const QString& path);

    // Shutdown.
    bool settingsDiffer();
    void writeSettingsAtExit();
    void writeRecentListAtExit();
    TwipsRect mainGeometryToWrite();

    // Preview, window and help commands.
    void preview();
    void toggleCompanion(CompanionWindow* window, QAction* item);
    void showCompanion(CompanionWindow* window, QAction* item);
    void showQuickHelp(const QString& text);
    void openOwnHelp();
    void openHomePage();
    void showVersion();

    void onEditorChanged();
    void message(const QString& title, const QString& text, Dialogs::Icon icon);
    QString settingsPath() const;
    QString recentPath() const;
    bool isUnnamed() const;
    QAction* action(const char* name) const;

    Dialogs& m_dialogs;
    MakerEnvironment m_env;
    RunningCopies m_copies;

    HelpDocument m_doc;
    QString m_fileTitle;
    int m_currentPage = 1;
    std::array<bool, MaxPages + 1> m_pageChanged{};
    bool m_documentChanged = false;
    bool m_previewLayoutChanged = false;
    bool m_settingsReadFailed = false;
    int m_programEdits = 0;          // > 0 while the program itself changes the editor
    bool m_ignoreNextChange = false; // the next change notification is the program's own
    PageUndo m_undo;
    PageUndo m_undoBeforeCommand; // as it was before the last page command
    EntryMode m_entryMode = EntryMode::NewPage;
    bool m_savedDocumentChanged = false;
    int m_saveError = 0;
    int m_instanceCount = 1;
    QString m_lastFolder;

    MakerSettings m_settings;     // current values, written at exit
    MakerSettings m_settingsRead; // as read (or defaulted) at start-up
    TwipsRect m_normalGeometry;
    bool m_htmlIndentRead = false;
    RecentFiles m_recent;

    int m_digitWidth = 0;
    int m_digitHeight = 0;
    bool m_started = false;
    bool m_endWithoutShutdown = false;
    bool m_closingFromSystem = false;

    RichTextControl* m_editor = nullptr;
    QLabel* m_frame = nullptr;      // Label3
    QLabel* m_rulerStrip = nullptr; // Label1
    QLabel* m_rulerText = nullptr;  // Label5
    QComboBox* m_fontBox = nullptr; // Combo1
    QComboBox* m_sizeBox = nullptr; // Combo2
    IndentRuler* m_ruler = nullptr;
    PageFormatting* m_formatting = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentHead = nullptr;      // entry 0 of the recent list
    QAction* m_recentEnd = nullptr;       // the separator after it
    QList<QAction*> m_recentEntries;      // entries 1..
    ContentsWindow* m_contents = nullptr; // owned companions, alive as long as the window
    KeywordWindow* m_keywords = nullptr;
    viewer::ViewerWindow* m_preview = nullptr; // while the preview is open
    QString m_previewSearchText;               // kept from one preview to the next
};

} // namespace quillo
