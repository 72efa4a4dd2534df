#pragma once

#include "core/helpdocument.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <functional>

class QTextDocument;

// Finding and replacing text across the pages of a help document, without any window: the
// search window drives these over the page texts and the page editor's document.
namespace quillo::maker {

// The plain texts of the pages of the authoring document, made from each page's RTF and
// made again only when that RTF changes, so that runs after the first look at text only.
class PageTexts {
public:
    // The plain text of `page` as the editor would show `rtf`, its RTF.
    const QString& text(int page, const QByteArray& rtf);
    void forget();

private:
    struct Entry {
        QByteArray rtf;
        QString text;
        bool made = false;
    };
    std::array<Entry, MaxPages + 1> m_entries;
};

enum class SearchDirection { Down, Up };

struct FindRequest {
    QString needle;
    bool matchCase = false;
    SearchDirection direction = SearchDirection::Down;
    int page = 1;     // the page the run starts on
    int position = 0; // where it starts there: the first position tried (down), or the
                      // position every match must end at or before (up)
};

struct FindOutcome {
    enum Kind { Found, NotFound, TooManyMatches };
    Kind kind = NotFound;
    int page = 0;
    int position = -1;
};

// An upward search stops when it meets more matches than this in one run.
constexpr int MaxUpwardMatches = 100;

// One find run: from the start page and position through the following pages (down) or
// the preceding ones (up) to the first match. Downwards it takes the first match at or
// after the position; upwards the last match that ends at or before it. `textOf` gives a
// page's plain text.
FindOutcome findAcrossPages(const FindRequest& request, int pageCount,
                            const std::function<QString(int)>& textOf);

struct UpwardMatch {
    int position = -1; // -1: no match
    int counted = 0;   // matches met while looking for it
};

// The last match of `needle` that ends at or before `end`. Matches are met the way a
// forward-only find meets them: from the start of the smallest region end - 500·k (k ≥ 1)
// that holds a match, each find continuing after the previous match; `counted` is how many
// were met, and counting stops just past MaxUpwardMatches.
UpwardMatch findLastBefore(QStringView text, QStringView needle, int end, Qt::CaseSensitivity cs);

// Positions of the matches of `needle` in `text`, each find continuing after the previous
// match, so matches never overlap.
QList<int> matchPositions(QStringView text, QStringView needle, Qt::CaseSensitivity cs);

// Replaces every match in `doc` as one edit (one undo step). The inserted text is never
// searched again. Returns the number of replacements.
int replaceAllIn(QTextDocument& doc, const QString& needle, const QString& replacement,
                 Qt::CaseSensitivity cs);

struct RtfReplacement {
    QByteArray rtf; // the page with the replacements; empty when count is 0
    int count = 0;
};

// replaceAllIn over a page stored as RTF; formatting stays where it was.
RtfReplacement replaceAllInRtf(const QByteArray& rtf, const QString& needle,
                               const QString& replacement, Qt::CaseSensitivity cs);

// Replace-all over every page of `doc` but `shownPage` (the page the editor holds, which
// the caller changes in the editor; 0 for none). Pages whose text holds no match are not
// touched; `store` receives each changed page's new RTF. Returns the number of replacements.
int replaceAllInPages(const HelpDocument& doc, int shownPage, PageTexts& texts,
                      const QString& needle, const QString& replacement, Qt::CaseSensitivity cs,
                      const std::function<void(int page, const QByteArray& rtf)>& store);

// The page's text is longer than a find is known to handle well: over 16000 bytes in code
// page 932.
bool isLongPage(QStringView text);

} // namespace quillo::maker
