#include "maker/entries/entrylogic.h"

#include "core/cp932.h"
#include "core/text.h"

namespace quillo::maker {

QString withoutTrailingLineBreak(const QString& text) {
    if (text.endsWith(QLatin1String("\r\n")))
        return text.chopped(2);
    if (text.endsWith(QLatin1Char('\n')))
        return text.chopped(1);
    return text;
}

QString withoutTrailingLineBreaks(const QString& text, int limit) {
    QString out = text;
    for (int i = 0; i < limit; ++i) {
        const QString shorter = withoutTrailingLineBreak(out);
        if (shorter.size() == out.size())
            break;
        out = shorter;
    }
    return out;
}

QString firstCharacters(const QString& text, int length) {
    qsizetype units = 0;
    for (int chars = 0; chars < length && units < text.size(); ++chars)
        units += (text.at(units).isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
    return text.left(units);
}

int characterCount(const QString& text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            ++i;
    return count;
}

std::optional<QString> firstUnstorableCharacter(const QString& text) {
    const cp932::Encoded encoded = cp932::encode(text);
    if (encoded.ok())
        return std::nullopt;
    return firstCharacters(text.mid(encoded.badIndex), 1);
}

int findKeywordSlot(const QStringList& lines, int line) {
    if (line <= 0 || line >= lines.size())
        return 1;
    const std::optional<ListEntry> selected = parseListEntry(lines.at(line));
    if (!selected)
        return 1;
    int above = 0;
    for (int i = line - 1; i >= 0; --i) {
        const std::optional<ListEntry> entry = parseListEntry(lines.at(i));
        if (!entry || entry->page != selected->page)
            break;
        ++above;
    }
    return above + 1;
}

QStringList keywordSlots(const QStringList& keywords) {
    return keywords.isEmpty() ? QStringList{QString()} : keywords;
}

QStringList appendKeyword(const QStringList& keywords, const QString& text) {
    if (keywords.size() <= 1 && keywords.value(0).isEmpty())
        return {text};
    QStringList out = keywords;
    out.append(text);
    return out;
}

QStringList fillKeywordSlot(const QStringList& keywords, int slot, const QString& text) {
    QStringList out = keywordSlots(keywords);
    if (slot >= 1 && slot <= out.size())
        out[slot - 1] = text;
    return out;
}

QStringList insertKeywordBefore(const QStringList& keywords, int slot, const QString& text) {
    QStringList out = keywordSlots(keywords);
    out.insert(qBound(0, slot - 1, int(out.size())), text);
    return out;
}

QStringList removeKeyword(const QStringList& keywords, int slot) {
    QStringList out = keywords;
    if (slot >= 1 && slot <= out.size())
        out.removeAt(slot - 1);
    return out;
}

} // namespace quillo::maker
