// The page editor as the document's view, and the page commands: the document does the
// work, the window asks and tells.
#include "maker/common/shelltexts.h"
#include "maker/entries/companionwindows.h"
#include "maker/entries/entrysession.h"
#include "maker/format/formatlogic.h"
#include "maker/format/indentruler.h"
#include "maker/shell/mainwindow.h"
#include "winsvc/hourglass.h"
#include "winsvc/richtextcontrol.h"

namespace quillo::maker {

namespace {

const QString NewPageTitle = QStringLiteral("qzd32Maker 新規ページ");
const QString InsertPageTitle = QStringLiteral("qzd32Maker ページ挿入");
const QString DeletePageTitle = QStringLiteral("qzd32Maker ﾍﾟｰｼﾞ削除");
const QString UndoPageTitle = QStringLiteral("qzd32Maker 元に戻す<頁編集>");

} // namespace

// The page editor as the document's view ----------------------------------------------

QByteArray MakerMainWindow::shownRtf() const {
    return m_editor->rtf();
}

void MakerMainWindow::showRtf(const QByteArray& rtf) {
    // The program's own change, counted as the notification it was told to ignore.
    ++m_programEdits;
    m_editor->setRtf(rtf);
    --m_programEdits;
    m_ignoreNextChange = false;
}

bool MakerMainWindow::isLoadingPage() const {
    return m_editor->isLoading();
}

bool MakerMainWindow::holdsWholePage() const {
    return m_editor->holdsWholePage();
}

void MakerMainWindow::showEmptyPage() {
    ++m_programEdits;
    m_editor->setRtf(QByteArray());
    SelectionFormat format;
    format.fontName = QStringLiteral("ＭＳ Ｐゴシック");
    format.fontSize = 9;
    format.color = 0;
    format.alignment = SelectionFormat::AlignLeft;
    format.bold = false;
    format.italic = false;
    format.underline = false;
    format.bullet = false;
    format.leftIndent = 0;
    m_editor->setSelectionFormat(format);
    --m_programEdits;
    m_ignoreNextChange = false;
    m_ruler->placeMarker(IndentRuler::Left, LeftMarkerHome);
}

// Page commands --------------------------------------------------------------------------

void MakerMainWindow::nextPage() {
    {
        Hourglass hourglass;
        m_document.nextPage();
    }
    m_editor->setFocus();
}

void MakerMainWindow::previousPage() {
    {
        Hourglass hourglass;
        m_document.previousPage();
    }
    m_editor->setFocus();
}

void MakerMainWindow::newPage() {
    if (m_editor->isLoading())
        return;
    if (m_document.pageCount() >= MaxPages) {
        message(NewPageTitle, pageLimitText(), Dialogs::Icon::Information);
        return;
    }
    m_entrySession->cancelAndClose();
    {
        Hourglass hourglass;
        m_document.appendPage();
    }
    m_editor->setFocus();
    // The writer gives the new page its title in the entry dialog.
    m_entrySession->open();
}

void MakerMainWindow::insertPage() {
    if (m_editor->isLoading())
        return;
    if (m_document.pageCount() >= MaxPages) {
        message(InsertPageTitle, pageLimitText(), Dialogs::Icon::Information);
        return;
    }
    if (m_entrySession->isOpen()) {
        // The pending page moves to the line selected now: it is taken back, and the page
        // that line then names becomes current.
        const int noted = m_contents->selectedLine() + 1;
        m_entrySession->cancelAndClose();
        m_document.goToPage(qBound(1, noted, m_document.pageCount()));
    }
    {
        Hourglass hourglass;
        m_document.insertPage();
    }
    m_editor->setFocus();
    m_entrySession->open();
}

void MakerMainWindow::deletePage() {
    if (m_editor->isLoading())
        return;
    m_document.keepForEntryCancel(EntryMode::DeletedPage);
    const HelpPage& first = m_document.page(1);
    // Both lists show the one line "p 1  " alone: no title text, at most one empty keyword.
    const bool emptyDocument = m_editor->textLength() == 0 && m_document.pageCount() == 1 &&
                               first.title.value_or(QString()).isEmpty() &&
                               first.keywords.size() <= 1 && first.keywords.value(0).isEmpty();
    if (emptyDocument) {
        message(DeletePageTitle, nothingToDeleteText(), Dialogs::Icon::Information);
        return;
    }
    if (m_dialogs.ask(this, DeletePageTitle, deletePageQuestion(m_document.currentPage()),
                      Dialogs::Icon::Information, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    Hourglass hourglass;
    m_document.deleteCurrentPage();
}

void MakerMainWindow::undoPage() {
    if (m_editor->isLoading())
        return;
    bool undone = false;
    {
        Hourglass hourglass;
        undone = m_document.undoPageCommand();
    }
    if (!undone) {
        message(UndoPageTitle, nothingToUndoText(), Dialogs::Icon::Information);
        return;
    }
    m_editor->setFocus();
}

} // namespace quillo::maker
