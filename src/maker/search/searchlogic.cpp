#include "maker/search/searchlogic.h"

#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QTextCursor>
#include <QTextDocument>

namespace quillo::maker {

const QString& PageTexts::text(int page, const QByteArray& rtf) {
    Entry& entry = m_entries.at(size_t(page));
    // The same shared bytes need no comparison; a page changed since is made again.
    const bool same =
        entry.made && (entry.rtf.constData() == rtf.constData() ? entry.rtf.size() == rtf.size()
                                                                : entry.rtf == rtf);
    if (!same) {
        entry.text = rtf::plainText(rtf);
        entry.rtf = rtf;
        entry.made = true;
    }
    return entry.text;
}

void PageTexts::forget() {
    for (Entry& entry : m_entries)
        entry = Entry{};
}

QList<int> matchPositions(QStringView text, QStringView needle, Qt::CaseSensitivity cs) {
    QList<int> positions;
    if (needle.isEmpty())
        return positions;
    for (qsizetype at = text.indexOf(needle, 0, cs); at >= 0;
         at = text.indexOf(needle, at + needle.size(), cs))
        positions << int(at);
    return positions;
}

UpwardMatch findLastBefore(QStringView text, QStringView needle, int end, Qt::CaseSensitivity cs) {
    UpwardMatch result;
    end = qBound(0, end, int(text.size()));
    if (needle.isEmpty() || needle.size() > end)
        return result;
    const qsizetype last = text.first(end).lastIndexOf(needle, end - needle.size(), cs);
    if (last < 0)
        return result;
    // The region a forward-only find would have grown to, 500 positions at a time, before
    // it held a match; its matches are the ones met.
    const int regions = qMax(1, int((end - last + 499) / 500));
    const int regionStart = qMax(0, end - 500 * regions);
    const QStringView region = text.sliced(regionStart, end - regionStart);
    for (qsizetype at = region.indexOf(needle, 0, cs); at >= 0;
         at = region.indexOf(needle, at + needle.size(), cs)) {
        result.position = regionStart + int(at);
        if (++result.counted > MaxUpwardMatches)
            break;
    }
    return result;
}

FindOutcome findAcrossPages(const FindRequest& request, int pageCount,
                            const std::function<QString(int)>& textOf) {
    FindOutcome outcome;
    if (request.needle.isEmpty() || request.page < 1 || request.page > pageCount)
        return outcome;
    const Qt::CaseSensitivity cs = request.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool down = request.direction == SearchDirection::Down;
    for (int page = request.page; page >= 1 && page <= pageCount; page += down ? 1 : -1) {
        const QString text = textOf(page);
        const bool first = page == request.page;
        int position = -1;
        if (down) {
            const int from = first ? qMax(0, request.position) : 0;
            if (from <= text.size())
                position = int(text.indexOf(request.needle, from, cs));
        } else {
            const int end = first ? request.position : int(text.size());
            const UpwardMatch match = findLastBefore(text, request.needle, end, cs);
            if (match.counted > MaxUpwardMatches) {
                outcome.kind = FindOutcome::TooManyMatches;
                return outcome;
            }
            position = match.position;
        }
        if (position >= 0) {
            outcome.kind = FindOutcome::Found;
            outcome.page = page;
            outcome.position = position;
            return outcome;
        }
    }
    return outcome;
}

int replaceAllIn(QTextDocument& doc, const QString& needle, const QString& replacement,
                 Qt::CaseSensitivity cs) {
    const QList<int> positions = matchPositions(doc.toPlainText(), needle, cs);
    if (positions.isEmpty())
        return 0;
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    // From the last match back, so that the positions still ahead stay valid and nothing
    // inserted is searched again.
    for (auto it = positions.crbegin(); it != positions.crend(); ++it) {
        cursor.setPosition(*it);
        cursor.setPosition(*it + int(needle.size()), QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();
    return int(positions.size());
}

RtfReplacement replaceAllInRtf(const QByteArray& rtf, const QString& needle,
                               const QString& replacement, Qt::CaseSensitivity cs) {
    RtfReplacement result;
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    rtf::readRtf(rtf, doc);
    result.count = replaceAllIn(doc, needle, replacement, cs);
    if (result.count > 0)
        result.rtf = rtf::writeRtf(doc);
    return result;
}

int replaceAllInPages(const HelpDocument& doc, int shownPage, PageTexts& texts,
                      const QString& needle, const QString& replacement, Qt::CaseSensitivity cs,
                      const std::function<void(int page, const QByteArray& rtf)>& store) {
    int count = 0;
    for (int page = 1; page <= doc.pageCount(); ++page) {
        if (page == shownPage)
            continue;
        const QByteArray& rtf = doc.page(page).rtf;
        // Most pages hold no match: their plain text says so without reading the RTF again.
        if (!texts.text(page, rtf).contains(needle, cs))
            continue;
        const RtfReplacement replaced = replaceAllInRtf(rtf, needle, replacement, cs);
        if (replaced.count > 0) {
            count += replaced.count;
            store(page, replaced.rtf);
        }
    }
    return count;
}

bool isLongPage(QStringView text) {
    // Bytes in code page 932: one for ASCII and half-width katakana, two for the rest.
    qsizetype bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        bytes += (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
    }
    return bytes > 16000;
}

} // namespace quillo::maker
