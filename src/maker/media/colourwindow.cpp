#include "maker/media/colourwindow.h"

#include "maker/document/makerdocument.h"
#include "maker/media/colourlogic.h"
#include "maker/media/colourswatches.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/twips.h"
#include "winsvc/wincolor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quillo::maker {

namespace {

QList<quint32> paletteList() {
    const auto& colours = paletteColours();
    return QList<quint32>(colours.begin(), colours.end());
}

} // namespace

ColourWindow::ColourWindow(const ColourWindowParts& parts, QWidget* mainWindow)
    : ToolWindow(mainWindow, *parts.offset), m_p(parts) {
    setObjectName(QStringLiteral("qzd32mk_colr"));
    setWindowTitle(QStringLiteral("ｶﾗｰ指定"));
    auto* layout = new QVBoxLayout(this);
    auto* targetRow = new QHBoxLayout;
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setMinimumWidth(twipsToPixels(600, Qt::Horizontal));
    m_text = new QRadioButton(colourTargetName(0), this);
    m_text->setObjectName(QStringLiteral("Option1"));
    m_back = new QRadioButton(colourTargetName(1), this);
    m_back->setObjectName(QStringLiteral("Option2"));
    targetRow->addWidget(m_label);
    targetRow->addWidget(m_text);
    targetRow->addWidget(m_back);
    targetRow->addStretch();
    layout->addLayout(targetRow);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->setAccessibleName(QStringLiteral("色の選び方"));
    m_tabs->addTab(buildPaletteTab(), QStringLiteral("１６色"));
    m_tabs->addTab(buildDetailTab(), QStringLiteral("詳細"));
    layout->addWidget(m_tabs);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { showTab(); });
    connect(m_text, &QRadioButton::clicked, this, [this] { setTarget(0); });
    connect(m_back, &QRadioButton::clicked, this, [this] { setTarget(1); });

    m_savedMenu = new QMenu(this);
    m_savedMenu->setObjectName(QStringLiteral("ColorSet"));
    QAction* remove = m_savedMenu->addAction(QStringLiteral("この設定色を削除します。"));
    remove->setObjectName(QStringLiteral("ColorSetDel"));
    QAction* clear = m_savedMenu->addAction(QStringLiteral("全設定色を削除します。"));
    clear->setObjectName(QStringLiteral("ColorSetClear"));
    connect(remove, &QAction::triggered, this, &ColourWindow::deleteSavedColour);
    connect(clear, &QAction::triggered, this, &ColourWindow::deleteAllSavedColours);
}

QPushButton* ColourWindow::finishButton(const char* name, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("設定終了"), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QStringLiteral("色設定し終了します。"));
    connect(button, &QPushButton::clicked, this, &QWidget::close);
    return button;
}

QPushButton* ColourWindow::systemButton(const char* name, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("ｼｽﾃﾑｶﾗｰ"), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QStringLiteral("背景をシステムカラーに自動設定します。"));
    return button;
}

QWidget* ColourWindow::buildPaletteTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    m_palette = new SwatchStrip(16, tab);
    m_palette->setObjectName(QStringLiteral("Picture1"));
    m_palette->setToolTip(QStringLiteral("左クリックで選択テキストの色を設定します。"));
    m_palette->setColours(paletteList());
    layout->addWidget(m_palette);
    auto* buttons = new QHBoxLayout;
    m_systemPalette = systemButton("Command4", tab);
    buttons->addStretch();
    buttons->addWidget(m_systemPalette);
    buttons->addWidget(finishButton("Command1", tab));
    layout->addLayout(buttons);
    layout->addStretch();
    connect(m_palette, &SwatchStrip::pressed, this,
            [this](int index, Qt::MouseButton button) { onPalettePressed(index, button); });
    connect(m_palette, &SwatchStrip::released, this, &ColourWindow::restoreSelection);
    connect(m_systemPalette, &QPushButton::clicked, this, &ColourWindow::onSystemColourText);
    return tab;
}

QWidget* ColourWindow::buildDetailTab() {
    auto* tab = new QWidget;
    auto* layout = new QGridLayout(tab);
    const char* names[] = {"hsbNewRed", "hsbNewGreen", "hsbNewBlue"};
    const QString captions[] = {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    QScrollBar** bars[] = {&m_red, &m_green, &m_blue};
    for (int i = 0; i < 3; ++i) {
        auto* bar = new QScrollBar(Qt::Horizontal, tab);
        bar->setObjectName(QString::fromLatin1(names[i]));
        bar->setRange(0, 255);
        bar->setMinimumWidth(twipsToPixels(2000, Qt::Horizontal));
        layout->addWidget(new QLabel(captions[i], tab), i, 0);
        layout->addWidget(bar, i, 1);
        *bars[i] = bar;
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            m_preview->setColour(mixedColour({m_red->value(), m_green->value(), m_blue->value()}));
        });
    }
    m_preview = new ColourBox(tab);
    m_preview->setObjectName(QStringLiteral("Picture2"));
    m_preview->setToolTip(QStringLiteral("左クリックで色設定します。"));
    m_preview->setFixedSize(twipsToPixels(700, Qt::Horizontal), twipsToPixels(700, Qt::Vertical));
    layout->addWidget(m_preview, 0, 2, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("既設定色"), tab), 3, 0, 1, 3);
    m_saved = new SwatchStrip(ColourSettings::MaxSaved, tab);
    m_saved->setObjectName(QStringLiteral("Picture3"));
    m_saved->setToolTip(QStringLiteral("左クリックで色設定、右クリックで既設定色を編集できます。"));
    layout->addWidget(m_saved, 4, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    m_systemDetail = systemButton("Command2", tab);
    buttons->addStretch();
    buttons->addWidget(m_systemDetail);
    buttons->addWidget(finishButton("Command6", tab));
    layout->addLayout(buttons, 5, 0, 1, 3);
    connect(m_preview, &ColourBox::pressed, this, &ColourWindow::onPreviewPressed);
    connect(m_preview, &ColourBox::released, this, &ColourWindow::restoreSelection);
    connect(m_saved, &SwatchStrip::pressed, this, &ColourWindow::onSavedPressed);
    connect(m_saved, &SwatchStrip::released, this, &ColourWindow::restoreSelection);
    connect(m_systemDetail, &QPushButton::clicked, this, &ColourWindow::onSystemColourBackground);
    return tab;
}

// Opening ---------------------------------------------------------------------------------

void ColourWindow::open(int target) {
    m_p.colours->target = qint16(target == 1 ? 1 : 0);
    placeAtOffset();
    drawSaved();
    const int tab = qBound(0, int(m_p.colours->lastTab), 1);
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(tab);
    }
    setTarget(target);
    show();
    raise();
    activateWindow();
}

int ColourWindow::target() const {
    return m_p.colours->target == 1 ? 1 : 0;
}

void ColourWindow::setTarget(int value) {
    m_p.colours->target = qint16(value);
    m_label->setText(colourTargetName(value));
    (value == 0 ? m_text : m_back)->setChecked(true);
    showTab();
}

void ColourWindow::showTab() {
    const int tab = m_tabs->currentIndex();
    m_p.colours->lastTab = qint16(tab);
    setWindowTitle(colourWindowCaption(tab, target()));
    m_systemPalette->setVisible(target() == 1);
    m_systemDetail->setVisible(target() == 1);
    if (tab == 1)
        showOnBars(startingColour());
}

// The colour the detail tab starts from: the selected text's colour (the last clicked saved
// colour when nothing is selected), or the editor's background.
quint32 ColourWindow::startingColour() const {
    if (target() == 1)
        return m_p.editor->backColor();
    if (m_p.editor->selLength() > 0)
        return m_p.editor->selectionFormat().color.value_or(0);
    const ColourSettings& c = *m_p.colours;
    if (c.count > 0)
        return quint32(c.saved[qBound(0, int(c.selected), c.count - 1)]);
    return 0;
}

void ColourWindow::showOnBars(quint32 value) {
    const Rgb rgb = scrollBarValues(value);
    m_red->setValue(rgb.red);
    m_green->setValue(rgb.green);
    m_blue->setValue(rgb.blue);
    m_preview->setColour(mixedColour(rgb));
}

void ColourWindow::drawSaved() {
    const ColourSettings& c = *m_p.colours;
    QList<quint32> colours;
    for (int i = 0; i < qBound(0, int(c.count), ColourSettings::MaxSaved); ++i)
        colours << quint32(c.saved[i]);
    m_saved->setColours(colours);
}

// Applying colours --------------------------------------------------------------------------

void ColourWindow::applyColour(quint32 value) {
    if (target() == 1) {
        setBackground(value);
        return;
    }
    m_selLength = m_p.editor->selLength();
    if (m_selLength == 0)
        return;
    const std::optional<quint32> before = m_p.editor->selectionFormat().color;
    setSelectionColour(value);
    // Collapsed, the selection shows the new colour; the button's release selects it again.
    m_p.editor->setSelLength(0);
    m_collapsed = true;
    if (before != value)
        m_p.document->noteEditorEdit();
}

void ColourWindow::setSelectionColour(quint32 value) {
    // The change notification this causes is the program's own; whether the page changed is
    // decided by comparing the colours.
    *m_p.ignoreNextChange = true;
    SelectionFormat format;
    format.color = value;
    m_p.editor->setSelectionFormat(format);
    *m_p.ignoreNextChange = false;
}

void ColourWindow::setBackground(quint32 value) {
    if (m_p.editor->backColor() == value)
        return;
    m_p.editor->setBackColor(value);
    m_p.document->noteEditorEdit();
}

void ColourWindow::restoreSelection() {
    if (!m_collapsed)
        return;
    m_collapsed = false;
    m_p.editor->setSelLength(m_selLength);
}

void ColourWindow::onPalettePressed(int index, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (index >= 0)
        m_paletteIndex = index;
    applyColour(paletteColours()[size_t(m_paletteIndex)]);
}

void ColourWindow::onPreviewPressed() {
    const quint32 value = m_preview->colour();
    applyColour(value);
    if (addSavedColour(*m_p.colours, value))
        drawSaved();
}

void ColourWindow::onSavedPressed(int index, Qt::MouseButton button, const QPoint& position) {
    if (button == Qt::RightButton) {
        m_menuPosition = position;
        m_savedMenu->popup(m_saved->mapToGlobal(position));
        return;
    }
    if (button != Qt::LeftButton || index < 0)
        return;
    showOnBars(quint32(m_p.colours->saved[index]));
    m_p.colours->selected = qint16(index);
    onPreviewPressed();
}

void ColourWindow::deleteSavedColour() {
    const int index = swatchAt(pixelsToTwips(m_menuPosition.x(), Qt::Horizontal),
                               pixelsToTwips(m_menuPosition.y(), Qt::Vertical), m_p.colours->count);
    removeSavedColour(*m_p.colours, index);
    drawSaved();
}

void ColourWindow::deleteAllSavedColours() {
    const Dialogs::Answer answer =
        m_p.dialogs->ask(this, QStringLiteral("qzd32Maker 詳細色設定"),
                         QStringLiteral("全ての色設定をクリアします。宜しいですか。"),
                         Dialogs::Icon::Information, Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes)
        return;
    clearSavedColours(*m_p.colours);
    drawSaved();
}

// The palette tab's button: selected text back to the window text colour, then the background
// as the detail tab's button sets it.
void ColourWindow::onSystemColourText() {
    RichTextControl& editor = *m_p.editor;
    const quint32 systemText =
        qColorToWindowsColor(windowsColorToQColor(SystemWindowTextColor, editor.palette()));
    if (editor.selLength() > 0 && editor.selectionFormat().color != systemText) {
        setSelectionColour(SystemWindowTextColor);
        m_selLength = editor.selLength();
        editor.setSelLength(0);
        m_p.document->noteEditorEdit();
    }
    onSystemColourBackground();
}

void ColourWindow::onSystemColourBackground() {
    setBackground(SystemWindowColor);
}

} // namespace quillo::maker
