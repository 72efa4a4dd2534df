#include "rtf/styles.h"

#include "rtf/units.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillo::rtf {

std::optional<QRgb> Shading::color() const {
    if (share <= 0)
        return hasBackground ? std::optional<QRgb>(background) : std::nullopt;
    // The pattern (black unless given) covers `share` of the background (white unless given).
    const QRgb under = hasBackground ? background : qRgb(255, 255, 255);
    const QRgb over = hasPattern ? pattern : qRgb(0, 0, 0);
    const int s = std::min(share, 10000);
    auto mix = [&](int a, int b) { return (b * s + a * (10000 - s) + 5000) / 10000; };
    return qRgb(mix(qRed(under), qRed(over)), mix(qGreen(under), qGreen(over)),
                mix(qBlue(under), qBlue(over)));
}
namespace {

// Custom list format properties: the RTF level and the first number of the list.
constexpr int kListLevelProperty = QTextFormat::UserProperty + 0x5181;
constexpr int kListStartProperty = QTextFormat::UserProperty + 0x5182;

// The size text of this format is shown at. Qt resolves a size adjustment (HTML headings,
// <big>, <font size>) against the document's default font when the format enters the
// document, and the adjusted size wins over a pixel size; a bare pixel size is taken at the
// page's 96 pixels per inch.
qreal shownPointSize(const QTextCharFormat& f, const QFont& defaultFont) {
    if (f.hasProperty(QTextFormat::FontSizeAdjustment) ||
        (f.hasProperty(QTextFormat::FontPixelSize) && !f.hasProperty(QTextFormat::FontPointSize))) {
        const QFont shown = f.font();
        if (shown.pointSizeF() > 0)
            return shown.pointSizeF();
        if (shown.pixelSize() > 0)
            return shown.pixelSize() * 72.0 / 96.0;
    }
    return f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : defaultFont.pointSizeF();
}

} // namespace

QString listNumberText(ListKind kind, int n) {
    auto letters = [](int v, char base) {
        QString s;
        for (v = qMax(v, 1); v > 0; v = (v - 1) / 26)
            s.prepend(QChar(base + (v - 1) % 26));
        return s;
    };
    auto roman = [](int v, bool upper) {
        static const std::pair<int, const char*> table[] = {
            {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
            {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
        QString s;
        v = qBound(1, v, 3999);
        for (const auto& [value, text] : table)
            for (; v >= value; v -= value)
                s += QLatin1StringView(text);
        return upper ? s.toUpper() : s;
    };
    switch (kind) {
    case ListKind::LowerAlpha:
        return letters(n, 'a');
    case ListKind::UpperAlpha:
        return letters(n, 'A');
    case ListKind::LowerRoman:
        return roman(n, false);
    case ListKind::UpperRoman:
        return roman(n, true);
    default:
        return QString::number(n);
    }
}

QTextCharFormat toCharFormat(const TextStyle& style) {
    QTextCharFormat f;
    if (!style.family.isEmpty())
        f.setFontFamilies({style.family});
    f.setFontPointSize(style.halfPoints / 2.0);
    f.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(style.italic);
    f.setFontUnderline(style.underline);
    f.setFontStrikeOut(style.strike);
    if (style.position == VerticalPosition::Super)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (style.position == VerticalPosition::Sub)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (style.hasColor)
        f.setForeground(QColor::fromRgb(style.color));
    if (style.hasBackground)
        f.setBackground(QColor::fromRgb(style.background));
    // Qt raises text by a share of the font's height: half-points over the size.
    if (style.raise != 0)
        f.setBaselineOffset(100.0 * style.raise / style.halfPoints);
    if (!style.anchor.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(style.anchor);
    }
    return f;
}

QTextBlockFormat toBlockFormat(const ParaStyle& style) {
    QTextBlockFormat f;
    switch (style.align) {
    case Alignment::Left:
        f.setAlignment(Qt::AlignLeft);
        break;
    case Alignment::Right:
        f.setAlignment(Qt::AlignRight);
        break;
    case Alignment::Center:
        f.setAlignment(Qt::AlignHCenter);
        break;
    case Alignment::Justify:
        f.setAlignment(Qt::AlignJustify);
        break;
    }
    // A list marker needs room in the left margin: a list paragraph stored without indent
    // (a bare \pn) is shown with the hanging indent its bullet was given when made.
    const bool noRoom = style.isListItem() && style.left <= 0;
    f.setLeftMargin(twipsToPixels(noRoom ? BulletHangTwips : style.left));
    f.setRightMargin(twipsToPixels(style.right));
    if (const std::optional<QRgb> color = style.shading.color())
        f.setBackground(QColor::fromRgb(*color));
    f.setTopMargin(twipsToPixels(style.before));
    f.setBottomMargin(twipsToPixels(style.after));
    if (style.isListItem()) {
        // The marker hangs in the left margin; the text of every line starts at the indent.
        f.setTextIndent(0);
        f.setProperty(kListFirstIndentProperty, style.first);
    } else {
        f.setTextIndent(twipsToPixels(style.first));
    }
    return f;
}

QTextListFormat toListFormat(const ParaStyle& style) {
    QTextListFormat f;
    switch (style.list) {
    case ListKind::None:
    case ListKind::Bullet:
        f.setStyle(QTextListFormat::ListDisc);
        break;
    case ListKind::Decimal:
        f.setStyle(QTextListFormat::ListDecimal);
        break;
    case ListKind::LowerAlpha:
        f.setStyle(QTextListFormat::ListLowerAlpha);
        break;
    case ListKind::UpperAlpha:
        f.setStyle(QTextListFormat::ListUpperAlpha);
        break;
    case ListKind::LowerRoman:
        f.setStyle(QTextListFormat::ListLowerRoman);
        break;
    case ListKind::UpperRoman:
        f.setStyle(QTextListFormat::ListUpperRoman);
        break;
    }
    f.setIndent(0);
    f.setProperty(kListLevelProperty, style.listLevel);
    f.setProperty(kListStartProperty, style.listStart);
    return f;
}

TextStyle textStyleOf(const QTextCharFormat& f, const QFont& defaultFont) {
    TextStyle s;
    const QStringList families = f.fontFamilies().toStringList();
    s.family = !families.isEmpty() && !families.first().isEmpty() ? families.first()
                                                                  : defaultFont.family();
    qreal points = shownPointSize(f, defaultFont);
    if (points <= 0)
        points = 12;
    s.halfPoints = std::clamp(int(std::lround(points * 2)), 2, 3276);
    s.bold = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() >= QFont::DemiBold
                                                    : defaultFont.bold();
    s.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : defaultFont.italic();
    s.underline =
        f.hasProperty(QTextFormat::TextUnderlineStyle) || f.hasProperty(QTextFormat::FontUnderline)
            ? f.fontUnderline()
            : defaultFont.underline();
    s.strike =
        f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : defaultFont.strikeOut();
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        s.position = VerticalPosition::Super;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        s.position = VerticalPosition::Sub;
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush) {
        s.hasColor = true;
        s.color = f.foreground().color().rgb() | 0xFF000000u;
    }
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush) {
        s.hasBackground = true;
        s.background = f.background().color().rgb() | 0xFF000000u;
    }
    if (f.isAnchor())
        s.anchor = f.anchorHref();
    if (f.hasProperty(QTextFormat::TextBaselineOffset))
        s.raise =
            std::clamp(int(std::lround(f.baselineOffset() * s.halfPoints / 100)), -3276, 3276);
    return s;
}

ParaStyle paraStyleOf(const QTextBlockFormat& block, const QTextListFormat* list,
                      qreal indentWidth) {
    ParaStyle p;
    const Qt::Alignment a = block.alignment();
    if (a & Qt::AlignHCenter)
        p.align = Alignment::Center;
    else if (a & Qt::AlignJustify)
        p.align = Alignment::Justify;
    else if (a & Qt::AlignRight)
        p.align = Alignment::Right;
    // Qt indents (block and list levels) become part of the left margin.
    const int levels = block.indent() + (list ? list->indent() : 0);
    p.left = pixelsToTwips(block.leftMargin() + levels * indentWidth);
    p.right = pixelsToTwips(block.rightMargin());
    if (block.hasProperty(QTextFormat::BackgroundBrush) &&
        block.background().style() != Qt::NoBrush) {
        p.shading.hasBackground = true;
        p.shading.background = block.background().color().rgb() | 0xFF000000u;
    }
    p.before = pixelsToTwips(block.topMargin());
    p.after = pixelsToTwips(block.bottomMargin());
    if (!list) {
        p.first = pixelsToTwips(block.textIndent());
        return p;
    }
    switch (list->style()) {
    case QTextListFormat::ListDecimal:
        p.list = ListKind::Decimal;
        break;
    case QTextListFormat::ListLowerAlpha:
        p.list = ListKind::LowerAlpha;
        break;
    case QTextListFormat::ListUpperAlpha:
        p.list = ListKind::UpperAlpha;
        break;
    case QTextListFormat::ListLowerRoman:
        p.list = ListKind::LowerRoman;
        break;
    case QTextListFormat::ListUpperRoman:
        p.list = ListKind::UpperRoman;
        break;
    default:
        p.list = ListKind::Bullet;
        break;
    }
    p.first = block.hasProperty(kListFirstIndentProperty)
                  ? block.intProperty(kListFirstIndentProperty)
                  : -std::min(p.left, BulletHangTwips);
    // Lists made in the editor nest by their indent (1 for the outermost).
    const int level = list->hasProperty(kListLevelProperty) ? list->intProperty(kListLevelProperty)
                                                            : list->indent() - 1;
    p.listLevel = std::clamp(level, 0, 8);
    p.listStart = list->hasProperty(kListStartProperty) ? list->intProperty(kListStartProperty) : 1;
    return p;
}

} // namespace quillo::rtf
