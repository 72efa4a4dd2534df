#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QKeyEvent;
class QWidget;

namespace quillo {
class Dialogs;
class LinkPresenter;
class RichTextControl;
} // namespace quillo

namespace quillo::maker {

class LinkDialog;
class MakerDocument;

// The link commands of the page editor: ﾘﾝｸ設定 opens the link dialog for the selection (or
// the link at the caret) and makes the text a link to the chosen target; ﾘﾝｸ解除 makes the
// link at the caret, or every link in the selection, plain text again. The editor shows its
// links, and a Ctrl+click follows one: a page link shows that page, a web address opens in
// the browser.
class LinkCommands : public QObject {
    Q_OBJECT
public:
    LinkCommands(MakerDocument& document, RichTextControl& editor, Dialogs& dialogs,
                 QAction* setLink, QAction* removeLink, QWidget* window);

    // The link dialog while it is open.
    LinkDialog* dialog() const;
    LinkPresenter& presenter() const { return *m_presenter; }

    void setLink();
    void removeLink();
    void follow(const QString& target);

private:
    void onEditorKey(QKeyEvent* event);
    // Selects the link the caret is in when nothing is selected; false when there is none.
    bool selectLinkAtCaret();

    MakerDocument& m_document;
    RichTextControl& m_editor;
    Dialogs& m_dialogs;
    QAction* m_setLink;
    QWidget* m_window;
    LinkPresenter* m_presenter = nullptr;
    QPointer<LinkDialog> m_dialog;
};

} // namespace quillo::maker
