#include "maker/entries/entrydialog.h"

#include "core/helpdocument.h"
#include "maker/entries/entrylogic.h"
#include "maker/entries/entrytexts.h"
#include "winsvc/dialogs.h"
#include "winsvc/twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>

namespace quillo::maker {

EntryTextBox::EntryTextBox(Dialogs& dialogs, QWidget* parent)
    : QLineEdit(parent), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("Text1"));
    connect(this, &QLineEdit::textChanged, this, &EntryTextBox::cutToLimit);
}

void EntryTextBox::cutToLimit() {
    if (characterCount(text()) <= MaxEntryLength)
        return;
    m_dialogs.ask(this, entrytexts::entryLimitTitle(), entrytexts::entryTooLongText(),
                  Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    setText(firstCharacters(text(), MaxEntryLength));
}

// The caret does not follow the pointer: the drop replaces the selection the writer made.
void EntryTextBox::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void EntryTextBox::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void EntryTextBox::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const int selected = characterCount(selectedText());
    const int room = MaxEntryLength - characterCount(text()) + selected;
    QString dropped = withoutTrailingLineBreak(event->mimeData()->text());
    if (characterCount(dropped) > room) {
        dropped = withoutTrailingLineBreak(firstCharacters(dropped, qMax(room, 0)));
        if (m_dialogs.ask(this, entrytexts::entryLimitTitle(),
                          entrytexts::dropTooLongQuestion(room), Dialogs::Icon::Information,
                          Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
            return;
    }
    insert(dropped);
}

EntryDialog::EntryDialog(Dialogs& dialogs, QWidget* owner)
    : QWidget(owner, Qt::Tool), m_pageLabel(new QLabel(this)),
      m_text(new EntryTextBox(dialogs, this)),
      m_commit(new QPushButton(QStringLiteral("設定"), this)),
      m_cancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this)) {
    setObjectName(QStringLiteral("qzd32mk_tork"));
    setWindowTitle(QStringLiteral("追加"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_pageLabel->setObjectName(QStringLiteral("Text2"));
    m_pageLabel->setAutoFillBackground(true);
    m_pageLabel->setBackgroundRole(QPalette::Button);
    m_commit->setObjectName(QStringLiteral("Command1"));
    m_cancel->setObjectName(QStringLiteral("Command2"));

    const auto place = [](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(twipsToPixels(left), twipsToPixels(top, Qt::Vertical), twipsToPixels(width),
                       twipsToPixels(height, Qt::Vertical));
    };
    place(m_pageLabel, 90, 210, 405, 240);
    place(m_text, 600, 180, 3360, 300);
    place(m_commit, 1020, 570, 1095, 300);
    place(m_cancel, 2250, 570, 1095, 300);
    setFixedSize(twipsToPixels(4110), twipsToPixels(990, Qt::Vertical));

    connect(m_text, &QLineEdit::returnPressed, this, &EntryDialog::commitRequested);
    connect(m_commit, &QPushButton::clicked, this, &EntryDialog::commitRequested);
    connect(m_cancel, &QPushButton::clicked, this, &EntryDialog::cancelRequested);
}

void EntryDialog::prepare(const QString& caption, const QString& pageLabel,
                          const std::optional<QString>& text) {
    setWindowTitle(caption);
    m_text->setAccessibleName(caption);
    m_pageLabel->setText(pageLabel);
    if (text)
        m_text->setText(*text);
    m_text->selectAll();
    m_text->setFocus();
}

void EntryDialog::placeOver(const QWidget* owner) {
    const QRect ownerFrame = owner->frameGeometry();
    QPoint corner = ownerFrame.center();
    const QScreen* screen = owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    const QSize size = frameGeometry().size();
    corner.setX(qMax(corner.x(), area.left()));
    if (corner.x() + size.width() > area.right() + 1)
        corner.setX(area.right() + 1 - size.width());
    corner.setY(qMax(corner.y(), area.top()));
    if (corner.y() + size.height() > area.bottom() + 1)
        corner.setY(area.bottom() + 1 - size.height());
    move(corner);
}

QString EntryDialog::text() const {
    return m_text->text();
}

void EntryDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        finish();
        return;
    }
    QWidget::keyPressEvent(event);
}

void EntryDialog::finish() {
    m_finishing = true;
    close();
}

void EntryDialog::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed(!m_finishing);
}

} // namespace quillo::maker
