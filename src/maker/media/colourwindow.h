#pragma once

#include "maker/common/settingsfile.h"
#include "maker/media/toolwindow.h"
#include "winsvc/dialogs.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;

namespace quillo {
class RichTextControl;
}

namespace quillo::maker {

class ColourBox;
class MakerDocument;
class SwatchStrip;

// What the colour window works on: the page editor, the document's change bookkeeping, the
// main window's flag for change notifications the program causes itself, and the settings
// that keep the window's offsets, saved colours, tab and target.
struct ColourWindowParts {
    Dialogs* dialogs = nullptr;
    MakerDocument* document = nullptr;
    RichTextControl* editor = nullptr;
    bool* ignoreNextChange = nullptr;
    DialogOffset* offset = nullptr; // must be given
    ColourSettings* colours = nullptr;
};

// `qzd32mk_colr`: sets the colour of the selected text or the background of the page editor,
// from a fixed palette, a mixed colour or up to 10 saved colours. Colours apply at once; the
// window stays open until "設定終了" or Esc.
class ColourWindow : public ToolWindow {
    Q_OBJECT
public:
    ColourWindow(const ColourWindowParts& parts, QWidget* mainWindow);

    // Shows the window for a target: 0 the selected text, 1 the editor's background.
    void open(int target);

private:
    QWidget* buildPaletteTab();
    QWidget* buildDetailTab();
    QPushButton* finishButton(const char* name, QWidget* parent);
    QPushButton* systemButton(const char* name, QWidget* parent);

    int target() const;
    void setTarget(int target);
    void showTab();
    quint32 startingColour() const;
    void showOnBars(quint32 value);
    void drawSaved();

    void applyColour(quint32 value);
    void setSelectionColour(quint32 value);
    void setBackground(quint32 value);
    void restoreSelection();

    void onPalettePressed(int index, Qt::MouseButton button);
    void onPreviewPressed();
    void onSavedPressed(int index, Qt::MouseButton button, const QPoint& position);
    void deleteSavedColour();
    void deleteAllSavedColours();
    void onSystemColourText();
    void onSystemColourBackground();

    ColourWindowParts m_p;
    QTabWidget* m_tabs = nullptr;     // SSTab1
    QLabel* m_label = nullptr;        // Label1
    QRadioButton* m_text = nullptr;   // Option1
    QRadioButton* m_back = nullptr;   // Option2
    SwatchStrip* m_palette = nullptr; // Picture1
    SwatchStrip* m_saved = nullptr;   // Picture3
    ColourBox* m_preview = nullptr;   // Picture2
    QScrollBar* m_red = nullptr;
    QScrollBar* m_green = nullptr;
    QScrollBar* m_blue = nullptr;
    QPushButton* m_systemPalette = nullptr; // Command4
    QPushButton* m_systemDetail = nullptr;  // Command2
    QMenu* m_savedMenu = nullptr;           // ColorSet
    int m_paletteIndex = 0;                 // the swatch last pressed
    int m_selLength = 0;                    // the selection length before it collapsed
    bool m_collapsed = false;
    QPoint m_menuPosition;
};

} // namespace quillo::maker
