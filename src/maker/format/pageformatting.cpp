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

namespace quillo::maker {

PageFormatting::PageFormatting(Dialogs& dialogs, const FormattingControls& controls,
                               const EditCommands& commands, bool& ignoreNextChange,
                               QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_c(controls), m_ignoreNextChange(ignoreNextChange) {
    makeActions();
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
    connectEditCommands(commands);
}

void PageFormatting::makeActions() {
    const auto make = [this] {
        auto* action = new QAction(this);
        action->setCheckable(true);
        return action;
    };
    m_actions = {make(), make(), make(), make(), make(), make(), make()};
    connect(m_actions.left, &QAction::triggered, this,
            [this] { setAlignment(SelectionFormat::AlignLeft); });
    connect(m_actions.center, &QAction::triggered, this,
            [this] { setAlignment(SelectionFormat::AlignCenter); });
    connect(m_actions.right, &QAction::triggered, this,
            [this] { setAlignment(SelectionFormat::AlignRight); });
    connect(m_actions.bullet, &QAction::triggered, this, &PageFormatting::toggleBullet);
    connect(m_actions.bold, &QAction::triggered, this,
            [this] { toggleStyle(&SelectionFormat::bold, m_actions.bold); });
    connect(m_actions.italic, &QAction::triggered, this,
            [this] { toggleStyle(&SelectionFormat::italic, m_actions.italic); });
    connect(m_actions.underline, &QAction::triggered, this,
            [this] { toggleStyle(&SelectionFormat::underline, m_actions.underline); });
}

void PageFormatting::applyToSelection(const SelectionFormat& format) {
    // The editor holds part of a page while one comes in: no formatting goes onto it.
    if (m_c.editor->isLoading())
        return;
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

void PageFormatting::toggleStyle(std::optional<bool> SelectionFormat::*member, QAction* button) {
    // A selection that mixes the style takes it on, as an unstyled one does.
    SelectionFormat change;
    change.*member = !(m_c.editor->selectionFormat().*member).value_or(false);
    applyToSelection(change);
    button->setChecked((m_c.editor->selectionFormat().*member).value_or(false));
}

void PageFormatting::showAlignment(int alignment) {
    m_actions.left->setChecked(alignment == SelectionFormat::AlignLeft);
    m_actions.right->setChecked(alignment == SelectionFormat::AlignRight);
    m_actions.center->setChecked(alignment == SelectionFormat::AlignCenter);
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
    m_actions.bullet->setChecked(m_c.editor->selectionFormat().bullet.value_or(false));
}

// Following the selection ----------------------------------------------------------------

void PageFormatting::refreshFromSelection() {
    const SelectionFormat f = m_c.editor->selectionFormat();
    m_actions.bold->setChecked(f.bold.value_or(false));
    m_actions.italic->setChecked(f.italic.value_or(false));
    m_actions.underline->setChecked(f.underline.value_or(false));
    // A mixed (or justified) selection leaves the alignment buttons as they are.
    if (f.alignment && *f.alignment != SelectionFormat::AlignJustify)
        showAlignment(*f.alignment);
    m_actions.bullet->setChecked(f.bullet.value_or(false));
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
    switch (event->key()) {
    case Qt::Key_PageUp:
        emit pageUpPressed();
        m_c.editor->consumeEvent();
        break;
    case Qt::Key_PageDown:
        emit pageDownPressed();
        m_c.editor->consumeEvent();
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

void PageFormatting::connectEditCommands(const EditCommands& commands) {
    RichTextControl* editor = m_c.editor;
    // Edits and the clipboard wait for a page that is still coming in: they are refused.
    const auto command = [this, editor](QAction* action, std::function<void()> run) {
        onTriggeredUnlessLoading(action, this, *editor, std::move(run));
    };
    command(commands.undo, [editor] { editor->undoLastEdit(); });
    command(commands.copy, [editor] {
        Hourglass hourglass;
        editor->copy();
    });
    command(commands.cut, [editor] { editor->cut(); });
    command(commands.paste, [editor] { editor->paste(); });
    command(commands.remove, [editor] { editor->clearSelection(); });
    command(commands.selectAll, [editor] { editor->select(0, editor->textLength()); });
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
    // Typed keys reach the box itself (its line edit takes the focus through it) and the
    // box hands them on directly; Enter is taken here, before the box would only look for
    // a list entry equal to the text.
    if ((watched == m_c.sizeBox || watched == m_c.sizeBox->lineEdit()) &&
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
        toggleStyle(&SelectionFormat::bold, m_actions.bold);
        return true;
    case Qt::Key_I:
        toggleStyle(&SelectionFormat::italic, m_actions.italic);
        return true;
    case Qt::Key_U:
        toggleStyle(&SelectionFormat::underline, m_actions.underline);
        return true;
    default:
        return false;
    }
}

} // namespace quillo::maker
