#pragma once

#include "maker/common/settingsfile.h"
#include "maker/search/searchlogic.h"
#include "winsvc/dialogs.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace quillo {
class RichTextControl;
}

namespace quillo::maker {

class MakerDocument;

// `qzd32mk_srch` ("検索・置換"): finds the search text in the pages of the document, down or
// up from the editor's caret, and replaces one match at a time or every match. A match is
// shown by making its page the current page and selecting it in the page editor; the title
// and the lists follow the document's current page. The window is made once and hidden
// when closed, so its direction, run state and texts last for the program run.
class SearchWindow : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Search = 0, Replace = 1, ReplaceAll = 2 };

    SearchWindow(Dialogs& dialogs, MakerDocument& document, RichTextControl& editor, QWidget* owner,
                 DialogOffset& offset);

    // Opens the window from 検索(F) (Search) or 置換(E) (Replace).
    void open(Mode mode);

    Mode mode() const { return m_mode; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void takeEditorSelection();
    void showReplaceControls(bool shown);
    void updateButtons();
    void limitBox(QLineEdit* box, const QString& title, const QString& text);
    void dropInto(QLineEdit* box, const QString& dropped);
    void setDirection(SearchDirection direction);

    void findNextPressed();
    void replacePressed();
    void replaceAllPressed();
    // One find run from the editor's caret; `mode` names the command it serves.
    void findNext(Mode mode);
    void warnLongPage();
    void returnToStart();
    QString pageText(int page);
    // Makes the plain texts of the stored pages in idle time, one page per turn of the event
    // loop, so that the first find of a run meets them made instead of reading every page.
    void preparePageTexts();
    void prepareNextPageText();
    void message(const QString& title, const QString& text);

    struct Start {
        int page = 1;
        int selStart = 0;
        int selLength = 0;
    };

    Dialogs& m_dialogs;
    MakerDocument& m_document;
    RichTextControl& m_editor;
    QWidget* m_owner;
    PageTexts m_pageTexts;
    QTimer* m_preparing = nullptr;
    int m_nextPrepared = 1; // the next page preparePageTexts() looks at

    Mode m_mode = Mode::Search;
    SearchDirection m_direction = SearchDirection::Down;
    bool m_matchCase = false;
    int m_runState = 1; // 1 fresh, 2 after a match
    bool m_replaced = false;
    bool m_longPageWarned = false;
    Start m_start;

    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QRadioButton* m_down = nullptr;
    QRadioButton* m_up = nullptr;
    QCheckBox* m_case = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAll = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace quillo::maker
