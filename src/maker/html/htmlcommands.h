#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace quillo {
class Dialogs;
}

namespace quillo::maker {

class MakerDocument;

namespace html {
struct SiteFiles;
}

// The commands of the HTML(H) menu: make the site with the shown page or with all pages,
// and open its start page in the browser. The site goes into the program folder, in a folder
// named after the help file.
class HtmlCommands : public QObject {
    Q_OBJECT
public:
    // `pageColour` gives the page editor's background colour (a Windows colour value) at the
    // time of a make command; messages are owned by `window`.
    HtmlCommands(Dialogs& dialogs, MakerDocument& document, QWidget* window, QString programFolder,
                 std::function<quint32()> pageColour);

    void makeShownPage();
    void makeAllPages();
    void openInBrowser();

private:
    // Writes the navigation pages and converts pages first..last, asking first.
    void makeSite(bool shownPageOnly);
    // `substituted`: characters the navigation pages hold as "?", named in the report.
    bool convert(const html::SiteFiles& site, int first, int last, bool overwrite,
                 const QString& substituted);
    void message(const QString& title, const QString& text, bool warning);

    Dialogs& m_dialogs;
    MakerDocument& m_document;
    QWidget* m_window;
    QString m_programFolder;
    std::function<quint32()> m_pageColour;
};

} // namespace quillo::maker
