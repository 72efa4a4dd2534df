#include "maker/entries/entrysession.h"

#include "core/pages.h"
#include "core/text.h"
#include "maker/common/makeractions.h"
#include "maker/entries/companionwindows.h"
#include "maker/entries/entrydialog.h"
#include "maker/entries/entrylogic.h"
#include "maker/entries/entrytexts.h"
#include "winsvc/dialogs.h"

#include <QAction>
#include <QListWidget>

namespace quillo::maker {

namespace {

QString captionOf(EntryMode mode) {
    switch (mode) {
    case EntryMode::NewPage:
        return QStringLiteral("目次新規追加");
    case EntryMode::ChangeTitle:
        return QStringLiteral("目次変更");
    case EntryMode::InsertedPage:
        return QStringLiteral("目次挿入");
    case EntryMode::NewKeyword:
        return QStringLiteral("ｷｰﾜｰﾄﾞ新規追加");
    case EntryMode::ChangeKeyword:
        return QStringLiteral("ｷｰﾜｰﾄﾞ変更");
    case EntryMode::InsertedKeyword:
        return QStringLiteral("ｷｰﾜｰﾄﾞ挿入");
    default:
        return QStringLiteral("追加");
    }
}

} // namespace

EntrySession::EntrySession(MakerDocument& document, Dialogs& dialogs, const MakerActions& actions,
                           QObject* parent)
    : QObject(parent), m_document(document), m_dialogs(dialogs), m_actions(actions) {}

EntryDialog* EntrySession::dialog() const {
    return m_dialog;
}

void EntrySession::setWindows(ContentsWindow* contents, KeywordWindow* keywords) {
    m_contents = contents;
    m_keywords = keywords;
}

void EntrySession::open() {
    CompanionWindow* owner = isContentsMode(mode()) ? static_cast<CompanionWindow*>(m_contents)
                                                    : static_cast<CompanionWindow*>(m_keywords);
    if (!m_dialog) {
        m_dialog = new EntryDialog(m_dialogs, owner);
        connect(m_dialog, &EntryDialog::commitRequested, this, &EntrySession::commit);
        connect(m_dialog, &EntryDialog::cancelRequested, this, [this] {
            cancel();
            m_dialog->finish();
        });
        connect(m_dialog, &EntryDialog::closed, this, &EntrySession::closed);
        m_contentsGroupDisabled = isContentsMode(mode());
        setCommandsEnabled(false);
        m_dialog->show();
        m_dialog->placeOver(owner);
        m_dialog->activateWindow();
    }
    prepare();
}

void EntrySession::prepare() {
    if (!m_dialog)
        return;
    CompanionWindow* owner = isContentsMode(mode()) ? static_cast<CompanionWindow*>(m_contents)
                                                    : static_cast<CompanionWindow*>(m_keywords);
    const QString line = owner->selectedLineText();
    std::optional<QString> text = QString();
    if (mode() == EntryMode::ChangeTitle || mode() == EntryMode::ChangeKeyword) {
        // A change starts from the line's text; an empty line leaves the box as it is.
        const std::optional<ListEntry> entry = parseListEntry(line);
        text = entry && !entry->text.isEmpty() ? std::optional(entry->text) : std::nullopt;
    }
    // "p" and the page number as the list shows it: "p 1", "p12", "p100".
    const std::optional<ListEntry> entry = parseListEntry(line);
    const QString label = entry ? listEntry(entry->page, QString()).trimmed() : line.left(3);
    m_dialog->prepare(captionOf(mode()), label, text);
    m_dialog->placeOver(owner);
}

void EntrySession::commit() {
    if (!m_dialog)
        return;
    const QString text = m_dialog->text();
    if (const std::optional<QString> bad = firstUnstorableCharacter(text)) {
        m_dialogs.ask(m_dialog, entrytexts::entryLimitTitle(),
                      entrytexts::unstorableCharacterText(*bad), Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
        return;
    }
    switch (mode()) {
    case EntryMode::NewPage:
        m_contents->storeTitle(text);
        break;
    case EntryMode::ChangeTitle:
    case EntryMode::InsertedPage:
        m_contents->changeTitle(text);
        break;
    case EntryMode::NewKeyword:
    case EntryMode::ChangeKeyword:
    case EntryMode::InsertedKeyword:
        m_keywords->changeKeyword(text);
        break;
    default:
        break;
    }
    m_document.commitEntry();
    m_dialog->finish();
}

void EntrySession::cancel() {
    switch (mode()) {
    case EntryMode::NewPage:
    case EntryMode::InsertedPage:
        m_document.deletePageSilently();
        break;
    case EntryMode::NewKeyword:
    case EntryMode::InsertedKeyword: {
        const int page = m_document.currentPage();
        if (m_document.page(page).keywords.size() > 1) {
            m_keywords->selectLine(rememberedKeywordLine);
            m_keywords->deleteKeyword(true);
        }
        if (mode() == EntryMode::NewKeyword) {
            // The page's last keyword line.
            const int last = listLineOfPage(m_document.help(), page, true) +
                             int(keywordSlots(m_document.page(page).keywords).size()) - 1;
            rememberedKeywordLine = qMin(rememberedKeywordLine, last);
        }
        m_keywords->selectLine(rememberedKeywordLine);
        break;
    }
    default:
        break;
    }
    m_document.restoreSavedModified();
}

void EntrySession::cancelAndClose() {
    if (!m_dialog)
        return;
    cancel();
    m_dialog->finish();
}

void EntrySession::closed(bool byUser) {
    if (byUser)
        cancel();
    setCommandsEnabled(true);
    m_dialog = nullptr;
}

void EntrySession::setCommandsEnabled(bool enabled) {
    m_contents->setEntryDialogOpen(!enabled, !m_contentsGroupDisabled);
    m_keywords->setEntryDialogOpen(!enabled, m_contentsGroupDisabled);
    const MakerActions& a = m_actions;
    for (QAction* action :
         {a.addContents, a.addKeyword, a.nextPage, a.previousPage, a.newPage, a.insertPage,
          a.deletePage, a.undoPage, a.preview, a.showContents, a.showKeywords})
        action->setEnabled(enabled);
}

} // namespace quillo::maker
