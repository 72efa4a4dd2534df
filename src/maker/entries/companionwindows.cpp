#include "maker/entries/companionwindows.h"

#include "core/pages.h"
#include "maker/common/windowgeometry.h"
#include "maker/document/makerdocument.h"
#include "winsvc/twips.h"

#include <QCloseEvent>
#include <QListWidget>

namespace quillo::maker {

CompanionWindow::CompanionWindow(const MakerDocument& document, QWidget* owner, TwipsRect& settings,
                                 const QString& name, const QString& caption)
    : QWidget(owner, Qt::Tool), m_document(document), m_settings(settings),
      m_list(new QListWidget(this)) {
    setObjectName(name);
    setWindowTitle(caption);
    m_list->setObjectName(QStringLiteral("List1"));
}

void CompanionWindow::follow() {
    connect(&m_document, &MakerDocument::pagesChanged, this, &CompanionWindow::fill);
    connect(&m_document, &MakerDocument::pageEntriesChanged, this, &CompanionWindow::fill);
    connect(&m_document, &MakerDocument::currentPageChanged, this,
            &CompanionWindow::selectCurrentPage);
    fill();
}

void CompanionWindow::placeFromSettings() {
    TwipsRect rect = m_settings;
    keepCompanionOnScreen(rect, screenWidthTwips(), screenHeightTwips());
    m_settings.top = rect.top;
    m_settings.left = rect.left;
    setTwipsGeometry(this, rect);
}

void CompanionWindow::offsetBy(int twips) {
    TwipsRect rect = twipsGeometry(this);
    rect.top += twips;
    rect.left += twips;
    setTwipsGeometry(this, rect);
}

void CompanionWindow::fill() {
    m_list->clear();
    m_list->addItems(linesOf(m_document.help()));
    selectCurrentPage();
}

void CompanionWindow::selectCurrentPage() {
    const int line = lineOfPage(m_document.help(), m_document.currentPage());
    if (m_list->count() > 0)
        m_list->setCurrentRow(qBound(0, line, m_list->count() - 1));
}

void CompanionWindow::closeEvent(QCloseEvent* event) {
    if (!isMinimized() && !isMaximized())
        m_settings = twipsGeometry(this);
    QWidget::closeEvent(event);
    emit closed();
}

void CompanionWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int margin = twipsToPixels(60);
    m_list->setGeometry(margin, margin, width() - 2 * margin, height() - 2 * margin);
}

ContentsWindow::ContentsWindow(const MakerDocument& document, QWidget* owner, TwipsRect& settings)
    : CompanionWindow(document, owner, settings, QStringLiteral("qzd32mk_index"),
                      QStringLiteral("目次")) {
    follow();
}

QStringList ContentsWindow::linesOf(const HelpDocument& doc) const {
    return contentsLines(doc);
}

int ContentsWindow::lineOfPage(const HelpDocument& doc, int page) const {
    return listLineOfPage(doc, page, false);
}

KeywordWindow::KeywordWindow(const MakerDocument& document, QWidget* owner, TwipsRect& settings)
    : CompanionWindow(document, owner, settings, QStringLiteral("qzd32mk_key"),
                      QStringLiteral("ｷｰﾜｰﾄﾞ")) {
    follow();
}

QStringList KeywordWindow::linesOf(const HelpDocument& doc) const {
    return keywordLinesByPage(doc);
}

int KeywordWindow::lineOfPage(const HelpDocument& doc, int page) const {
    return listLineOfPage(doc, page, true);
}

} // namespace quillo::maker
