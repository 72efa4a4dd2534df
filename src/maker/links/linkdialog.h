#pragma once

#include "core/helpdocument.h"

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;
class QListWidget;

namespace quillo::maker {

// `qzd32mk_link`: where the selected text is to lead. It lists the pages as the contents
// window does ("p 1  title") and has a field for a web address (http:, https:, mailto:);
// choosing one clears the other, and OK is offered once either names a target.
class LinkDialog : public QDialog {
    Q_OBJECT
public:
    // `current`: the target the selection leads to already (empty: none).
    LinkDialog(const HelpDocument& doc, const QString& current, QWidget* parent = nullptr);

    // The chosen target: "#N" for page N, or the web address; empty when none is chosen.
    QString target() const;
    QListWidget* pageList() const { return m_pages; }
    QLineEdit* addressBox() const { return m_address; }
    QDialogButtonBox* buttons() const { return m_buttons; }

private:
    void updateOk();

    QListWidget* m_pages = nullptr;
    QLineEdit* m_address = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace quillo::maker
