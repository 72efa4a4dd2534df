#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextFormat>

#include <optional>

class QTextBlockFormat;
class QTextCharFormat;
class QTextListFormat;

// The page formatting the RTF reader, the RTF writer and the HTML writer share, in RTF's own
// units, with one mapping to and from Qt's text formats.
namespace quillo::rtf {

enum class VerticalPosition : unsigned char { Normal, Super, Sub };

struct TextStyle {
    QString family;      // empty: the document's default font
    int halfPoints = 24; // \fsN
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    VerticalPosition position = VerticalPosition::Normal;
    bool hasColor = false; // false: automatic text colour (\cf0)
    bool hasBackground = false;
    QRgb color = 0;
    QRgb background = 0;
    QString anchor; // hyperlink target of a HYPERLINK field
    int raise = 0;  // \upN (positive) or \dnN (negative): half-points above the baseline

    bool operator==(const TextStyle&) const = default;
};

enum class ListKind : unsigned char {
    None,
    Bullet,
    Decimal,
    LowerAlpha,
    UpperAlpha,
    LowerRoman,
    UpperRoman
};

enum class Alignment : unsigned char { Left, Right, Center, Justify };

// The background of a paragraph or table cell: a pattern colour laid over a background colour
// in a share of hundredths of a percent (\shading / \clshdng), as word processors write it.
struct Shading {
    bool hasBackground = false; // \cbpat / \clcbpat
    bool hasPattern = false;    // \cfpat / \clcfpat
    QRgb background = 0;
    QRgb pattern = 0;
    int share = 0; // 0..10000

    bool operator==(const Shading&) const = default;
    // The colour the area shows, nullopt when it has none of its own.
    std::optional<QRgb> color() const;
};

struct ParaStyle {
    Alignment align = Alignment::Left;
    int left = 0;   // \li, twips
    int right = 0;  // \ri
    int first = 0;  // \fi (for list paragraphs the hanging indent of the bullet)
    int before = 0; // \sb
    int after = 0;  // \sa
    ListKind list = ListKind::None;
    int listLevel = 0;    // 0-based
    int listSequence = 0; // paragraphs of one list (one numbering) share a sequence number
    int listStart = 1;    // the first number of that list
    bool inTable = false; // \intbl: the paragraph lies in a table cell
    Shading shading;      // \cbpat, \cfpat, \shading

    bool operator==(const ParaStyle&) const = default;
    bool isListItem() const { return list != ListKind::None; }
};

// Custom block property: the \fi of a list paragraph (its bullet hangs in the left margin, so it
// is not applied as the first-line indent).
constexpr int kListFirstIndentProperty = QTextFormat::UserProperty + 0x5180;

// The hanging indent a rich-edit control gives a paragraph it bullets (0.25 inch): the text
// moves right by it and the bullet stands in the room it leaves. A list paragraph without
// any left indent is shown with this one, or its marker would be cut off at the left edge.
constexpr int BulletHangTwips = 360;

// The number of the nth item of a list of this kind as its marker shows it (3, c, iii ...).
QString listNumberText(ListKind kind, int n);

QTextCharFormat toCharFormat(const TextStyle& style);
QTextBlockFormat toBlockFormat(const ParaStyle& style);
QTextListFormat toListFormat(const ParaStyle& style);

// The style of a Qt format; properties the format leaves unset take the default font's. A size
// given relative to the default (a heading's or <big>'s size adjustment) or in pixels is the
// point size the text is shown at.
TextStyle textStyleOf(const QTextCharFormat& format, const QFont& defaultFont);
// The paragraph part of a block (list kind, level and start come from its list, if any; Qt
// indent levels count indentWidth pixels each;
// listSequence is left to the caller).
ParaStyle paraStyleOf(const QTextBlockFormat& block, const QTextListFormat* list,
                      qreal indentWidth);

} // namespace quillo::rtf
