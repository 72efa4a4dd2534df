#include "viewer/listspanel.h"

#include "core/keywords.h"
#include "core/pages.h"
#include "core/text.h"
#include "viewer/viewerlayout.h"
#include "winsvc/twips.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTabBar>

#include <algorithm>
#include <iterator>
#include <optional>

namespace quillo::viewer {

namespace {

// The selected row of a single-selection list; -1 when nothing is selected.
int selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

// A list of the panel. A list that gets the focus without a chosen entry marks its first
// entry current without choosing it; a moving key that stays on that entry (Home on the
// first) then chooses it, as moving to any other entry does.
class EntryList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        QListWidget::keyPressEvent(event);
        static constexpr Qt::Key Moving[] = {Qt::Key_Home, Qt::Key_End,    Qt::Key_Up,
                                             Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
        QListWidgetItem* current = currentItem();
        if (current && !current->isSelected() &&
            std::find(std::begin(Moving), std::end(Moving), event->key()) != std::end(Moving))
            setCurrentItem(current, QItemSelectionModel::ClearAndSelect);
    }
};

// List rows as tall as their font needs: some fonts draw the underscore below their
// descent, where a row of the font's height would let it fall into the row below.
class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QFontMetrics& metrics = option.fontMetrics;
        // How far the lowest glyphs, with a blank pixel line under them, reach below the
        // font's descent; the text is centred in its row, so the row grows by twice that.
        const int below =
            metrics.boundingRect(QStringLiteral("_gjpqy")).bottom() + 2 - metrics.descent();
        if (below > 0)
            size.setHeight(size.height() + 2 * below);
        return size;
    }
};

QString withoutTrailingBlanks(QString text) {
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

} // namespace

ListsPanel::ListsPanel(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("SSTab1"));
    setAccessibleName(QStringLiteral("目次とｷｰﾜｰﾄﾞ"));
    setMouseTracking(true);
    tabBar()->setMouseTracking(true);
    installEventFilter(this);
    tabBar()->installEventFilter(this);
    m_contents = addList(QStringLiteral("List1"), QStringLiteral("目次"));
    m_keywords = addList(QStringLiteral("List2"), QStringLiteral("ｷｰﾜｰﾄﾞ"));
    // A list reacts to what the user selects. The current item alone is not a choice: a list
    // that gets the keyboard focus without one makes its first item current, which must not
    // show that item's page.
    connect(m_contents, &QListWidget::itemSelectionChanged, this,
            &ListsPanel::onContentsSelectionChanged);
    connect(m_keywords, &QListWidget::itemSelectionChanged, this,
            &ListsPanel::onKeywordSelectionChanged);
    connect(m_contents, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const std::optional<ListEntry> entry = parseListEntry(item->text());
        emit entryDoubleClicked(entry ? entry->text : QString());
    });
    connect(m_keywords, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit entryDoubleClicked(item->text()); });
}

QListWidget* ListsPanel::addList(const QString& name, const QString& caption) {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 4, 0, 4);
    auto* list = new EntryList(page);
    list->setObjectName(name);
    list->setAccessibleName(caption);
    list->setItemDelegate(new EntryDelegate(list));
    list->setUniformItemSizes(true);
    list->setMouseTracking(true);
    list->viewport()->installEventFilter(this);
    layout->addWidget(list);
    layout->addStretch(1);
    addTab(page, caption);
    return list;
}

QListWidget* ListsPanel::visibleList() const {
    return currentIndex() == 0 ? m_contents : m_keywords;
}

void ListsPanel::fill(const HelpDocument& doc) {
    m_suppressListClick = true;
    m_keywords->clear();
    m_keywordPages.clear();
    QStringList keywordLines;
    for (const KeywordEntry& e : sortedKeywordEntries(doc)) {
        keywordLines << withoutTrailingBlanks(e.keyword);
        m_keywordPages << e.page;
    }
    m_keywords->addItems(keywordLines);
    m_contents->clear();
    m_contents->addItems(contentsLines(doc));
    m_suppressListClick = false;
}

void ListsPanel::showPageEntry(int page) {
    const int row = page - 1;
    if (m_contents->currentRow() == row && selectedRow(m_contents) == row)
        return;
    // The change event this causes is the program's own, not the user's choice.
    m_suppressListClick = true;
    m_contents->setCurrentRow(row);
    m_suppressListClick = false;
}

void ListsPanel::chooseFirstPage() {
    m_contents->setCurrentRow(0);
    m_keywords->setCurrentRow(-1);
}

bool ListsPanel::chooseKeyword(const QString& keyword) {
    for (int row = 0; row < m_keywords->count(); ++row)
        if (m_keywords->item(row)->text().compare(keyword.trimmed(), Qt::CaseInsensitive) == 0) {
            setCurrentIndex(1);
            m_keywords->setCurrentRow(row);
            return true;
        }
    return false;
}

void ListsPanel::onContentsSelectionChanged() {
    if (m_suppressListClick) {
        m_suppressListClick = false;
        return;
    }
    const QListWidgetItem* item = m_contents->item(selectedRow(m_contents));
    const std::optional<ListEntry> entry = item ? parseListEntry(item->text()) : std::nullopt;
    if (!entry || entry->page < 1 || entry->page > m_contents->count())
        return;
    emit pageChosen(entry->page);
    emit contentsEntryChosen();
}

void ListsPanel::onKeywordSelectionChanged() {
    if (m_suppressListClick) {
        m_suppressListClick = false;
        return;
    }
    const int row = selectedRow(m_keywords);
    if (row >= 0 && row < m_keywordPages.size())
        emit pageChosen(m_keywordPages[row]);
}

void ListsPanel::setListWidth(int twips) {
    m_listWidth = twips;
    const int pixels = twipsToPixels(twips, Qt::Horizontal);
    m_contents->setFixedWidth(pixels);
    m_keywords->setFixedWidth(pixels);
}

bool ListsPanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == this || watched == tabBar())
        return handleDividerMouse(static_cast<QWidget*>(watched), mouse);
    // Over a list the pointer is the normal arrow, and a drag that strayed there ends.
    if (type == QEvent::MouseMove)
        unsetCursor();
    if (m_dragging)
        endDividerDrag();
    return false;
}

bool ListsPanel::handleDividerMouse(QWidget* watched, QMouseEvent* event) {
    const QPoint pos = watched->mapTo(this, event->position().toPoint());
    const QListWidget* list = visibleList();
    const int listRight = list->mapTo(this, QPoint(list->width(), 0)).x();
    const int pageLeft = m_pageEdge ? m_pageEdge->x() - x() : listRight;
    const bool inBand = pos.y() < twipsToPixels(DividerBandHeight, Qt::Vertical);
    const bool inGap = inBand && pos.x() >= listRight && pos.x() < pageLeft;
    switch (event->type()) {
    case QEvent::MouseMove:
        if (m_dragging) {
            const int delta = pixelsToTwips(pos.x() - m_dragStartX, Qt::Horizontal);
            if (dividerMoveAccepted(m_dragStartListWidth, m_dragStartPanelWidth, delta)) {
                setListWidth(m_dragStartListWidth + delta);
                emit listWidthDragged(m_listWidth);
            }
            return true;
        }
        if (inGap)
            setCursor(Qt::SizeHorCursor);
        else if (inBand)
            unsetCursor();
        return false;
    case QEvent::MouseButtonPress:
        if (!inGap || event->button() != Qt::LeftButton)
            return false;
        m_dragging = true;
        m_dragStartX = pos.x();
        m_dragStartListWidth = m_listWidth;
        m_dragStartPanelWidth = m_pageEdge ? pixelsToTwips(m_pageEdge->width(), Qt::Horizontal) : 0;
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

void ListsPanel::endDividerDrag() {
    m_dragging = false;
    emit listWidthChosen(m_listWidth);
}

} // namespace quillo::viewer
