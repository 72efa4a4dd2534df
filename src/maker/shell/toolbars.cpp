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

// A toolbar button: the key it is addressed by, its tool tip, the program's own icon that
// shows it (":/toolbar/<icon>.svg"), its short text (the action's text, shown where the
// button does not fit), and either the command it runs or the formatting action it is.
struct ToolButtonEntry {
    const char* key;
    const char* toolTip;
    const char* icon;
    const char* text;
    QAction* MakerActions::*command = nullptr;
    QAction* FormattingActions::*format = nullptr;
    bool keepsFocus = false; // the command opens a window that takes the focus
    bool separatorAfter = false;
};

using C = MakerActions;
using F = FormattingActions;

const ToolButtonEntry MainToolButtons[] = {
    {"qzd32mk_file_new", "新規ﾌｧｲﾙを作成します。", "file-new", "新規", &C::fileNew},
    {"qzd32mk_file_open", "既作成ﾌｧｲﾙを開きます。", "file-open", "開く", &C::fileOpen},
    {"qzd32mk_file_save", "上書きして保存します。", "file-save", "保存", &C::fileSave},
    {"qzd32mk_search_chikan", "検索・置換ウィンドウを起動します。", "find-replace", "検索",
     &C::search, nullptr, true},
    {"qzd32mk_index_set", "選択テキストを目次として設定します。", "contents-add", "目次",
     &C::addContents},
    {"qzd32mk_key_set", "選択テキストをキーワードとして設定します。", "keyword-add", "ｷｰ",
     &C::addKeyword, nullptr, false, true},
    {"qzd32mk_left", "テキストを左端に揃えます。", "align-left", "左", nullptr, &F::left},
    {"qzd32mk_center", "テキストを中央に揃えます。", "align-center", "中", nullptr, &F::center},
    {"qzd32mk_right", "テキストを右に揃えます。", "align-right", "右", nullptr, &F::right},
    {"qzd32mk_bullet", "箇条書きとします。", "bullet-list", "･", nullptr, &F::bullet, false, true},
    {"qzd32mk_bold", "ボールド化します。", "bold", "B", nullptr, &F::bold},
    {"qzd32mk_italic", "イタリック化します。", "italic", "I", nullptr, &F::italic},
    {"qzd32mk_underline", "アンダーラインを設定します。", "underline", "U", nullptr, &F::underline,
     false, true},
    {"qzd32mk_moji_color", "文字の色を設定します。", "text-colour", "色", &C::textColour, nullptr,
     true},
};

const ToolButtonEntry PageToolButtons[] = {
    {"qzd32mk_newP", "新規ページを作成します。", "page-new", "新頁", &C::newPage},
    {"qzd32mk_insP", "新しいページを挿入します。", "page-insert", "挿入", &C::insertPage},
    {"qzd32mk_delP", "このページを削除します。", "page-delete", "削除", &C::deletePage},
    {"qzd32mk_nextP", "次ページへ", "page-next", "次", &C::nextPage},
    {"qzd32mk_returnP", "前ページへ", "page-previous", "前", &C::previousPage},
    {"qzd32mk_undoP", "元に戻す<頁編集>", "page-undo", "戻す", &C::undoPage},
    {"qzd32mk_image_set", "ｲﾒｰｼﾞを埋め込みます。", "image-insert", "画像", &C::embedImage, nullptr,
     true},
};

// The program draws its own toolbar icons rather than taking the desktop theme's: themes
// differ in which of these they have at all (none has a keyword or a bullet button that
// matches the rest), and some ship only pale symbolic icons that look disabled when
// enabled. One set of its own reads the same on every desktop.
QIcon toolbarIcon(const char* name) {
    return QIcon(QStringLiteral(":/toolbar/") + QString::fromLatin1(name) + QStringLiteral(".svg"));
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
        action->setToolTip(QString::fromUtf8(entry.toolTip));
        action->setText(QString::fromUtf8(entry.text));
        action->setIcon(toolbarIcon(entry.icon));
        bar->addAction(action);
        auto* widget = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        widget->setObjectName(QString::fromLatin1(entry.key));
        widget->setToolButtonStyle(Qt::ToolButtonIconOnly);
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
