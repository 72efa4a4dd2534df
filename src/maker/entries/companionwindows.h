#pragma once

#include "core/helpdocument.h"
#include "core/twipsrect.h"

#include <QStringList>
#include <QWidget>

class QListWidget;

namespace quillo::maker {

class MakerDocument;

// A small modeless window owned by the authoring window that lists the document's pages
// (the contents window and the keyword window). It keeps its position and size in the
// settings values it is given: it takes them when it is placed and stores them back when
// it closes in the normal state. It follows the document: its list is rebuilt when pages or
// their entries change, and its selection follows the current page.
class CompanionWindow : public QWidget {
    Q_OBJECT
public:
    // Places the window from its settings values, kept on the screen; the corrected Top and
    // Left are stored back at once.
    void placeFromSettings();
    // Moves the window down and right by `twips` (several running copies).
    void offsetBy(int twips);

    QListWidget* list() const { return m_list; }
signals:
    void closed();

protected:
    CompanionWindow(const MakerDocument& document, QWidget* owner, TwipsRect& settings,
                    const QString& name, const QString& caption);
    // Builds the list; the constructors of the windows call it once they are complete.
    void follow();
    // The list lines of the document, in page order.
    virtual QStringList linesOf(const HelpDocument& doc) const = 0;
    // The line selected for the current page.
    virtual int lineOfPage(const HelpDocument& doc, int page) const = 0;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Rebuilds the list from the document and selects the current page's first line.
    void fill();
    // Selects the first line of the current page, when the list has lines.
    void selectCurrentPage();

    const MakerDocument& m_document;
    TwipsRect& m_settings;
    QListWidget* m_list;
};

// `qzd32mk_index`: one line per page with its contents title.
class ContentsWindow : public CompanionWindow {
    Q_OBJECT
public:
    ContentsWindow(const MakerDocument& document, QWidget* owner, TwipsRect& settings);

protected:
    QStringList linesOf(const HelpDocument& doc) const override;
    int lineOfPage(const HelpDocument& doc, int page) const override;
};

// `qzd32mk_key`: the keywords of every page in page order; a page without keywords shows
// one line with its number alone.
class KeywordWindow : public CompanionWindow {
    Q_OBJECT
public:
    KeywordWindow(const MakerDocument& document, QWidget* owner, TwipsRect& settings);

protected:
    QStringList linesOf(const HelpDocument& doc) const override;
    int lineOfPage(const HelpDocument& doc, int page) const override;
};

} // namespace quillo::maker
