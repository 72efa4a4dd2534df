#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTextEdit>
#include <QtGlobal>

#include <functional>
#include <optional>

class QAction;
class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace quillo {

// Formatting of the selection. Reading it gives no value for a property the selection
// mixes; writing it changes only the properties that hold a value.
struct SelectionFormat {
    std::optional<QString> fontName;
    std::optional<double> fontSize; // points
    std::optional<quint32> color;   // Windows colour value 0x00BBGGRR
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;
    std::optional<int> alignment; // AlignLeft, AlignRight, AlignCenter (AlignJustify read only)
    std::optional<bool> bullet;
    std::optional<int> leftIndent;  // twips from the editor's left edge
    std::optional<int> rightIndent; // twips from the editor's right edge

    static constexpr int AlignLeft = 0;
    static constexpr int AlignRight = 1;
    static constexpr int AlignCenter = 2;
    static constexpr int AlignJustify = 3; // pages from word processors may carry it

    bool operator==(const SelectionFormat&) const = default;
};

// The rich-text control both programs show pages in: the page editor of the authoring
// program and the page text of the viewer. Content goes in and out as RTF (the page's
// stored form); positions are the control's own, one per UTF-16 unit of its plain text, a
// paragraph end counting one.
class RichTextControl : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextControl(QWidget* parent = nullptr);

    // Replaces content and formatting with the page read from RTF. Loading is not an edit:
    // it leaves nothing to undo.
    void setRtf(QByteArrayView rtf);
    // A page is read in slices of about 100 ms. With this on, the window's events are served
    // between slices while it is shown: a huge page shows as it comes and the close box
    // answers, while keys and clicks during the load are dropped (the hourglass shows).
    void setLoadServesEvents(bool serves) { m_loadServesEvents = serves; }
    bool isLoading() const { return m_loading; }
    // Ends a load that serves events where it has come to; the page shows what was read.
    void cancelLoading() { m_loadCancelled = true; }
    // False while a page comes in and after a load that was cancelled: the control then shows
    // only part of the page it was given, which must not be taken for the page.
    bool holdsWholePage() const { return m_holdsWholePage; }
    // The whole content as a complete 7-bit RTF document.
    QByteArray rtf() const;
    QString plainText() const;
    int textLength() const;

    int selStart() const;
    // Puts the caret at `position` (clamped to the text) with an empty selection.
    void setSelStart(int position);
    int selLength() const;
    // Selects `length` positions from the selection start (clamped to the text).
    void setSelLength(int length);
    void select(int start, int length);
    QString selText() const;
    // Replaces the selection by `text` (an empty text deletes it); the caret ends after it.
    void setSelText(const QString& text);

    SelectionFormat selectionFormat() const;
    void setSelectionFormat(const SelectionFormat& format);

    // Width in twips at which lines wrap; 0 wraps at the control's width.
    void setRightMargin(int twips);
    int rightMargin() const { return m_rightMargin; }

    // The background as a Windows colour value; a system colour is kept as such and shown
    // with the current palette.
    void setBackColor(quint32 value);
    quint32 backColor() const { return m_backColor; }

    // Searches forward from `start` for `text` ending at or before `end` (-1: the end of
    // the text). Selects the match and returns its position, or -1.
    int find(const QString& text, int start, int end = -1, bool matchCase = false);

    // The display line (0-based, wrapped lines counted) that holds `position`.
    int lineFromPosition(int position) const;

    // Renders the whole content onto a print job the caller has begun, starting a new
    // device page wherever the content needs one.
    void printOnto(QPainter& painter, QPagedPaintDevice& device) const;
    // Prints the whole content as one job of its own.
    bool print(QPrinter& printer) const;

    // Deletes the selection.
    void clearSelection();
    // Undoes the last edit; undoing again redoes it, as a one-level undo does.
    void undoLastEdit();
    bool canUndoLastEdit() const;

    // Inserts the picture in `path` at the caret; false, inserting nothing, when the file
    // cannot be read or is not a picture.
    bool insertPicture(const QString& path);

    // Called by a handler of keyDown, keyPress, the mouse signals or textDropped while it
    // runs: the control then skips its own handling of that event (a typed character is
    // not inserted, a drop does not insert its text).
    void consumeEvent() { m_consumed = true; }

signals:
    void contentChanged();
    // The background was set (to a new value or the same).
    void backColorChanged(quint32 value);
    void keyDown(QKeyEvent* event);
    void keyPress(QKeyEvent* event);
    void mouseDown(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseUp(QMouseEvent* event);
    // Text dropped onto the control from another control or program.
    void textDropped(const QString& text, int position);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Pasted or dropped rich text goes in as the page will keep it when saved (what the page
    // cannot store is normalised away first), so the editor never shows what is not saved.
    void insertFromMimeData(const QMimeData* source) override;
    // A copy carries the selection as page RTF too, so that pasting it into a page keeps
    // everything the page keeps (pictures with their own data).
    QMimeData* createMimeDataFromSelection() const override;
    void changeEvent(QEvent* event) override;

private:
    void applyBackColor();
    QColor automaticTextColor() const;
    void onContentsChanged();
    int clampPosition(int position) const;
    // Emits `signal` for the event; true when a handler consumed it.
    template <typename Event>
    bool consumedBy(void (RichTextControl::*signal)(Event*), Event* event);

    bool betweenLoadSlices();
    void stepOverTableSeam();

    quint32 m_backColor;
    int m_rightMargin = 0;
    bool m_loadServesEvents = false;
    bool m_loading = false;
    bool m_loadCancelled = false;
    bool m_holdsWholePage = true;
    bool m_lastEditWasUndo = false;
    bool m_undoing = false;
    bool m_consumed = false;
    int m_lastCaret = 0; // the caret's position before it last moved
};

// Runs `run` each time `action` is triggered, unless `control` is loading a page then: keys,
// clicks and shortcuts are dropped during a load, and a command that reaches the window
// anyway (from a timer or an assistive tool) is refused, so that it never acts on part of a
// page. The connection lasts as long as `context`.
void onTriggeredUnlessLoading(QAction* action, QObject* context, const RichTextControl& control,
                              std::function<void()> run);

// Adjusts the selection so that its text has exactly `wanted` characters: where the
// selection length and the length of the selected text disagree, it widens the selection
// up to 10 positions, then narrows it up to 10, until they agree.
void fitSelectionToCharacterCount(RichTextControl& control, int wanted);

} // namespace quillo
