#include "viewer/searchbar.h"

#include "viewer/pagesearch.h"
#include "viewer/searchbox.h"
#include "viewer/viewerlayout.h"
#include "viewer/viewertexts.h"
#include "viewer/windowgeometry.h"
#include "winsvc/dialogs.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace quillo::viewer {

namespace {
// Pixels kept between two controls that had to move right to make room.
constexpr int SearchBarGap = 4;
} // namespace

SearchBar::SearchBar(Dialogs& dialogs, QWidget* parent) : QWidget(parent), m_dialogs(dialogs) {
    auto* label = new QLabel(QStringLiteral("検索文字"), this);
    label->setObjectName(QStringLiteral("Label1"));

    m_box = new SearchBox(m_dialogs, this);
    m_box->setObjectName(QStringLiteral("Text1"));
    m_box->setAccessibleName(label->text());
    connect(m_box, &QLineEdit::textChanged, this, &SearchBar::onTextChanged);
    connect(m_box, &QLineEdit::returnPressed, this, &SearchBar::requestSearch);

    m_button = new QPushButton(QStringLiteral("検索"), this);
    m_button->setObjectName(QStringLiteral("Command1"));
    m_button->setAutoDefault(false);
    m_button->installEventFilter(this);
    connect(m_button, &QPushButton::clicked, this, &SearchBar::requestSearch);

    m_fromStart = new QCheckBox(QStringLiteral("最初から検索"), this);
    m_fromStart->setObjectName(QStringLiteral("Check1"));

    // The button shows each caption of the search in turn; it is as wide as the widest.
    int buttonWidth = 0;
    for (const PageSearch::State state :
         {PageSearch::State::FromStart, PageSearch::State::FromCaret, PageSearch::State::Searching,
          PageSearch::State::FindNext}) {
        m_button->setText(searchCaption(state));
        buttonWidth = std::max(buttonWidth, m_button->sizeHint().width());
    }
    m_button->setText(QStringLiteral("検索"));

    QRect all;
    int previousRight = -1;
    for (const auto& [widget, rect] : {std::pair<QWidget*, QRect>{label, SearchLabelRect},
                                       {m_box, SearchBoxRect},
                                       {m_button, SearchButtonRect},
                                       {m_fromStart, FromStartCheckRect}}) {
        // The fixed places of the search bar; never smaller than the text needs, and never
        // over the control on the left, which a large desktop font makes wider.
        QRect r = pixelsOf(rect);
        const int needed = widget == m_button ? buttonWidth : widget->sizeHint().width();
        r.moveLeft(std::max(r.left(), previousRight + 1 + SearchBarGap));
        r.setWidth(std::max(r.width(), needed));
        previousRight = r.right();
        const int height = std::max(r.height(), widget->sizeHint().height());
        r.moveTop(std::max(0, r.top() - (height - r.height()) / 2));
        r.setHeight(height);
        widget->setGeometry(r);
        all |= r;
    }
    // The bar lies over the window's top band; what it does not cover stays the window's.
    setFixedSize(all.right() + 1, all.bottom() + 1);
}

void SearchBar::attach(PageSearch* search) {
    m_search = search;
    connect(search, &PageSearch::stateChanged, m_button,
            [this](PageSearch::State state) { m_button->setText(searchCaption(state)); });
    connect(search, &PageSearch::fromStartChanged, m_fromStart, &QCheckBox::setChecked);
    connect(m_fromStart, &QCheckBox::toggled, search, &PageSearch::setFromStart);
}

QString SearchBar::text() const {
    return m_box->text();
}

void SearchBar::showText(const QString& text) {
    m_box->setText(text);
    m_box->selectAll();
}

void SearchBar::searchFor(const QString& text) {
    m_box->setText(text);
    requestSearch();
}

void SearchBar::requestSearch() {
    const QString needle = m_box->text();
    if (needle.isEmpty()) {
        m_dialogs.ask(window(), TitleSearch, MsgSearchTextNeeded, Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
        m_box->setFocus();
        return;
    }
    emit searchRequested(needle);
}

// Enter on the focused search button presses it, as Space does.
bool SearchBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_button && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            mods == Qt::NoModifier) {
            m_button->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchBar::onTextChanged(const QString& text) {
    if (text.size() > SearchTextLimit) {
        m_dialogs.ask(window(), TitleSearch, MsgSearchTextTooLong, Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
        m_box->setText(text.left(SearchTextLimit)); // resets the search in turn
        return;
    }
    if (m_search)
        m_search->reset();
}

} // namespace quillo::viewer
