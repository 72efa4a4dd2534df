#pragma once

#include "core/twipsrect.h"
#include "maker/common/makeractions.h"
#include "maker/common/recentfiles.h"
#include "maker/common/settingsfile.h"
#include "maker/document/makerdocument.h"
#include "maker/document/pageview.h"
#include "winsvc/dialogs.h"
#include "winsvc/runningcopies.h"

#include <QMainWindow>

#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;

namespace quillo {
class RichTextControl;
namespace viewer {
class ViewerWindow;
}
} // namespace quillo

namespace quillo::maker {

class ColourWindow;
class CompanionWindow;
class ImageWindow;
struct ImageWindowParts;
class ContentsWindow;
class EntrySession;
class IndentRuler;
class KeywordWindow;
class LinkCommands;
class PageFormatting;
class SearchWindow;

// Where the authoring window finds its files and what it asks the platform for.
struct MakerEnvironment {
    QString programFolder; // qzd32mk.ini and qzd32mkf.ini
    QString outputFolder;  // the HTML sites
    QString lockFolder;    // running-copy registry; empty: the user's runtime folder
    QString viewerProgram; // the viewer started by ﾍﾙﾌﾟ(H)
    QString helpFile;      // the programs' own help file
    // The screen's font names; the font database's families when not given.
    std::optional<QStringList> screenFonts;
};

// `qzd32mk_main`: the authoring window around the page editor, with its menus, file
// commands, settings and recent files, companion windows and shutdown. Its page editor is
// the document's view of the current page.
class MakerMainWindow : public QMainWindow, private PageView {
    Q_OBJECT
public:
    MakerMainWindow(Dialogs& dialogs, MakerEnvironment environment, QWidget* parent = nullptr);
    ~MakerMainWindow() override;

    // Runs the start-up and shows the window; false when the program must end at once.
    bool startUp(const QString& commandLinePath);

    // A close request from the desktop session (log-out, shut-down): the unsaved-change
    // question offers Yes and No only.
    void closeFromSystem();

    // The document the other windows of the program work on.
    MakerDocument& document() { return m_document; }
    bool ignoreNextChange() const { return m_ignoreNextChange; }
    bool previewLayoutChanged() const { return m_previewLayoutChanged; }
    int saveError() const { return m_saveError; }
    int instanceCount() const { return m_instanceCount; }
    const TwipsRect& normalGeometry() const { return m_normalGeometry; }
    const RecentFiles& recentFiles() const { return m_recent; }
    viewer::ViewerWindow* previewWindow() const { return m_preview; }
    quillo::RichTextControl* editor() const { return m_editor; }
    ContentsWindow* contentsWindow() const { return m_contents; }
    KeywordWindow* keywordWindow() const { return m_keywords; }
    // The search and replace window once it has been opened (it is kept, hidden, after).
    SearchWindow* searchWindow() const { return m_search; }
    // The tool windows, once opened (they are kept, hidden, after closing).
    ImageWindow* imageWindow() const { return m_imageWindow; }
    ColourWindow* colourWindow() const { return m_colourWindow; }
    EntrySession* entrySession() const { return m_entrySession; }
    LinkCommands* linkCommands() const { return m_links; }
    QString lastFolder() const { return m_lastFolder; }

    // The editor's mouse-up refresh: toolbars, font boxes and ruler follow the selection.
    void refreshFormatting();

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

    // The page editor as the document's view.
    QByteArray shownRtf() const override;
    void showRtf(const QByteArray& rtf) override;
    void showEmptyPage() override;
    bool isLoadingPage() const override;
    bool holdsWholePage() const override;
    void showWholePageAgain();
    void refreshTitle();
    void newDocument();
    void clearChangeFlags();

    // Start-up.
    void onCommand(QAction* action, std::function<void()> run);
    void connectCommands();
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
    // File > Open; with `given`, that file instead of one chosen in the dialog (a dropped file).
    void openFile(const QString& given = {});
    // Files dropped on the window: a help file opens as File > Open does, pictures are
    // embedded at the drop point, anything else is refused with a message.
    void filesDropped(const QStringList& files, QWidget* target, QPoint position);
    void watchFileDrops();
    bool saveFile();   // overwrite save; save-as for an unnamed document
    bool saveFileAs(); // save-as
    bool saveForQuestion();
    QString lastFolderOrCurrent() const;
    bool askAboutChanges(const QString& title);
    bool loadHelpFile(const QString& path);
    bool writeDocument(const QString& path, const QString& title);
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
    // The image and colour windows.
    void openImageWindow();
    // What the image window and dropped pictures embed with.
    ImageWindowParts imageParts();
    void openColourWindow(int target);
    void showVersion();
    void openSearch(bool replace);

    void onEditorChanged();
    void message(const QString& title, const QString& text, Dialogs::Icon icon);
    QString settingsPath() const;
    QString recentPath() const;

    Dialogs& m_dialogs;
    MakerEnvironment m_env;
    RunningCopies m_copies;

    MakerDocument m_document;
    bool m_previewLayoutChanged = false;
    bool m_settingsReadFailed = false;
    int m_programEdits = 0;          // > 0 while the program itself changes the editor
    bool m_ignoreNextChange = false; // the next change notification is the program's own
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

    quillo::RichTextControl* m_editor = nullptr;
    QLabel* m_frame = nullptr;      // Label3
    QLabel* m_rulerStrip = nullptr; // Label1
    QLabel* m_rulerText = nullptr;  // Label5
    QComboBox* m_fontBox = nullptr; // Combo1
    QComboBox* m_sizeBox = nullptr; // Combo2
    IndentRuler* m_ruler = nullptr;
    PageFormatting* m_formatting = nullptr;
    MakerActions m_actions;
    QList<QAction*> m_recentEntries;        // entries 1.. of the recent list
    EntrySession* m_entrySession = nullptr; // the entry dialog while it is open
    LinkCommands* m_links = nullptr;
    ContentsWindow* m_contents = nullptr; // owned companions, alive as long as the window
    KeywordWindow* m_keywords = nullptr;
    SearchWindow* m_search = nullptr;     // made on first use
    ImageWindow* m_imageWindow = nullptr; // made when first opened
    ColourWindow* m_colourWindow = nullptr;
    viewer::ViewerWindow* m_preview = nullptr; // while the preview is open
    QString m_previewSearchText;               // kept from one preview to the next
};

} // namespace quillo::maker
