#include "maker/entries/uniformlines.h"

#include <QFontMetricsF>
#include <QListView>
#include <QtMath>

#include <algorithm>
#include <utility>
#include <vector>

namespace quillo::maker {

namespace {

// Most lines measured as text to find the widest; a list of more lines that could each be the
// widest (kerning narrows each by an unknown amount) takes the widest they could be.
constexpr std::size_t MostMeasured = 64;

bool breaksLine(QChar c) {
    // A line break shows as a second line; a tab and other control characters are not one
    // character's width.
    return c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

bool allOneLine(const QStringList& texts) {
    return std::none_of(texts.begin(), texts.end(), [](const QString& text) {
        return std::any_of(text.begin(), text.end(), breaksLine);
    });
}

UniformLineDelegate::UniformLineDelegate(QListView* list)
    : QStyledItemDelegate(list), m_list(list) {
    list->setItemDelegate(this);
    const QAbstractItemModel* model = list->model();
    const auto forget = [this] { m_size = QSize(); };
    connect(model, &QAbstractItemModel::modelReset, this, forget);
    connect(model, &QAbstractItemModel::rowsInserted, this, forget);
    connect(model, &QAbstractItemModel::rowsRemoved, this, forget);
    connect(model, &QAbstractItemModel::rowsMoved, this, forget);
    connect(model, &QAbstractItemModel::dataChanged, this, forget);
    connect(model, &QAbstractItemModel::layoutChanged, this, forget);
}

QSize UniformLineDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    if (!m_list || !m_list->uniformItemSizes())
        return QStyledItemDelegate::sizeHint(option, index);
    const QStyle* style = option.widget ? option.widget->style() : nullptr;
    const int dpi = option.widget ? option.widget->logicalDpiY() : 0;
    if (!m_size.isValid() || m_sizeFont != option.font || m_sizeStyle != style ||
        m_sizeDpi != dpi) {
        m_sizeDpi = dpi;
        m_size = lineSize(option);
        m_sizeFont = option.font;
        m_sizeStyle = style;
    }
    return m_size;
}

QSize UniformLineDelegate::lineSize(const QStyleOptionViewItem& option) const {
    const QAbstractItemModel* model = m_list->model();
    const QModelIndex root = m_list->rootIndex();
    const int column = m_list->modelColumn();
    const int rows = model->rowCount(root);
    if (m_advanceFont != option.font || m_advanceDpi != m_sizeDpi) {
        m_advances.clear();
        m_advanceFont = option.font;
        m_advanceDpi = m_sizeDpi;
    }
    // Measured on the list itself, as the view measures its lines.
    const QFontMetricsF metrics(option.font, option.widget);

    std::vector<std::pair<qreal, int>> widths; // sum of the characters' widths, row
    widths.reserve(std::size_t(std::max(rows, 0)));
    std::vector<int> firstOfScript(QChar::ScriptCount, -1);
    std::vector<bool> seen(0x10000); // the characters met so far in this list
    for (int row = 0; row < rows; ++row) {
        const QString text = model->index(row, column, root).data(Qt::DisplayRole).toString();
        widths.emplace_back(estimatedWidth(text, metrics), row);
        for (const QChar c : text) {
            if (seen[c.unicode()])
                continue;
            seen[c.unicode()] = true;
            int& first = firstOfScript[std::size_t(c.script())];
            if (first < 0)
                first = row;
        }
    }

    // Widest first by the sum of their characters' widths. A line is never wider than that
    // sum (kerning and ligatures only narrow it): once the sum is no wider than the widest line
    // measured, no line further down can be wider.
    std::sort(widths.begin(), widths.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    const auto textOf = [&](int row) {
        return model->index(row, column, root).data(Qt::DisplayRole).toString();
    };
    int widestRow = widths.empty() ? 0 : widths.front().second;
    qreal widest = -1;
    std::size_t next = 0;
    for (; next < widths.size() && next < MostMeasured && widths[next].first > widest; ++next) {
        const qreal width = metrics.horizontalAdvance(textOf(widths[next].second));
        if (width > widest) {
            widest = width;
            widestRow = widths[next].second;
        }
    }
    QSize size = QStyledItemDelegate::sizeHint(option, model->index(widestRow, column, root));
    if (next < widths.size() && widths[next].first > widest)
        size.rwidth() += qCeil(widths[next].first - widest);
    // As tall as a line in each script, whose font may be taller than the list's.
    for (const int row : firstOfScript)
        if (row >= 0)
            size = size.expandedTo(
                QStyledItemDelegate::sizeHint(option, model->index(row, column, root)));
    return size;
}

qreal UniformLineDelegate::estimatedWidth(const QString& text, const QFontMetricsF& metrics) const {
    if (m_advances.empty())
        m_advances.assign(0x10000, -1);
    qreal width = 0;
    for (const QChar c : text) {
        float& advance = m_advances[c.unicode()];
        if (advance < 0)
            advance = float(metrics.horizontalAdvance(c));
        width += advance;
    }
    return width;
}

} // namespace quillo::maker
