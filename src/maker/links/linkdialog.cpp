#include "maker/links/linkdialog.h"

#include "core/pages.h"
#include "rtf/pagelinks.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillo::maker {

LinkDialog::LinkDialog(const HelpDocument& doc, const QString& current, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("qzd32mk_link"));
    setWindowTitle(QStringLiteral("qzd32Maker ﾘﾝｸ設定"));
    auto* layout = new QVBoxLayout(this);

    auto* pagesLabel = new QLabel(QStringLiteral("ﾘﾝｸ先のﾍﾟｰｼﾞ(&P):"), this);
    m_pages = new QListWidget(this);
    m_pages->setObjectName(QStringLiteral("LinkPages"));
    m_pages->addItems(contentsLines(doc));
    pagesLabel->setBuddy(m_pages);
    auto* addressLabel = new QLabel(QStringLiteral("Webｱﾄﾞﾚｽ(&W) (http:, https:, mailto:):"), this);
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("LinkAddress"));
    addressLabel->setBuddy(m_address);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(pagesLabel);
    layout->addWidget(m_pages);
    layout->addWidget(addressLabel);
    layout->addWidget(m_address);
    layout->addWidget(m_buttons);

    if (const int page = rtf::linkedPage(current); page > 0 && page <= m_pages->count())
        m_pages->setCurrentRow(page - 1);
    else if (rtf::isWebAddress(current))
        m_address->setText(current);

    connect(m_pages, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_address->clear();
        updateOk();
    });
    connect(m_address, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!text.isEmpty())
            m_pages->setCurrentRow(-1);
        updateOk();
    });
    connect(m_pages, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateOk();
}

QString LinkDialog::target() const {
    if (const int row = m_pages->currentRow(); row >= 0)
        return rtf::pageLinkTarget(row + 1);
    const QString address = m_address->text().trimmed();
    return rtf::isWebAddress(address) ? address : QString();
}

void LinkDialog::updateOk() {
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!target().isEmpty());
}

} // namespace quillo::maker
