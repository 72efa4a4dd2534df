// The contents window: titles from the editor's selection, a drop or the entry dialog.
#include "core/pages.h"
#include "core/text.h"
#include "maker/document/makerdocument.h"
#include "maker/entries/companionwindows.h"
#include "maker/entries/entrylogic.h"
#include "maker/entries/entrysession.h"
#include "maker/entries/entrytexts.h"
#include "winsvc/hourglass.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace quillo::maker {

ContentsWindow::ContentsWindow(MakerDocument& document, Dialogs& dialogs, EntrySession& session,
                               QWidget* owner, TwipsRect& settings)
    : CompanionWindow(document, dialogs, session, owner, settings, QStringLiteral("qzd32mk_index"),
                      QStringLiteral("目次"),
                      {QStringLiteral("目次、ページを新規に作成"),
                       QStringLiteral("選択目次、ページを削除"), QStringLiteral("選択目次を変更"),
                       QStringLiteral("目次、ページを挿入")},
                      QStringLiteral("qzd_index_edit"), QStringLiteral("目次編集(&E)"), 665) {
    QAction* newItem = addMenuItem("qzd_index_edit_new", QStringLiteral("新規(&A)"));
    QAction* changeItem = addMenuItem("qzd_index_edit_change", QStringLiteral("変更（&C)"));
    m_deleteItem = addMenuItem("qzd_index_edit_delete", QStringLiteral("削除(&D)"));
    QAction* insertItem = addMenuItem("qzd_index_edit_insert", QStringLiteral("挿入(&I)"));
    m_undoItem = addMenuItem("qzd_index_edit_undo", QStringLiteral("元に戻す(&U)"));

    connect(newItem, &QAction::triggered, this, &ContentsWindow::newPageRequested);
    connect(changeItem, &QAction::triggered, this, [this] { changeCommand(); });
    connect(m_deleteItem, &QAction::triggered, this, &ContentsWindow::deletePageRequested);
    connect(insertItem, &QAction::triggered, this, &ContentsWindow::insertPageRequested);
    connect(m_undoItem, &QAction::triggered, this, &ContentsWindow::undoPageRequested);
    connect(button(New), &QPushButton::clicked, this, &ContentsWindow::newPageRequested);
    connect(button(Delete), &QPushButton::clicked, this, &ContentsWindow::deletePageRequested);
    connect(button(Insert), &QPushButton::clicked, this, &ContentsWindow::insertPageRequested);
    follow();
}

QStringList ContentsWindow::linesOf(const HelpDocument& doc) const {
    return contentsLines(doc);
}

int ContentsWindow::lineOfPage(const HelpDocument& doc, int page) const {
    return listLineOfPage(doc, page, false);
}

void ContentsWindow::setEntryDialogOpen(bool open, bool forOtherList) {
    CompanionWindow::setEntryDialogOpen(open, forOtherList);
    m_deleteItem->setEnabled(!open);
    m_undoItem->setEnabled(!open);
}

void ContentsWindow::titleFromSelection(const QString& selection) {
    if (selection.isEmpty()) {
        message(entrytexts::contentsSetTitle(), entrytexts::selectTitleTextText());
        return;
    }
    QString candidate = selection;
    if (characterCount(selection) > MaxEntryLength) {
        candidate = firstCharacters(selection, MaxEntryLength);
        if (!askYesNo(entrytexts::contentsSetTitle(),
                      entrytexts::longSelectionTitleQuestion(candidate)))
            return;
    }
    storeWithQuestion(withoutTrailingLineBreak(candidate));
}

void ContentsWindow::textDropped(const QString& text) {
    const QString dropped = withoutTrailingLineBreaks(text);
    if (dropped.isEmpty())
        return;
    QString candidate = dropped;
    if (characterCount(dropped) > MaxEntryLength) {
        candidate = withoutTrailingLineBreak(firstCharacters(dropped, MaxEntryLength));
        if (!askYesNo(entrytexts::contentsSetTitle(), entrytexts::longDropTitleQuestion(candidate)))
            return;
    }
    // The title goes to the current page, whichever line the text was dropped on.
    storeWithQuestion(candidate);
}

void ContentsWindow::storeWithQuestion(const QString& candidate) {
    if (const std::optional<QString> bad = firstUnstorableCharacter(candidate)) {
        message(entrytexts::contentsSetTitle(), entrytexts::unstorableCharacterText(*bad));
        return;
    }
    if (m_document.page(m_document.currentPage()).hasTitle()) {
        const std::optional<ListEntry> shown = parseListEntry(selectedLineText());
        const QString old = shown ? shown->text : QString();
        if (!old.isEmpty() && !askYesNo(entrytexts::contentsSetTitle(),
                                        entrytexts::replaceTitleQuestion(old, candidate)))
            return;
    }
    storeTitle(candidate);
}

void ContentsWindow::storeTitle(const QString& text) {
    m_document.setTitle(m_document.currentPage(), text);
}

void ContentsWindow::changeTitle(const QString& text) {
    if (selectedLine() < 0)
        return;
    m_document.setTitle(m_document.currentPage(), text);
}

void ContentsWindow::changeCommand() {
    if (selectedLine() < 0) {
        message(entrytexts::contentsChangeTitle(), entrytexts::selectTitleToChangeText());
        return;
    }
    m_session.cancelAndClose();
    m_document.beginEntry(EntryMode::ChangeTitle);
    m_session.open();
}

void ContentsWindow::deleteKeyPressed() {
    emit deletePageRequested();
}

void ContentsWindow::lineClicked(int line) {
    Hourglass hourglass;
    if (m_session.isOpen()) {
        switch (m_session.mode()) {
        case EntryMode::NewPage:
            // The dialog names the page being added; the selection stays on it.
            selectLine(list()->count() - 1);
            return;
        case EntryMode::InsertedPage:
            // The pending page moves to the clicked place.
            emit insertPageRequested();
            return;
        default:
            break;
        }
    }
    const int page = pageOfLine(line);
    if (page >= 1)
        m_document.goToPage(page);
    // In a title change the dialog follows the click to the new line.
    if (m_session.isOpen() && m_session.mode() == EntryMode::ChangeTitle) {
        selectLine(line);
        changeCommand();
    }
}

} // namespace quillo::maker
