#pragma once

#include "core/helpdocument.h"

#include <QList>
#include <QTabWidget>

class QListWidget;
class QListWidgetItem;
class QMouseEvent;

namespace quillo::viewer {

// The tab control of the viewer window (`SSTab1`) with its two lists: the contents list
// (`List1`, one entry per page) on the first tab and the sorted keyword list (`List2`, one
// entry per keyword occurrence) on the second. Choosing an entry tells which page to show;
// double-clicking one tells its text to search for. The divider between the lists and the
// page is operated in the band of the tab captions: dragging it there tells the new list
// width, which the window applies to both lists.
class ListsPanel : public QTabWidget {
    Q_OBJECT
public:
    explicit ListsPanel(QWidget* parent = nullptr);

    QListWidget* contentsList() const { return m_contents; }
    QListWidget* keywordList() const { return m_keywords; }
    // The list of the tab that is showing.
    QListWidget* visibleList() const;

    // Fills both lists for a document, keyword list first; no entry is chosen by it.
    void fill(const HelpDocument& doc);
    // Marks the contents entry of `page` as the shown one without it counting as a choice.
    void showPageEntry(int page);
    // Chooses page 1 in the contents list and nothing in the keyword list, as a user would.
    void chooseFirstPage();
    // Shows the keyword tab with the first entry of `keyword` chosen (case ignored), as a
    // user's click would; false when the list has no such keyword.
    bool chooseKeyword(const QString& keyword);

    // Both lists `twips` wide.
    void setListWidth(int twips);
    int listWidth() const { return m_listWidth; }
    // The widget whose left edge ends the divider's gap (the page background panel).
    void setPageEdge(QWidget* edge) { m_pageEdge = edge; }
    bool isDraggingDivider() const { return m_dragging; }
    // Ends a divider drag; the list width reached is told by listWidthChosen.
    void endDividerDrag();

signals:
    void pageChosen(int page);
    // A contents entry was chosen (after pageChosen): the search starts at the page shown.
    void contentsEntryChosen();
    void entryDoubleClicked(const QString& text);
    // While the divider is dragged: the lists have taken a new width.
    void listWidthDragged(int twips);
    // The divider was let go at this list width in twips.
    void listWidthChosen(int twips);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* addList(const QString& name, const QString& caption);
    void onContentsSelectionChanged();
    void onKeywordSelectionChanged();
    bool handleDividerMouse(QWidget* watched, QMouseEvent* event);

    QListWidget* m_contents = nullptr;
    QListWidget* m_keywords = nullptr;
    QWidget* m_pageEdge = nullptr;
    QList<int> m_keywordPages; // the page of each keyword entry, by row
    bool m_suppressListClick = false;

    // Divider drag.
    bool m_dragging = false;
    int m_dragStartX = 0;
    int m_dragStartListWidth = 0;
    int m_dragStartPanelWidth = 0;
    int m_listWidth = 0; // twips
};

} // namespace quillo::viewer
