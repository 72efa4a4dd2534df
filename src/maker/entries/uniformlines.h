#pragma once

#include <QFont>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QStyledItemDelegate>

#include <vector>

class QListView;
class QStyle;

namespace quillo::maker {

// Lets a list of thousands of one-line texts be laid out without laying out the text of each
// line: the list takes uniform item sizes, and this delegate gives it the one size that fits
// every line, as wide as the widest and as tall as the tallest. The widest line is found by
// adding up the widths of its characters (each measured once); only the few widest by that
// sum, and the first line of each script in the list (a script may be drawn in a font of
// another height), are measured as the view measures a line. Without uniform item sizes
// (a list holding a text of several lines) each line is sized on its own, as by default.
class UniformLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Becomes the list's item delegate.
    explicit UniformLineDelegate(QListView* list);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QSize lineSize(const QStyleOptionViewItem& option) const;
    qreal estimatedWidth(const QString& text, const QFontMetricsF& metrics) const;

    QPointer<QListView> m_list;
    // The size found for the list's lines, kept until they, the font, the style or the
    // screen's resolution change.
    mutable QSize m_size;
    mutable QFont m_sizeFont;
    mutable const QStyle* m_sizeStyle = nullptr;
    mutable int m_sizeDpi = 0;
    // Widths of single characters (by UTF-16 unit; -1: not measured yet) in m_advanceFont
    // at m_advanceDpi.
    mutable std::vector<float> m_advances;
    mutable QFont m_advanceFont;
    mutable int m_advanceDpi = 0;
};

// True when no text holds a line break (each shows as one line in a list).
bool allOneLine(const QStringList& texts);

} // namespace quillo::maker
