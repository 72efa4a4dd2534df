#include "maker/format/pageformatting.h"

#include "maker/format/formatlogic.h"
#include "maker/format/indentruler.h"
#include "winsvc/hourglass.h"
#include "winsvc/richtextcontrol.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <iterator>

namespace quillo::maker {

namespace {

// The selection property a style button or key toggles.
std::optional<bool> SelectionFormat::*styleMember(const QString& key) {
    if (key == QLatin1String("qzd32mk_italic"))
        return &SelectionFormat::italic;
    if (key == QLatin1String("qzd32mk_underline"))
        return &SelectionFormat::underline;
    return &SelectionFormat::bold;
}

// The buttons after which the focus stays where the command put it (a window it opened).
bool keepsFocus(const QString& key) {
    return key == QLatin1String("qzd32mk_moji_color") ||
           key == QLatin1String("qzd32mk_search_chikan") ||
           key == QLatin1String("qzd32mk_image_set");
}

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

} // namespace

PageFormatting::PageFormatting(Dialogs& dialogs, const FormattingControls& controls,
                               bool& ignoreNextChange, QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_c(controls), m_ignoreNextChange(ignoreNextChange) {
    buildToolbar(m_c.mainBar, MainToolButtons, int(std::size(MainToolButtons)));
    buildToolbar(m_c.pageBar, PageToolButtons, int(std::size(PageToolButtons)));
    // Small icons, and the font boxes after the page buttons, where the page toolbar has
    // room: so the window at its default size shows every button of both bars.
    for (QToolBar* bar : {m_c.mainBar, m_c.pageBar})
        bar->setIconSize(QSize(16, 16));
    m_c.pageBar->addSeparator();
    m_c.pageBar->addWidget(m_c.fontBox);
    m_c.pageBar->addWidget(m_c.sizeBox);
    m_c.pageBar->addSeparator();
    for (IndentRuler::Side side : {IndentRuler::Left, IndentRuler::Right})
        m_c.ruler->positionLabel(side)->setContentsMargins(2, 0, 4, 0);
    m_c.pageBar->addWidget(m_c.ruler->positionLabel(IndentRuler::Left));
    m_c.pageBar->addWidget(m_c.ruler->positionLabel(IndentRuler::Right));

    connect(m_c.fontBox, &QComboBox::activated, this, &PageFormatting::chooseFontName);
    connect(m_c.sizeBox, &QComboBox::activated, this, &PageFormatting::chooseFontSize);
    m_c.sizeBox->setInsertPolicy(QComboBox::NoInsert);
    // The size box's focus and Enter, and Ctrl+B/I/U anywhere in the window.
    qApp->installEventFilter(this);

    m_c.editor->setContextMenuPolicy(Qt::NoContextMenu);
    connect(m_c.editor, &RichTextControl::keyDown, this, &PageFormatting::onEditorKey);
    connect(m_c.editor, &RichTextControl::mouseDown, this, &PageFormatting::onEditorMouseDown);
    connect(m_c.editor, &RichTextControl::mouseUp, this, [this] { refreshFromSelection(); });
    connect(m_c.ruler, &IndentRuler::leftIndentChosen, this,
            [this](int twips) { setIndent(true, twips); });
    connect(m_c.ruler, &IndentRuler::rightIndentChosen, this,
            [this](int twips) { setIndent(false, twips); });
    connectEditCommands();
}

QAction* PageFormatting::windowAction(const char* name) const {
    return m_c.window->findChild<QAction*>(QString::fromLatin1(name));
}

QToolButton* PageFormatting::button(const QString& key) const {
    QAction* action = m_buttons.value(key);
    if (!action)
        return nullptr;
    for (QToolBar* bar : {m_c.mainBar, m_c.pageBar})
        if (auto* widget = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            return widget;
    return nullptr;
}

void PageFormatting::buildToolbar(QToolBar* bar, const ToolButtonSpec* specs, int count) {
    for (int i = 0; i < count; ++i) {
        const ToolButtonSpec& button = specs[i];
        const QString key = QString::fromLatin1(button.key);
        const QIcon icon = themeIcon(QString::fromLatin1(button.icon));
        auto* action = new QAction(bar);
        action->setToolTip(QString::fromUtf8(button.toolTip));
        action->setText(QString::fromUtf8(button.fallback));
        action->setIcon(icon);
        action->setCheckable(!button.command && key != QLatin1String("qzd32mk_moji_color"));
        bar->addAction(action);
        auto* widget = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        widget->setObjectName(key);
        // Without a theme icon the button shows its short text instead.
        widget->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
        m_buttons.insert(key, action);
        if (button.command) {
            // A command of another window can run from here only while its menu item can.
            QAction* item = windowAction(button.command);
            if (item) {
                action->setEnabled(item->isEnabled());
                connect(item, &QAction::changed, action,
                        [action, item] { action->setEnabled(item->isEnabled()); });
            }
        }
        connect(action, &QAction::triggered, this, [this, key] { dispatch(key); });
        if (key == QLatin1String("qzd32mk_key_set") || key == QLatin1String("qzd32mk_bullet") ||
            key == QLatin1String("qzd32mk_underline"))
            bar->addSeparator();
    }
}

void PageFormatting::dispatch(const QString& key) {
    runCommand(key);
    if (!keepsFocus(key))
        m_c.editor->setFocus();
}

void PageFormatting::runCommand(const QString& key) {
    for (const auto* specs : {MainToolButtons, PageToolButtons}) {
        const int count = specs == MainToolButtons ? int(std::size(MainToolButtons))
                                                   : int(std::size(PageToolButtons));
        for (int i = 0; i < count; ++i) {
            if (key != QLatin1String(specs[i].key) || !specs[i].command)
                continue;
            if (QAction* item = windowAction(specs[i].command); item && item->isEnabled())
                item->trigger();
            return;
        }
    }
    if (key == QLatin1String("qzd32mk_left"))
        setAlignment(SelectionFormat::AlignLeft);
    else if (key == QLatin1String("qzd32mk_center"))
        setAlignment(SelectionFormat::AlignCenter);
    else if (key == QLatin1String("qzd32mk_right"))
        setAlignment(SelectionFormat::AlignRight);
    else if (key == QLatin1String("qzd32mk_bullet"))
        toggleBullet();
    else
        toggleStyle(key);
}

void PageFormatting::setPressed(const char* key, bool pressed) {
    if (QAction* action = m_buttons.value(QString::fromLatin1(key)))
        action->setChecked(pressed);
}

void PageFormatting::applyToSelection(const SelectionFormat& format) {
    m_c.editor->setSelectionFormat(format);
}

// Font boxes ------------------------------------------------------------------------------

void PageFormatting::chooseFontName(int index) {
    SelectionFormat format;
    format.fontName = m_c.fontBox->itemText(index);
    applyChosenFont(format);
}

void PageFormatting::chooseFontSize(int index) {
    SelectionFormat format;
    if (const std::optional<int> size = typedFontSize(m_c.sizeBox->itemText(index)))
        format.fontSize = *size;
    applyChosenFont(format);
}

void PageFormatting::applyChosenFont(const SelectionFormat& format) {
    // A font chosen at the caret changes no text: its change notification is not an edit.
    const bool atCaret = m_c.editor->selLength() == 0;
    if (atCaret)
        m_ignoreNextChange = true;
    applyToSelection(format);
    // Where the choice changed nothing in the page, no notification came to consume; the
    // writer's next keystroke is an edit and must count as one.
    if (atCaret)
        m_ignoreNextChange = false;
    m_c.editor->setFocus();
}

void PageFormatting::confirmTypedSize() {
    const std::optional<int> size = typedFontSize(m_c.sizeBox->currentText());
    if (!size)
        return;
    if (*size > MaxTypedFontSize || *size < MinTypedFontSize) {
        m_dialogs.ask(m_c.window, QStringLiteral("qzd32maker フォントサイズ"), fontSizeRangeText(),
                      Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        m_c.sizeBox->setEditText(QString::number(m_savedSize));
        return;
    }
    SelectionFormat format;
    format.fontSize = *size;
    applyToSelection(format);
    m_c.editor->setFocus();
}

// Style, alignment, bullet --------------------------------------------------------------

void PageFormatting::toggleStyle(const QString& key) {
    const auto member = styleMember(key);
    // A selection that mixes the style takes it on, as an unstyled one does.
    SelectionFormat change;
    change.*member = !(m_c.editor->selectionFormat().*member).value_or(false);
    applyToSelection(change);
    setPressed(key.toLatin1().constData(), (m_c.editor->selectionFormat().*member).value_or(false));
}

void PageFormatting::showAlignment(int alignment) {
    setPressed("qzd32mk_left", alignment == SelectionFormat::AlignLeft);
    setPressed("qzd32mk_right", alignment == SelectionFormat::AlignRight);
    setPressed("qzd32mk_center", alignment == SelectionFormat::AlignCenter);
}

void PageFormatting::setAlignment(int alignment) {
    SelectionFormat format;
    format.alignment = alignment;
    applyToSelection(format);
    showAlignment(alignment);
}

void PageFormatting::toggleBullet() {
    SelectionFormat change;
    change.bullet = !m_c.editor->selectionFormat().bullet.value_or(false);
    applyToSelection(change);
    setPressed("qzd32mk_bullet", m_c.editor->selectionFormat().bullet.value_or(false));
}

// Following the selection ----------------------------------------------------------------

void PageFormatting::refreshFromSelection() {
    const SelectionFormat f = m_c.editor->selectionFormat();
    setPressed("qzd32mk_bold", f.bold.value_or(false));
    setPressed("qzd32mk_italic", f.italic.value_or(false));
    setPressed("qzd32mk_underline", f.underline.value_or(false));
    // A mixed (or justified) selection leaves the alignment buttons as they are.
    if (f.alignment && *f.alignment != SelectionFormat::AlignJustify)
        showAlignment(*f.alignment);
    setPressed("qzd32mk_bullet", f.bullet.value_or(false));
    // A marker whose indent the selection mixes stays where it is.
    if (f.leftIndent)
        m_c.ruler->placeMarker(IndentRuler::Left, leftMarkerForIndent(*f.leftIndent));
    if (f.rightIndent)
        m_c.ruler->placeMarker(IndentRuler::Right,
                               rightMarkerForIndent(m_c.ruler->editorWidth(), *f.rightIndent));
    m_c.ruler->showPositions();
    // Selecting the matching entries shows the selection's font; it applies nothing.
    if (f.fontName) {
        const int index = m_c.fontBox->findText(*f.fontName, Qt::MatchExactly);
        if (index >= 0)
            m_c.fontBox->setCurrentIndex(index);
    }
    if (f.fontSize) {
        for (int i = 0; i < m_c.sizeBox->count(); ++i) {
            if (typedFontSize(m_c.sizeBox->itemText(i)) == *f.fontSize) {
                m_c.sizeBox->setCurrentIndex(i);
                break;
            }
        }
    }
    m_ignoreNextChange = false;
}

// Editor keys, mouse and edit commands ----------------------------------------------------

void PageFormatting::onEditorKey(QKeyEvent* event) {
    const auto trigger = [this](const char* name) {
        if (QAction* item = windowAction(name); item && item->isEnabled())
            item->trigger();
        m_c.editor->consumeEvent();
    };
    switch (event->key()) {
    case Qt::Key_PageUp:
        trigger("qzd32mk_Return_Page");
        break;
    case Qt::Key_PageDown:
        trigger("qzd32mk_Next_Page");
        break;
    case Qt::Key_Backspace:
        // At the very start there is nothing to delete: the paragraph's indent goes instead.
        if (m_c.editor->selStart() == 0 && m_c.editor->selLength() == 0) {
            SelectionFormat format;
            format.leftIndent = 0;
            applyToSelection(format);
            m_c.ruler->placeMarker(IndentRuler::Left, LeftMarkerHome);
            m_c.ruler->showPositions();
            m_c.editor->consumeEvent();
        }
        break;
    default:
        break;
    }
}

void PageFormatting::onEditorMouseDown(QMouseEvent* event) {
    if (event->button() != Qt::RightButton)
        return;
    m_c.editMenu->popup(m_c.editor->viewport()->mapToGlobal(event->position().toPoint()));
    m_c.editor->consumeEvent();
}

void PageFormatting::connectEditCommands() {
    RichTextControl* editor = m_c.editor;
    const auto onItem = [this](const char* name, auto handler) {
        if (QAction* item = windowAction(name))
            connect(item, &QAction::triggered, this, handler);
    };
    onItem("qzd32mk_undo", [editor] { editor->undoLastEdit(); });
    onItem("qzd32mk_copy", [editor] {
        Hourglass hourglass;
        editor->copy();
    });
    onItem("qzd32mk_cut", [editor] { editor->cut(); });
    onItem("qzd32mk_paist", [editor] { editor->paste(); });
    onItem("qzd32mk_delete", [editor] { editor->clearSelection(); });
    onItem("qzd32mk_all_select", [editor] { editor->select(0, editor->textLength()); });
}

void PageFormatting::setIndent(bool left, int twips) {
    SelectionFormat format;
    (left ? format.leftIndent : format.rightIndent) = twips;
    applyToSelection(format);
    m_c.editor->setFocus();
}

bool PageFormatting::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn &&
        (watched == m_c.sizeBox || watched == m_c.sizeBox->lineEdit())) {
        m_savedSize = typedFontSize(m_c.sizeBox->currentText()).value_or(0);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_c.sizeBox->lineEdit() &&
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        confirmTypedSize();
        return true;
    }
    // Ctrl+B, Ctrl+I, Ctrl+U toggle the style whatever control of the window has the focus.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_c.window || !(key->modifiers() & Qt::ControlModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_B:
        toggleStyle(QStringLiteral("qzd32mk_bold"));
        return true;
    case Qt::Key_I:
        toggleStyle(QStringLiteral("qzd32mk_italic"));
        return true;
    case Qt::Key_U:
        toggleStyle(QStringLiteral("qzd32mk_underline"));
        return true;
    default:
        return false;
    }
}

} // namespace quillo::maker
