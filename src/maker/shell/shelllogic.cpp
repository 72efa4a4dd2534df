#include "maker/shell/shelllogic.h"

#include "core/text.h"

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

// Selection sort on the first character alone; names with equal first characters end up in
// whatever order the swaps leave them, as the box has always shown them.
void sortByFirstCharacter(QStringList& names) {
    const auto first = [&](qsizetype i) { return names[i].left(1); };
    for (qsizetype i = 0; i < names.size(); ++i) {
        qsizetype smallest = i;
        for (qsizetype j = i + 1; j < names.size(); ++j) {
            if (first(j) < first(smallest))
                smallest = j;
        }
        if (smallest != i)
            names.swapItemsAt(i, smallest);
    }
}

} // namespace

FontTable buildFontTable(const QStringList& screenFonts) {
    FontTable table;
    table.names = screenFonts.mid(0, FontTable::Slots);
    table.overflowed = screenFonts.size() > FontTable::Slots;
    dropDuplicates(table.names);
    sortByFirstCharacter(table.names);
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
    sortByFirstCharacter(table.names);
    return table;
}

QStringList fontSizeList() {
    QStringList sizes;
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48})
        sizes.append(QString::number(size));
    return sizes;
}

} // namespace quillo::maker
