#include "maker/format/formatlogic.h"

#include "core/text.h"
#include "winsvc/twips.h"

#include <limits>

namespace quillo::maker {

namespace {

// A value rounded half-to-even as a 16-bit number would hold it.
int to16(double value) {
    return qBound(int(std::numeric_limits<qint16>::min()), roundHalfEven(value),
                  int(std::numeric_limits<qint16>::max()));
}

} // namespace

std::optional<int> typedFontSize(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value < std::numeric_limits<qint16>::min() - 0.5 ||
        value > std::numeric_limits<qint16>::max() + 0.5)
        return std::nullopt;
    return roundHalfEven(value);
}

QString fontSizeRangeText() {
    return QStringLiteral("フォントサイズは  6～48 の範囲で設定してください。");
}

int leftMarkerForIndent(int leftIndent) {
    return LeftMarkerHome + leftIndent;
}

int rightMarkerForIndent(int editorWidth, int rightIndent) {
    return editorWidth - rightIndent - 230;
}

int leftIndentForGuide(int guideLeft, int editorLeft) {
    return guideLeft - editorLeft;
}

int rightIndentForGuide(int guideLeft, int editorLeft, int editorWidth) {
    return editorWidth - (guideLeft - editorLeft) - 400;
}

MarkerLimit limitLeftMarker(int left, int editorWidth, int rightMarkerLeft) {
    // Every limit is tested in turn, so that the last one keeps the markers apart even
    // where an earlier one already moved the marker.
    MarkerLimit limit{left, false};
    const auto apply = [&limit](bool beyond, int value) {
        if (beyond)
            limit = {value, true};
    };
    apply(limit.left < LeftMarkerHome, LeftMarkerHome);
    apply(limit.left > editorWidth - 180, editorWidth - 180);
    apply(limit.left > rightMarkerLeft - 200, rightMarkerLeft - 200);
    return limit;
}

MarkerLimit limitRightMarker(int left, int editorWidth, int leftMarkerLeft) {
    MarkerLimit limit{left, false};
    const auto apply = [&limit](bool beyond, int value) {
        if (beyond)
            limit = {value, true};
    };
    apply(limit.left < MarkerWidth / 2, MarkerWidth / 2);
    apply(limit.left > editorWidth - 300, editorWidth - 300);
    apply(limit.left < leftMarkerLeft + 200, leftMarkerLeft + 200);
    return limit;
}

int rulerPosition(int markerLeft, int editorLeft) {
    const int centre = to16(markerLeft + MarkerWidth / 2.0 - editorLeft);
    return to16(centre * 1.112);
}

QString rulerLabelText(const QString& prefix, int value) {
    return prefix + numberText(value).rightJustified(6, QLatin1Char(' '));
}

} // namespace quillo::maker
