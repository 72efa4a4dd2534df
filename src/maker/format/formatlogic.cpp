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

const ToolButtonSpec MainToolButtons[14] = {
    {"qzd32mk_file_new", "新規ﾌｧｲﾙを作成します。", "document-new", "新規", "qzd32mk_file_new"},
    {"qzd32mk_file_open", "既作成ﾌｧｲﾙを開きます。", "document-open", "開く", "qzd32mk_file_open"},
    {"qzd32mk_file_save", "上書きして保存します。", "document-save", "保存", "qzd32mk_file_save"},
    {"qzd32mk_search_chikan", "検索・置換ウィンドウを起動します。", "edit-find-replace", "検索",
     "qzd32mk_search_shori"},
    {"qzd32mk_index_set", "選択テキストを目次として設定します。", "bookmark-new", "目次",
     "qzd32mk_index_set"},
    {"qzd32mk_key_set", "選択テキストをキーワードとして設定します。", "tag-new", "ｷｰ",
     "qzd32mk_key_set"},
    {"qzd32mk_left", "テキストを左端に揃えます。", "format-justify-left", "左", nullptr},
    {"qzd32mk_center", "テキストを中央に揃えます。", "format-justify-center", "中", nullptr},
    {"qzd32mk_right", "テキストを右に揃えます。", "format-justify-right", "右", nullptr},
    {"qzd32mk_bullet", "箇条書きとします。", "view-list-bullet", "･", nullptr},
    {"qzd32mk_bold", "ボールド化します。", "format-text-bold", "B", nullptr},
    {"qzd32mk_italic", "イタリック化します。", "format-text-italic", "I", nullptr},
    {"qzd32mk_underline", "アンダーラインを設定します。", "format-text-underline", "U", nullptr},
    {"qzd32mk_moji_color", "文字の色を設定します。", "color-select", "色", "qzd32mk_color_moji"},
};

const ToolButtonSpec PageToolButtons[7] = {
    {"qzd32mk_newP", "新規ページを作成します。", "list-add", "新頁", "qzd32mk_new_Page"},
    {"qzd32mk_insP", "新しいページを挿入します。", "insert-object", "挿入", "qzd32mk_insert_Page"},
    {"qzd32mk_delP", "このページを削除します。", "list-remove", "削除", "qzd32mk_delete_Page"},
    {"qzd32mk_nextP", "次ページへ", "go-next", "次", "qzd32mk_Next_Page"},
    {"qzd32mk_returnP", "前ページへ", "go-previous", "前", "qzd32mk_Return_Page"},
    {"qzd32mk_undoP", "元に戻す<頁編集>", "edit-undo", "戻す", "qzd32mk_undo_Page"},
    {"qzd32mk_image_set", "ｲﾒｰｼﾞを埋め込みます。", "insert-image", "画像", "qzd32mk_image_set"},
};

} // namespace quillo::maker
