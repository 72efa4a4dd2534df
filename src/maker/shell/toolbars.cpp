#include "maker/shell/toolbars.h"

#include "maker/common/makeractions.h"
#include "maker/format/pageformatting.h"
#include "winsvc/richtextcontrol.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>
#include <QToolButton>

namespace quillo::maker {

namespace {

// A toolbar button: the key it is addressed by, its tool tip, the freedesktop icon that
// shows it, the short text a theme without that icon shows instead, and either the command
// it runs or the formatting action it is.
struct ToolButtonEntry {
    const char* key;
    const char* toolTip;
    const char* icon;
    const char* fallback;
    QAction* MakerActions::*command = nullptr;
    QAction* FormattingActions::*format = nullptr;
    bool keepsFocus = false; // the command opens a window that takes the focus
    bool separatorAfter = false;
};

using C = MakerActions;
using F = FormattingActions;

const ToolButtonEntry MainToolButtons[] = {
    {"qzd32mk_file_new", "新規ﾌｧｲﾙを作成します。", "document-new", "新規", &C::fileNew},
    {"qzd32mk_file_open", "既作成ﾌｧｲﾙを開きます。", "document-open", "開く", &C::fileOpen},
    {"qzd32mk_file_save", "上書きして保存します。", "document-save", "保存", &C::fileSave},
    {"qzd32mk_search_chikan", "検索・置換ウィンドウを起動します。", "edit-find-replace", "検索",
     &C::search, nullptr, true},
    {"qzd32mk_index_set", "選択テキストを目次として設定します。", "bookmark-new", "目次",
     &C::addContents},
    {"qzd32mk_key_set", "選択テキストをキーワードとして設定します。", "tag-new", "ｷｰ",
     &C::addKeyword, nullptr, false, true},
    {"qzd32mk_left", "テキストを左端に揃えます。", "format-justify-left", "左", nullptr, &F::left},
    {"qzd32mk_center", "テキストを中央に揃えます。", "format-justify-center", "中", nullptr,
     &F::center},
    {"qzd32mk_right", "テキストを右に揃えます。", "format-justify-right", "右", nullptr, &F::right},
    {"qzd32mk_bullet", "箇条書きとします。", "view-list-bullet", "･", nullptr, &F::bullet, false,
     true},
    {"qzd32mk_bold", "ボールド化します。", "format-text-bold", "B", nullptr, &F::bold},
    {"qzd32mk_italic", "イタリック化します。", "format-text-italic", "I", nullptr, &F::italic},
    {"qzd32mk_underline", "アンダーラインを設定します。", "format-text-underline", "U", nullptr,
     &F::underline, false, true},
    {"qzd32mk_moji_color", "文字の色を設定します。", "color-select", "色", &C::textColour, nullptr,
     true},
};

const ToolButtonEntry PageToolButtons[] = {
    {"qzd32mk_newP", "新規ページを作成します。", "list-add", "新頁", &C::newPage},
    {"qzd32mk_insP", "新しいページを挿入します。", "insert-object", "挿入", &C::insertPage},
    {"qzd32mk_delP", "このページを削除します。", "list-remove", "削除", &C::deletePage},
    {"qzd32mk_nextP", "次ページへ", "go-next", "次", &C::nextPage},
    {"qzd32mk_returnP", "前ページへ", "go-previous", "前", &C::previousPage},
    {"qzd32mk_undoP", "元に戻す<頁編集>", "edit-undo", "戻す", &C::undoPage},
    {"qzd32mk_image_set", "ｲﾒｰｼﾞを埋め込みます。", "insert-image", "画像", &C::embedImage, nullptr,
     true},
};

// The desktop theme's icon, or its symbolic form (themes such as Adwaita keep only that);
// a null icon when neither exists.
QIcon themeIcon(const QString& name) {
    // Outside a desktop session no theme is set; the freedesktop theme most desktops
    // install is looked in before the bare "hicolor" one.
    static const bool fallbackSet = [] {
        if (QIcon::fallbackThemeName().isEmpty() ||
            QIcon::fallbackThemeName() == QLatin1String("hicolor"))
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    Q_UNUSED(fallbackSet);
    const QIcon icon = QIcon::fromTheme(name);
    return icon.isNull() ? QIcon::fromTheme(name + QStringLiteral("-symbolic")) : icon;
}

template <std::size_t N>
void fill(QToolBar* bar, const ToolButtonEntry (&entries)[N], const MakerActions& commands,
          const FormattingActions& formatting, RichTextControl* editor) {
    for (const ToolButtonEntry& entry : entries) {
        QAction* action = nullptr;
        if (entry.format) {
            action = formatting.*(entry.format);
        } else {
            // A button of its own that runs the command, and only while the command can run.
            QAction* command = commands.*(entry.command);
            action = new QAction(bar);
            action->setEnabled(command->isEnabled());
            QObject::connect(command, &QAction::changed, action,
                             [action, command] { action->setEnabled(command->isEnabled()); });
            QObject::connect(action, &QAction::triggered, command, [command] {
                if (command->isEnabled())
                    command->trigger();
            });
        }
        const QIcon icon = themeIcon(QString::fromLatin1(entry.icon));
        action->setToolTip(QString::fromUtf8(entry.toolTip));
        action->setText(QString::fromUtf8(entry.fallback));
        action->setIcon(icon);
        bar->addAction(action);
        auto* widget = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        widget->setObjectName(QString::fromLatin1(entry.key));
        // Without a theme icon the button shows its short text instead.
        widget->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
        if (!entry.keepsFocus)
            QObject::connect(action, &QAction::triggered, editor, [editor] { editor->setFocus(); });
        if (entry.separatorAfter)
            bar->addSeparator();
    }
}

} // namespace

void fillToolbars(QToolBar* mainBar, QToolBar* pageBar, const MakerActions& commands,
                  const FormattingActions& formatting, RichTextControl* editor) {
    fill(mainBar, MainToolButtons, commands, formatting, editor);
    fill(pageBar, PageToolButtons, commands, formatting, editor);
}

} // namespace quillo::maker
