#include "maker/links/linkcommands.h"

#include "maker/document/makerdocument.h"
#include "maker/links/linkdialog.h"
#include "rtf/pagelinks.h"
#include "winsvc/dialogs.h"
#include "winsvc/linkpresenter.h"
#include "winsvc/richtextcontrol.h"

#include <QAction>
#include <QKeyEvent>

namespace quillo::maker {

namespace {

const QString TitleSetLink = QStringLiteral("qzd32Maker ﾘﾝｸ設定");
const QString MsgSelectLinkText = QStringLiteral("ﾘﾝｸにする文字列を選択して下さい。");

} // namespace

LinkCommands::LinkCommands(MakerDocument& document, RichTextControl& editor, Dialogs& dialogs,
                           QAction* setLink, QAction* removeLink, QWidget* window)
    : QObject(window), m_document(document), m_editor(editor), m_dialogs(dialogs),
      m_setLink(setLink), m_window(window) {
    m_presenter = new LinkPresenter(editor, LinkPresenter::Follow::ControlClick);
    m_presenter->setDescriber([this](const QString& target) {
        const int page = rtf::linkedPage(target);
        return page > 0 && m_document.help().hasPage(page)
                   ? target + QStringLiteral("  ") +
                         m_document.page(page).title.value_or(QString()) +
                         QStringLiteral("  (Ctrl+ｸﾘｯｸ)")
                   : target;
    });
    connect(m_presenter, &LinkPresenter::linkActivated, this, &LinkCommands::follow);
    onTriggeredUnlessLoading(setLink, this, editor, [this] { this->setLink(); });
    onTriggeredUnlessLoading(removeLink, this, editor, [this] { this->removeLink(); });
    connect(&editor, &RichTextControl::keyDown, this, &LinkCommands::onEditorKey);
}

LinkDialog* LinkCommands::dialog() const {
    return m_dialog;
}

// The editor takes Ctrl+K for itself on some desktops (delete to the end of the line); in
// the page editor it is the link command.
void LinkCommands::onEditorKey(QKeyEvent* event) {
    if (event->key() == Qt::Key_K && event->modifiers() == Qt::ControlModifier) {
        m_editor.consumeEvent();
        m_setLink->trigger();
    }
}

bool LinkCommands::selectLinkAtCaret() {
    if (m_editor.textCursor().hasSelection())
        return true;
    const int caret = m_editor.selStart();
    for (const rtf::PageLink& link : rtf::linksOf(*m_editor.document()))
        if (link.position <= caret && caret <= link.position + link.length) {
            m_editor.select(link.position, link.length);
            return true;
        }
    return false;
}

void LinkCommands::setLink() {
    if (m_dialog)
        return;
    if (!selectLinkAtCaret()) {
        m_dialogs.ask(m_window, TitleSetLink, MsgSelectLinkText, Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
        return;
    }
    QTextCursor selection = m_editor.textCursor();
    QTextCursor first = selection;
    first.setPosition(selection.selectionStart() + 1);
    const QString current = first.charFormat().anchorHref();
    auto* dialog = new LinkDialog(m_document.help(), current, m_window);
    m_dialog = dialog;
    connect(dialog, &QDialog::finished, this, [this, dialog, selection](int result) {
        m_dialog = nullptr;
        dialog->deleteLater();
        const QString target = dialog->target();
        if (result == QDialog::Accepted && !target.isEmpty())
            rtf::setLink(selection, target);
        m_editor.setFocus();
    });
    dialog->open();
}

void LinkCommands::removeLink() {
    if (!selectLinkAtCaret()) {
        m_dialogs.beep();
        return;
    }
    rtf::setLink(m_editor.textCursor(), QString());
    m_editor.setFocus();
}

void LinkCommands::follow(const QString& target) {
    if (const int page = rtf::linkedPage(target); page > 0) {
        if (!m_document.goToPage(page) && page != m_document.currentPage())
            m_dialogs.beep();
        return;
    }
    if (rtf::isWebAddress(target))
        m_dialogs.shellOpen(target);
}

} // namespace quillo::maker
