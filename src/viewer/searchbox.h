#pragma once

#include <QLineEdit>

namespace quillo {
class Dialogs;
}

namespace quillo::viewer {

// The viewer's search box. It remembers its last selection (after each key release, mouse
// release and change), so that text dropped onto it replaces that selection, and it takes a
// drop only as far as the 32-character limit leaves room, asking before it cuts the text.
// Ctrl+A is left to the window's select-all, which selects the page.
class SearchBox : public QLineEdit {
    Q_OBJECT
public:
    // `dropTitle` heads the question asked before a long drop is cut; the viewer's own title
    // when empty.
    explicit SearchBox(Dialogs& dialogs, QWidget* parent = nullptr, QString dropTitle = {});

    // Inserts dropped text at the remembered selection under the box's rules.
    void dropText(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void rememberSelection();

    Dialogs& m_dialogs;
    QString m_dropTitle;
    int m_selStart = 0;
    int m_selLength = 0;
};

// A trailing line break (CR LF, or a lone LF or CR) removed.
QString withoutTrailingLineBreak(QString text);

} // namespace quillo::viewer
