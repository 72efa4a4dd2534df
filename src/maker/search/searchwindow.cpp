#include "maker/search/searchwindow.h"

#include "core/text.h"
#include "maker/common/windowgeometry.h"
#include "maker/document/makerdocument.h"
#include "viewer/searchbox.h"
#include "winsvc/hourglass.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace quillo::maker {

namespace {

constexpr int TextLimit = 32;

// The longest text either box takes, as the messages write it (" 32").
QString limitText() {
    return numberText(TextLimit);
}

QString searchTitle() {
    return QStringLiteral("qzd32Maker 検索");
}

QString replaceTitle() {
    return QStringLiteral("qzd32Maker 置換");
}

void placeTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsToPixels(left, Qt::Horizontal), twipsToPixels(top, Qt::Vertical),
                        twipsToPixels(width, Qt::Horizontal), twipsToPixels(height, Qt::Vertical));
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int top) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    placeTwips(button, 4905, top, 1095, 285);
    return button;
}

} // namespace

SearchWindow::SearchWindow(Dialogs& dialogs, MakerDocument& document, RichTextControl& editor,
                           QWidget* owner, DialogOffset& offset)
    : QWidget(owner, Qt::Dialog), m_dialogs(dialogs), m_document(document), m_editor(editor),
      m_owner(owner), m_preparing(new QTimer(this)) {
    setObjectName(QStringLiteral("qzd32mk_srch"));
    m_preparing->setInterval(0);
    connect(m_preparing, &QTimer::timeout, this, &SearchWindow::prepareNextPageText);
    // Another document, or pages added, removed or stored from the editor: their texts are
    // made again ahead of the next find. Pages whose RTF did not change cost nothing.
    connect(&m_document, &MakerDocument::pagesChanged, this, &SearchWindow::preparePageTexts);
    connect(&m_document, &MakerDocument::currentPageChanged, this, &SearchWindow::preparePageTexts);
    setWindowTitle(QStringLiteral("検索・置換"));
    // Placed at its offset from the main window each time it is shown, kept on the screen
    // with its frame as the other tool windows are; hiding it keeps the offset.
    keepAtOffset(this, owner, offset);
    buildControls();
    setFixedSize(twipsToPixels(6120, Qt::Horizontal), twipsToPixels(1440, Qt::Vertical));
}

void SearchWindow::buildControls() {
    m_label1 = new QLabel(QStringLiteral("検索する文字列"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    placeTwips(m_label1, 135, 180, 1275, 225);
    m_text1 = new viewer::SearchBox(m_dialogs, this,
                                    QStringLiteral("qzd32Maker 検索（最大") + limitText() +
                                        QStringLiteral("文字）"));
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setAccessibleName(m_label1->text());
    placeTwips(m_text1, 1470, 90, 3315, 315);
    m_label2 = new QLabel(QStringLiteral("置換後の文字列"), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    placeTwips(m_label2, 135, 510, 1305, 225);
    m_text2 = new viewer::SearchBox(m_dialogs, this,
                                    QStringLiteral("qzd32Maker 置換（最大") + limitText() +
                                        QStringLiteral("文字）"));
    m_text2->setObjectName(QStringLiteral("Text2"));
    m_text2->setAccessibleName(m_label2->text());
    placeTwips(m_text2, 1470, 450, 3315, 315);

    auto* directionBox = new QGroupBox(QStringLiteral("検索する方向"), this);
    placeTwips(directionBox, 60, 810, 2355, 510);
    m_down = new QRadioButton(QStringLiteral("↓ 方向 "), directionBox);
    m_down->setObjectName(QStringLiteral("Option1"));
    placeTwips(m_down, 120, 220, 1050, 255);
    m_up = new QRadioButton(QStringLiteral("↑ 方向 "), directionBox);
    m_up->setObjectName(QStringLiteral("Option2"));
    placeTwips(m_up, 1200, 220, 1050, 255);
    m_down->setChecked(true);

    auto* caseBox = new QGroupBox(QStringLiteral("文字区別"), this);
    placeTwips(caseBox, 2520, 810, 2265, 510);
    m_case = new QCheckBox(QStringLiteral("大/小文字区別"), caseBox);
    m_case->setObjectName(QStringLiteral("Check1"));
    placeTwips(m_case, 120, 220, 2000, 255);

    m_findNext = makeButton(this, "Command1", QStringLiteral("次を検索"), 90);
    m_replace = makeButton(this, "Command3", QStringLiteral("置換"), 405);
    m_replaceAll = makeButton(this, "Command4", QStringLiteral("すべて置換"), 720);
    m_close = makeButton(this, "Command2", QStringLiteral("終了"), 1035);

    connect(m_findNext, &QPushButton::clicked, this, &SearchWindow::findNextPressed);
    connect(m_replace, &QPushButton::clicked, this, &SearchWindow::replacePressed);
    connect(m_replaceAll, &QPushButton::clicked, this, &SearchWindow::replaceAllPressed);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_down, &QRadioButton::toggled, this, [this](bool down) {
        setDirection(down ? SearchDirection::Down : SearchDirection::Up);
    });
    connect(m_case, &QCheckBox::toggled, this, [this](bool checked) { m_matchCase = checked; });
    connect(m_text1, &QLineEdit::textChanged, this, [this] {
        limitBox(m_text1, searchTitle(),
                 QStringLiteral("検索文字列は最大") + limitText() +
                     QStringLiteral("文字です。先頭") + limitText() +
                     QStringLiteral("文字を検索文字列とします。"));
        updateButtons();
    });
    connect(m_text2, &QLineEdit::textChanged, this, [this] {
        limitBox(m_text2, replaceTitle(),
                 QStringLiteral("置換文字列は最大") + limitText() +
                     QStringLiteral("文字です。先頭") + limitText() +
                     QStringLiteral("文字を置換文字列とします。"));
    });
    // Esc closes the window from any of its controls; the boxes and "次を検索" have keys of
    // their own besides.
    for (QWidget* watched : findChildren<QWidget*>())
        watched->installEventFilter(this);
}

void SearchWindow::limitBox(QLineEdit* box, const QString& title, const QString& text) {
    if (box->text().size() <= TextLimit)
        return;
    message(title, text);
    box->setText(box->text().left(TextLimit));
}

void SearchWindow::updateButtons() {
    const bool any = !m_text1->text().isEmpty();
    m_findNext->setEnabled(any);
    m_replace->setEnabled(any);
    m_replaceAll->setEnabled(any);
}

void SearchWindow::showReplaceControls(bool shown) {
    m_label2->setVisible(shown);
    m_text2->setVisible(shown);
    m_replaceAll->setVisible(shown);
}

void SearchWindow::setDirection(SearchDirection direction) {
    if (m_direction == direction)
        return;
    m_direction = direction;
    m_runState = 1;
    const QSignalBlocker blocker(m_down);
    m_down->setChecked(direction == SearchDirection::Down);
    m_up->setChecked(direction == SearchDirection::Up);
}

void SearchWindow::open(Mode mode) {
    m_mode = mode;
    if (isVisible()) {
        if (mode == Mode::Replace)
            showReplaceControls(true);
    } else {
        showReplaceControls(mode != Mode::Search);
        // Every opening starts without case distinction.
        m_case->setChecked(false);
        m_matchCase = false;
        m_runState = 1;
        updateButtons();
        m_document.storeShownPage();
        preparePageTexts();
        show();
        if (!m_owner->isMinimized())
            takeEditorSelection();
    }
    raise();
    activateWindow();
    m_text1->setFocus();
}

void SearchWindow::takeEditorSelection() {
    const QString selected = m_editor.selText();
    if (selected.size() > TextLimit) {
        message(searchTitle(), QStringLiteral("検索文字列は、最大") + limitText() +
                                   QStringLiteral("文字です。") + QLatin1Char('\n') +
                                   QStringLiteral("選択テキストの先頭") + limitText() +
                                   QStringLiteral("文字を検索文字列とします。"));
        m_text1->setText(selected.left(TextLimit));
    } else if (!selected.isEmpty()) {
        m_text1->setText(selected);
    }
    // The boxes keep their texts while the window is closed, for the program run.
    m_text1->selectAll();
    m_text2->selectAll();
}

void SearchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == m_text1) {
        if (enter) {
            if (m_findNext->isEnabled())
                m_findNext->click();
            else
                m_text2->setFocus();
            return true;
        }
        if (key->key() == Qt::Key_Down) {
            m_text2->setFocus();
            return true;
        }
    } else if (watched == m_text2) {
        if (enter) {
            if (m_replace->isEnabled())
                m_replace->setFocus();
            return true;
        }
        if (key->key() == Qt::Key_Up) {
            m_text1->setFocus();
            return true;
        }
    } else if (watched == m_findNext && key->key() == Qt::Key_F3) {
        setDirection(key->modifiers() & Qt::ShiftModifier ? SearchDirection::Up
                                                          : SearchDirection::Down);
        findNextPressed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SearchWindow::message(const QString& title, const QString& text) {
    m_dialogs.ask(this, title, text, Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

QString SearchWindow::pageText(int page) {
    // The shown page may hold edits not yet stored: its text comes from the editor.
    if (page == m_document.currentPage())
        return m_editor.plainText();
    return m_pageTexts.text(page, m_document.page(page).rtf);
}

void SearchWindow::preparePageTexts() {
    m_nextPrepared = 1;
    m_preparing->start();
}

void SearchWindow::prepareNextPageText() {
    // A page whose RTF changes later is made again when a find reads it; the shown page's
    // text comes from the editor.
    if (m_nextPrepared == m_document.currentPage())
        ++m_nextPrepared;
    if (m_nextPrepared > m_document.pageCount()) {
        m_preparing->stop();
        return;
    }
    m_pageTexts.text(m_nextPrepared, m_document.page(m_nextPrepared).rtf);
    ++m_nextPrepared;
}

void SearchWindow::findNextPressed() {
    m_mode = Mode::Search;
    findNext(Mode::Search);
}

void SearchWindow::warnLongPage() {
    if (m_longPageWarned || !isLongPage(m_editor.plainText()))
        return;
    m_longPageWarned = true;
    message(QStringLiteral("qzd32Maker 検索／置換"),
            QStringLiteral("１ページのテキストが長すぎます。検索できない場合があります。") +
                QLatin1Char('\n') +
                QStringLiteral("１ページのテキスト長を短くすることを推奨します。"));
}

void SearchWindow::findNext(Mode mode) {
    // The editor holds part of a page while one comes in: nothing is searched or replaced.
    if (m_editor.isLoading())
        return;
    warnLongPage();
    Hourglass hourglass;
    const QString needle = m_text1->text();
    m_start = {m_document.currentPage(), m_editor.selStart(), m_editor.selLength()};
    FindRequest request;
    request.needle = needle;
    request.matchCase = m_matchCase;
    request.direction = m_direction;
    request.page = m_start.page;
    // Down: after the current match (or the replacement just made); up: before the caret.
    request.position = m_direction == SearchDirection::Down ? m_start.selStart + m_start.selLength
                                                            : m_start.selStart;
    const FindOutcome outcome = findAcrossPages(request, m_document.pageCount(),
                                                [this](int page) { return pageText(page); });
    m_mode = Mode::Search;
    if (outcome.kind == FindOutcome::Found) {
        m_runState = 2;
        if (outcome.page != m_document.currentPage())
            m_document.showPage(outcome.page);
        m_editor.select(outcome.position, int(needle.size()));
        m_editor.show();
        return;
    }
    hourglass.release();
    returnToStart();
    if (outcome.kind == FindOutcome::TooManyMatches) {
        message(searchTitle(),
                QStringLiteral("検索できません。検索方向/開始位置を変更して下さい。"));
        return;
    }
    // A match shown before on the run's last page, with none after it there, ends the
    // search; otherwise nothing was found.
    const int lastPage = m_direction == SearchDirection::Down ? m_document.pageCount() : 1;
    const bool afterMatch = m_runState == 2 && m_start.page == lastPage;
    QString text;
    if (mode == Mode::Search)
        text = afterMatch ? QStringLiteral("検索を終了しました。")
                          : QStringLiteral("該当テキストは有りません。");
    else
        text = afterMatch || m_replaced ? QStringLiteral("置換を終了しました。")
                                        : QStringLiteral("該当テキストは有りません。");
    message(mode == Mode::Search ? searchTitle() : replaceTitle(), text);
    m_runState = 1;
}

void SearchWindow::returnToStart() {
    if (m_document.currentPage() != m_start.page)
        m_document.showPage(m_start.page);
    m_editor.select(m_start.selStart, m_start.selLength);
    m_editor.show();
}

void SearchWindow::replacePressed() {
    // The editor holds part of a page while one comes in: nothing is searched or replaced.
    if (m_editor.isLoading())
        return;
    if (m_mode == Mode::Search) {
        // The first press after a search only offers the replacement.
        showReplaceControls(true);
        m_mode = Mode::Replace;
        return;
    }
    const QString needle = m_text1->text();
    const QString replacement = m_text2->text();
    m_replaced = m_editor.selText().compare(needle, Qt::CaseInsensitive) == 0;
    if (m_replaced) {
        const int start = m_editor.selStart();
        m_editor.setSelText(replacement);
        m_editor.select(start, int(replacement.size()));
    }
    findNext(Mode::Replace);
    m_mode = Mode::Replace;
}

void SearchWindow::replaceAllPressed() {
    // The editor holds part of a page while one comes in: nothing is searched or replaced.
    if (m_editor.isLoading())
        return;
    const QString needle = m_text1->text();
    const QString replacement = m_text2->text();
    const Qt::CaseSensitivity cs = m_matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int caret = m_editor.selStart();
    m_mode = Mode::ReplaceAll;
    int count = 0;
    {
        Hourglass hourglass;
        m_editor.hide();
        // The shown page changes in the editor, as one edit the writer can undo; the others
        // in the page table.
        count += replaceAllIn(*m_editor.document(), needle, replacement, cs);
        count += replaceAllInPages(
            m_document.help(), m_document.currentPage(), m_pageTexts, needle, replacement, cs,
            [this](int page, const QByteArray& rtf) { m_document.setPageRtf(page, rtf); });
        m_editor.setSelStart(caret);
        m_editor.show();
    }
    // The changed pages' texts are made again before the next find needs them.
    if (count > 0)
        preparePageTexts();
    message(QStringLiteral("qzd32Maker すべて置換"),
            count > 0 ? numberText(count) + QStringLiteral("個の文字列を置換しました。")
                      : QStringLiteral("該当テキストはありません。"));
    m_mode = Mode::Search;
}

} // namespace quillo::maker
