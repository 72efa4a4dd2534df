#include "maker/shell/shelllogic.h"

#include "core/text.h"

#include <QCollator>

#include <algorithm>
#include <cmath>

namespace quillo::maker {

QString makerWindowTitle(const QString& filePath, int page, int count) {
    return QString::fromUtf8(MakerTitlePrefix) + filePath + QStringLiteral(" Page") +
           numberText(page) + QStringLiteral(" /") + numberText(count);
}

std::optional<QString> fileTitleWithin(const QString& path, int maxSeparators) {
    int passed = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] != QLatin1Char('/') && path[i] != QLatin1Char('\\'))
            continue;
        if (++passed > maxSeparators)
            return std::nullopt;
        start = i + 1;
    }
    return path.mid(start);
}

QString rulerText(int columns) {
    static const QString cycle = QStringLiteral("････+････");
    QString text = QStringLiteral("0");
    for (int appended = 0, ten = 1; appended < columns; ++ten) {
        const QString step = cycle + QString::number(ten % 10);
        for (qsizetype i = 0; i < step.size() && appended < columns; ++i, ++appended)
            text += step[i];
    }
    return text;
}

int rulerColumns(int editorWidthTwips, int digitWidthTwips) {
    if (digitWidthTwips <= 0)
        return 0;
    return int(std::floor(double(editorWidthTwips - 200) / digitWidthTwips - 1));
}

namespace {

// Keeps the last of equal names, in the order of those last entries.
void dropDuplicates(QStringList& names) {
    QStringList kept;
    for (qsizetype i = 0; i < names.size(); ++i) {
        bool later = false;
        for (qsizetype j = i + 1; j < names.size() && !later; ++j)
            later = names[j] == names[i];
        if (!later)
            kept.append(names[i]);
    }
    names = kept;
}

// Collated as the writer's language orders names: case and width do not split a list
// into separate runs, and equal first characters are ordered by the rest of the name.
void sortCollated(QStringList& names) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
}

} // namespace

FontTable buildFontTable(const QStringList& screenFonts) {
    FontTable table;
    table.names = screenFonts.mid(0, FontTable::Slots);
    table.overflowed = screenFonts.size() > FontTable::Slots;
    dropDuplicates(table.names);
    sortCollated(table.names);
    const QStringList names = table.names;
    for (const QString& name : names) {
        if (!name.startsWith(QLatin1Char('@')))
            continue;
        if (table.names.size() >= FontTable::Slots) {
            table.overflowed = true;
            break;
        }
        table.names.append(name.mid(1));
    }
    dropDuplicates(table.names);
    sortCollated(table.names);
    return table;
}

QStringList fontSizeList() {
    QStringList sizes;
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48})
        sizes.append(QString::number(size));
    return sizes;
}

} // namespace quillo::maker
