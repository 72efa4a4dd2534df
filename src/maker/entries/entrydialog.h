#pragma once

#include <QLineEdit>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;

namespace quillo {
class Dialogs;
}

namespace quillo::maker {

// `Text1`: the text being entered. It keeps at most 32 characters, and a drop replaces the
// selection the writer had before dragging, asking when the text does not fit.
class EntryTextBox : public QLineEdit {
    Q_OBJECT
public:
    EntryTextBox(Dialogs& dialogs, QWidget* parent);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void cutToLimit();
    // Puts dropped text in place of the selection, asking when it does not fit.
    void insertDropped(const QString& text);

    Dialogs& m_dialogs;
};

// `qzd32mk_tork`: the small window in which the writer types a contents title or a keyword.
// It knows nothing of the document: it shows what it is told, and reports a commit (Enter,
// "設定"), a cancel ("ｷｬﾝｾﾙ", the close box) and its closing. Esc closes it without a
// cancel. It deletes itself when closed.
class EntryDialog : public QWidget {
    Q_OBJECT
public:
    EntryDialog(Dialogs& dialogs, QWidget* owner);

    // Caption, page label and the text at start (none: the box keeps what it holds); the
    // whole text is selected and the box has the focus.
    void prepare(const QString& caption, const QString& pageLabel,
                 const std::optional<QString>& text);
    // Puts the window's top-left corner on the middle of `owner`, kept on the screen.
    void placeOver(const QWidget* owner);
    QString text() const;
    EntryTextBox* textBox() const { return m_text; }
    // Closes the window as the program does (after a commit, a cancel or Esc); any other
    // close is the writer's through the close box.
    void finish();

signals:
    void commitRequested();
    void cancelRequested();
    // Closed in any way; `byUser` when through the close box or the system menu, which
    // counts as a cancel.
    void closed(bool byUser);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_pageLabel;
    EntryTextBox* m_text;
    QPushButton* m_commit;
    QPushButton* m_cancel;
    bool m_finishing = false;
};

} // namespace quillo::maker
