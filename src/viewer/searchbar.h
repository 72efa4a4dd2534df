#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;

namespace quillo {
class Dialogs;
}

namespace quillo::viewer {

class PageSearch;
class SearchBox;

// The search bar along the top of the viewer window, at the fixed places of its controls:
// the caption "検索文字", the search box `Text1`, the search button `Command1` and the tick
// "最初から検索" `Check1`. The button's caption and the tick follow the search's state; the
// button, Enter in the box and Enter on the focused button ask for a search.
class SearchBar : public QWidget {
    Q_OBJECT
public:
    SearchBar(Dialogs& dialogs, QWidget* parent = nullptr);

    // The search whose state the bar shows; the tick and any change of the text reset it.
    void attach(PageSearch* search);

    SearchBox* box() const { return m_box; }
    QPushButton* button() const { return m_button; }
    QString text() const;
    // Puts `text` into the box, selected.
    void showText(const QString& text);
    // Puts `text` into the box and asks for a search of it.
    void searchFor(const QString& text);
    // Asks for a search of the box's text; an empty box asks the user for a text instead.
    void requestSearch();

signals:
    void searchRequested(const QString& needle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTextChanged(const QString& text);

    Dialogs& m_dialogs;
    PageSearch* m_search = nullptr;
    SearchBox* m_box = nullptr;
    QPushButton* m_button = nullptr;
    QCheckBox* m_fromStart = nullptr;
};

} // namespace quillo::viewer
