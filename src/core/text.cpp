#include "text.h"

namespace quillo {

QString numberText(qint64 value) {
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

QString errorNumberText(int number) {
    return QStringLiteral("ERR = ") + numberText(number);
}

QString listEntry(int page, const QString& text) {
    return QLatin1Char('p') + QString::number(page).rightJustified(2, QLatin1Char(' ')) +
           QLatin1String("  ") + text;
}

std::optional<ListEntry> parseListEntry(const QString& line) {
    if (!line.startsWith(QLatin1Char('p')))
        return std::nullopt;
    qsizetype i = 1;
    if (i < line.size() && line[i] == QLatin1Char(' '))
        ++i; // the blank that right-aligns a one-digit page
    const qsizetype digitsStart = i;
    while (i < line.size() && line[i].isDigit() && line[i].unicode() < 0x80)
        ++i;
    if (i == digitsStart || i - digitsStart > 3)
        return std::nullopt;
    if (line.mid(i, 2) != QLatin1String("  "))
        return std::nullopt;
    ListEntry e;
    e.page = line.mid(digitsStart, i - digitsStart).toInt();
    e.text = line.mid(i + 2);
    return e;
}

QString plainFontFamily(const QString& family) {
    const QString trimmed = family.trimmed();
    if (!trimmed.endsWith(QLatin1Char(']')))
        return trimmed;
    const qsizetype open = trimmed.lastIndexOf(QLatin1String(" ["));
    if (open <= 0)
        return trimmed;
    return trimmed.left(open).trimmed();
}

} // namespace quillo
