// The keyword window: keywords of the current page added from the editor's selection, a
// drop or the entry dialog, inserted, changed and deleted.
#include "core/pages.h"
#include "core/text.h"
#include "maker/document/makerdocument.h"
#include "maker/entries/companionwindows.h"
#include "maker/entries/entrylogic.h"
#include "maker/entries/entrysession.h"
#include "maker/entries/entrytexts.h"
#include "winsvc/dialogs.h"
#include "winsvc/hourglass.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace quillo::maker {

KeywordWindow::KeywordWindow(MakerDocument& document, Dialogs& dialogs, EntrySession& session,
                             QWidget* owner, TwipsRect& settings)
    : CompanionWindow(document, dialogs, session, owner, settings, QStringLiteral("qzd32mk_key"),
                      QStringLiteral("ｷｰﾜｰﾄﾞ"),
                      {QStringLiteral("選択頁へキー新規追加"), QStringLiteral("選択キー削除"),
                       QStringLiteral("選択キー変更"), QStringLiteral("選択頁にキー挿入")},
                      QStringLiteral("qzd_key_edit"), QStringLiteral("ｷｰﾜｰﾄﾞ編集(&E)"), 675) {
    QAction* newItem = addMenuItem("qzd_key_edit_new", QStringLiteral("ｷｰﾜｰﾄﾞ新規(&A)"));
    QAction* changeItem = addMenuItem("qzd_key_edit_change", QStringLiteral("ｷｰﾜｰﾄﾞ変更(&C)"));
    QAction* deleteItem = addMenuItem("qzd_key_edit_delete", QStringLiteral("ｷｰﾜｰﾄﾞ削除(&D)"));
    QAction* insertItem = addMenuItem("qzd_key_edit_insert", QStringLiteral("ｷｰﾜｰﾄﾞ挿入(&I)"));
    connect(newItem, &QAction::triggered, this, &KeywordWindow::newCommand);
    connect(changeItem, &QAction::triggered, this, &KeywordWindow::changeCommand);
    connect(deleteItem, &QAction::triggered, this, &KeywordWindow::deleteCommand);
    connect(insertItem, &QAction::triggered, this, &KeywordWindow::insertCommand);
    connect(button(New), &QPushButton::clicked, this, &KeywordWindow::newCommand);
    connect(button(Delete), &QPushButton::clicked, this, &KeywordWindow::deleteCommand);
    connect(button(Insert), &QPushButton::clicked, this, &KeywordWindow::insertCommand);
    follow();
}

QStringList KeywordWindow::linesOf(const HelpDocument& doc) const {
    return keywordLinesByPage(doc);
}

int KeywordWindow::lineOfPage(const HelpDocument& doc, int page) const {
    return listLineOfPage(doc, page, true);
}

void KeywordWindow::fill() {
    // Every page shows at least one line; that line is a keyword slot of its own.
    m_document.fillEmptyKeywordSlots();
    CompanionWindow::fill();
}

int KeywordWindow::selectedSlot() const {
    const int line = selectedLine();
    if (line < 0 || pageOfLine(line) != m_document.currentPage())
        return 0;
    QStringList lines;
    for (int i = 0; i <= line; ++i)
        lines.append(list()->item(i)->text());
    return findKeywordSlot(lines, line);
}

void KeywordWindow::setCurrentKeywords(const QStringList& keywords) {
    m_document.setKeywords(m_document.currentPage(), keywords);
}

bool KeywordWindow::confirmDuplicates(const QString& text, bool dropped) {
    const Qt::CaseSensitivity cs = dropped ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int p = 1; p <= m_document.pageCount(); ++p) {
        for (const QString& keyword : m_document.page(p).keywords) {
            if (keyword.isEmpty() || keyword.compare(text, cs) != 0)
                continue;
            const QString question = dropped ? entrytexts::sameDroppedKeywordQuestion(p, keyword)
                                             : entrytexts::sameKeywordQuestion(p);
            if (!askYesNo(entrytexts::keywordSetTitle(), question))
                return false;
        }
    }
    return true;
}

void KeywordWindow::keywordFromSelection(const QString& selection) {
    if (m_document.page(m_document.currentPage()).keywords.size() >= MaxKeywordsPerPage) {
        message(entrytexts::keywordAddTitle(), entrytexts::keywordLimitText());
        return;
    }
    if (selection.isEmpty()) {
        message(entrytexts::keywordSetTitle(), entrytexts::selectKeywordTextText());
        return;
    }
    if (!confirmDuplicates(selection, false))
        return;
    QString candidate = selection;
    if (characterCount(selection) > MaxEntryLength) {
        candidate = firstCharacters(selection, MaxEntryLength);
        if (!askYesNo(entrytexts::keywordSetTitle(),
                      entrytexts::longSelectionKeywordQuestion(candidate)))
            return;
    }
    candidate = withoutTrailingLineBreak(candidate);
    if (const std::optional<QString> bad = firstUnstorableCharacter(candidate)) {
        message(entrytexts::keywordSetTitle(), entrytexts::unstorableCharacterText(*bad));
        return;
    }
    addKeyword(candidate, true);
}

void KeywordWindow::textDropped(const QString& text) {
    const QString dropped = withoutTrailingLineBreaks(text);
    if (dropped.isEmpty() || !confirmDuplicates(dropped, true))
        return;
    QString candidate = dropped;
    if (characterCount(dropped) > MaxEntryLength) {
        candidate = withoutTrailingLineBreak(firstCharacters(dropped, MaxEntryLength));
        if (!askYesNo(entrytexts::keywordSetTitle(),
                      entrytexts::longDropKeywordQuestion(candidate)))
            return;
    }
    if (const std::optional<QString> bad = firstUnstorableCharacter(candidate)) {
        message(entrytexts::keywordSetTitle(), entrytexts::unstorableCharacterText(*bad));
        return;
    }
    // The keyword goes to the current page, whichever line the text was dropped on.
    addKeyword(candidate, true);
}

bool KeywordWindow::addKeyword(const QString& text, bool fillSelected) {
    const int page = m_document.currentPage();
    const QStringList keywords = m_document.page(page).keywords;
    if (keywords.size() >= MaxKeywordsPerPage) {
        message(entrytexts::newKeywordTitle(), entrytexts::keywordLimitText());
        return false;
    }
    const int line = selectedLine();
    const int slot = selectedSlot();
    const bool selectedEmpty = slot > 0 && keywordSlots(keywords).value(slot - 1).isEmpty();
    if (fillSelected && selectedEmpty) {
        setCurrentKeywords(fillKeywordSlot(keywords, slot, text));
        selectLine(line);
    } else {
        const QStringList added = appendKeyword(keywords, text);
        setCurrentKeywords(added);
        selectLine(listLineOfPage(m_document.help(), page, true) + int(added.size()) - 1);
    }
    return true;
}

bool KeywordWindow::insertKeyword(const QString& text) {
    const int page = m_document.currentPage();
    const QStringList keywords = m_document.page(page).keywords;
    if (keywords.size() >= MaxKeywordsPerPage) {
        message(entrytexts::keywordInsertTitle(), entrytexts::keywordInsertLimitText());
        return false;
    }
    const int first = listLineOfPage(m_document.help(), page, true);
    const int slot = qMax(selectedSlot(), 1);
    setCurrentKeywords(insertKeywordBefore(keywords, slot, text));
    selectLine(first + slot - 1);
    return true;
}

void KeywordWindow::changeKeyword(const QString& text) {
    const int line = selectedLine();
    const int slot = selectedSlot();
    if (slot < 1)
        return;
    setCurrentKeywords(
        fillKeywordSlot(m_document.page(m_document.currentPage()).keywords, slot, text));
    selectLine(line);
}

void KeywordWindow::deleteKeyword(bool silently) {
    const QStringList keywords = m_document.page(m_document.currentPage()).keywords;
    const int slot = selectedSlot();
    if (!silently) {
        const QString title = entrytexts::keywordDeleteTitle();
        if (list()->count() == 0) {
            message(title, entrytexts::noKeywordToDeleteText());
            return;
        }
        if (slot < 1) {
            message(title, entrytexts::selectKeywordToDeleteText());
            return;
        }
        if (keywords.isEmpty() || (keywords.size() == 1 && keywords.first().isEmpty())) {
            message(title, entrytexts::noKeywordToDeleteText());
            return;
        }
        const QString keyword = keywords.value(slot - 1);
        if (m_dialogs.ask(
                this, title, entrytexts::deleteKeywordQuestion(selectedLineText().left(5), keyword),
                Dialogs::Icon::Information, Dialogs::Buttons::OkCancel) != Dialogs::Answer::Ok)
            return;
    }
    if (slot < 1)
        return;
    const int line = selectedLine();
    const QStringList remaining = removeKeyword(keywords, slot);
    setCurrentKeywords(remaining);
    // Deleting the page's last keyword selects the line above; otherwise the line that
    // moved into the deleted one's place.
    const bool wasLast = slot == keywords.size();
    selectLine(!remaining.isEmpty() && line > 0 && wasLast ? line - 1 : line);
}

void KeywordWindow::movePendingKeyword() {
    int noted = selectedLine();
    const int pending = m_session.rememberedKeywordLine;
    const int linesBefore = list()->count();
    selectLine(pending);
    m_session.cancelAndClose();
    // The cancel takes the pending line away unless it was its page's only line.
    if (list()->count() < linesBefore && pending < noted)
        --noted;
    noted = qBound(0, noted, list()->count() - 1);
    const int page = qBound(1, pageOfLine(noted), m_document.pageCount());
    m_document.goToPage(page);
    selectLine(noted);
}

void KeywordWindow::openPendingKeyword(EntryMode mode) {
    if (m_session.isOpen() && m_session.mode() == mode)
        movePendingKeyword();
    else
        m_session.cancelAndClose();
    m_document.beginEntry(mode);
    const bool added =
        mode == EntryMode::NewKeyword ? addKeyword(QString(), false) : insertKeyword(QString());
    if (!added)
        return;
    m_session.rememberedKeywordLine = selectedLine();
    m_session.open();
}

void KeywordWindow::newCommand() {
    // A second 新規 while the new keyword waits leaves it where it is.
    if (m_session.isOpen() && m_session.mode() == EntryMode::NewKeyword)
        return;
    if (m_document.page(m_document.currentPage()).keywords.size() >= MaxKeywordsPerPage) {
        message(entrytexts::newKeywordTitle(), entrytexts::keywordLimitText());
        return;
    }
    openPendingKeyword(EntryMode::NewKeyword);
}

void KeywordWindow::insertCommand() {
    if (m_document.page(m_document.currentPage()).keywords.size() >= MaxKeywordsPerPage) {
        message(entrytexts::keywordInsertTitle(), entrytexts::keywordLimitText());
        return;
    }
    openPendingKeyword(EntryMode::InsertedKeyword);
}

void KeywordWindow::changeCommand() {
    if (selectedLine() < 0) {
        message(entrytexts::keywordChangeTitle(), entrytexts::selectKeywordToChangeText());
        return;
    }
    m_session.cancelAndClose();
    m_document.beginEntry(EntryMode::ChangeKeyword);
    m_session.rememberedKeywordLine = selectedLine();
    m_session.open();
}

void KeywordWindow::deleteCommand() {
    deleteKeyword(false);
    m_session.rememberedKeywordLine = selectedLine();
}

void KeywordWindow::deleteKeyPressed() {
    deleteKeyword(false);
}

void KeywordWindow::lineClicked(int line) {
    Hourglass hourglass;
    if (m_session.isOpen()) {
        // The open dialog follows the click: its command runs again for the clicked line.
        switch (m_session.mode()) {
        case EntryMode::NewKeyword:
        case EntryMode::InsertedKeyword:
            // The pending keyword moves to the clicked line.
            openPendingKeyword(m_session.mode());
            return;
        case EntryMode::ChangeKeyword:
            m_document.goToPage(pageOfLine(line));
            selectLine(line);
            changeCommand();
            return;
        default:
            break;
        }
    }
    const int page = pageOfLine(line);
    if (page >= 1 && m_document.goToPage(page))
        selectLine(line); // the page change selected the page's first line
}

} // namespace quillo::maker
