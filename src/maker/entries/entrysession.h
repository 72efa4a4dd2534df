#pragma once

#include "maker/document/makerdocument.h"

#include <QObject>
#include <QPointer>

namespace quillo {
class Dialogs;
}

namespace quillo::maker {

class ContentsWindow;
class EntryDialog;
class KeywordWindow;
struct MakerActions;

// The entry dialog while it is open: which companion window owns it, what its commit writes
// and its cancel takes back, and the commands of every window that stay disabled meanwhile.
// The mode is the document's entry mode, set by the command that opens the dialog.
class EntrySession : public QObject {
    Q_OBJECT
public:
    EntrySession(MakerDocument& document, Dialogs& dialogs, const MakerActions& actions,
                 QObject* parent = nullptr);
    void setWindows(ContentsWindow* contents, KeywordWindow* keywords);

    bool isOpen() const { return !m_dialog.isNull(); }
    EntryMode mode() const { return m_document.entryMode(); }
    // The open dialog; null when none is open.
    EntryDialog* dialog() const;

    // Shows the dialog for the document's entry mode over its owner and prepares it. An
    // open dialog is prepared again for the owner list's selected line.
    void open();
    // Prepares the open dialog for the owner list's selected line (caption, page label,
    // text, place).
    void prepare();
    // Takes back what the opener added (the page, the empty keyword) and puts the
    // document's modified mark back as it was (cancel_entry_dialog).
    void cancel();
    // Cancels and closes an open dialog, for a command that opens it anew.
    void cancelAndClose();

    // The keyword-list line the keyword commands work on.
    int rememberedKeywordLine = 0;

private:
    void commit();
    void closed(bool byUser);
    void setCommandsEnabled(bool enabled);

    MakerDocument& m_document;
    Dialogs& m_dialogs;
    const MakerActions& m_actions;
    ContentsWindow* m_contents = nullptr;
    KeywordWindow* m_keywords = nullptr;
    QPointer<EntryDialog> m_dialog;
    bool m_contentsGroupDisabled = true; // which group was disabled at opening
};

} // namespace quillo::maker
