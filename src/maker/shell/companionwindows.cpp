#include "maker/shell/companionwindows.h"

#include "core/text.h"
#include "maker/shell/shelllogic.h"
#include "maker/shell/windowgeometry.h"
#include "winsvc/twips.h"

#include <QCloseEvent>
#include <QListWidget>

namespace quillo {

CompanionWindow::CompanionWindow(QWidget* owner, TwipsRect& settings, const QString& name,
                                 const QString& caption)
    : QWidget(owner, Qt::Tool), m_settings(settings), m_list(new QListWidget(this)) {
    setObjectName(name);
    setWindowTitle(caption);
    m_list->setObjectName(QStringLiteral("List1"));
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

void CompanionWindow::fill(const HelpDocument& doc, int currentPage) {
    m_list->clear();
    m_list->addItems(linesOf(doc));
    selectLine(lineOfPage(doc, currentPage));
}

void CompanionWindow::selectLine(int line) {
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

ContentsWindow::ContentsWindow(QWidget* owner, TwipsRect& settings)
    : CompanionWindow(owner, settings, QStringLiteral("qzd32mk_index"), QStringLiteral("目次")) {}

QStringList ContentsWindow::linesOf(const HelpDocument& doc) const {
    QStringList lines;
    for (int page = 1; page <= doc.pageCount; ++page)
        lines.append(listEntry(page, doc.hasTitle(page) ? doc.title[page] : QString()));
    return lines;
}

int ContentsWindow::lineOfPage(const HelpDocument& doc, int page) const {
    return listLineOfPage(doc, page, false);
}

KeywordWindow::KeywordWindow(QWidget* owner, TwipsRect& settings)
    : CompanionWindow(owner, settings, QStringLiteral("qzd32mk_key"), QStringLiteral("ｷｰﾜｰﾄﾞ")) {}

QStringList KeywordWindow::linesOf(const HelpDocument& doc) const {
    QStringList lines;
    for (int page = 1; page <= doc.pageCount; ++page) {
        if (doc.keywordCount[page] == 0)
            lines.append(listEntry(page, QString()));
        for (int slot = 1; slot <= doc.keywordCount[page]; ++slot)
            lines.append(listEntry(page, doc.keywords[page][slot]));
    }
    return lines;
}

int KeywordWindow::lineOfPage(const HelpDocument& doc, int page) const {
    return listLineOfPage(doc, page, true);
}

} // namespace quillo
