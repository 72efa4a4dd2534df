#include "winsvc/richtextcontrol.h"

#include "rtf/picture.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"
#include "rtf/storable.h"
#include "rtf/styles.h"
#include "rtf/tablebuilder.h"
#include "rtf/units.h"
#include "winsvc/hourglass.h"
#include "winsvc/inputdropper.h"
#include "winsvc/pagelayout.h"
#include "winsvc/twips.h"
#include "winsvc/wincolor.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextDocumentWriter>
#include <QTextList>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace quillo {

namespace {

// Text as the control's plain text shows it: paragraph and line ends as '\n', a no-break
// space as a blank, so that lengths and positions agree with plainText().
QString asPlainText(QString text) {
    for (QChar& ch : text) {
        switch (ch.unicode()) {
        case 0xFDD0: // frame start and end markers of tables
        case 0xFDD1:
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            ch = QLatin1Char('\n');
            break;
        case QChar::Nbsp:
            ch = QLatin1Char(' ');
            break;
        default:
            break;
        }
    }
    return text;
}

// Whole characters in `text`: a surrogate pair counts once, a lone half of one not at all
// (a selection edge that splits a character has not selected it).
int characterCount(QStringView text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++count;
            ++i;
        } else if (!ch.isSurrogate()) {
            ++count;
        }
    }
    return count;
}

// The value every item shares, or no value when they differ (or there are none).
template <typename Item, typename Get>
auto uniform(const std::vector<Item>& items, Get get)
    -> std::optional<std::decay_t<decltype(get(items.front()))>> {
    if (items.empty())
        return std::nullopt;
    auto value = get(items.front());
    for (const Item& item : items)
        if (!(get(item) == value))
            return std::nullopt;
    return value;
}

// The character formats of the selected text; for an empty selection (or one that holds
// only paragraph ends) the format typing would use.
std::vector<QTextCharFormat> selectedCharFormats(const QTextCursor& cursor) {
    std::vector<QTextCharFormat> formats;
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    const QTextDocument* doc = cursor.document();
    for (QTextBlock block = doc->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start || fragment.position() >= end)
                continue;
            formats.push_back(fragment.charFormat());
        }
    }
    if (formats.empty())
        formats.push_back(cursor.charFormat());
    return formats;
}

// The paragraphs the selection touches; a selection that ends right after a paragraph end
// does not reach into the next paragraph.
std::vector<QTextBlock> selectedBlocks(const QTextCursor& cursor) {
    const QTextDocument* doc = cursor.document();
    const int start = cursor.selectionStart();
    const int last = cursor.hasSelection() ? cursor.selectionEnd() - 1 : start;
    std::vector<QTextBlock> blocks;
    const QTextBlock lastBlock = doc->findBlock(last);
    for (QTextBlock block = doc->findBlock(start); block.isValid(); block = block.next()) {
        blocks.push_back(block);
        if (block == lastBlock)
            break;
    }
    return blocks;
}

rtf::ParaStyle paraStyleOfBlock(const QTextBlock& block) {
    const qreal indentWidth = block.document()->indentWidth();
    if (const QTextList* list = block.textList()) {
        const QTextListFormat format = list->format();
        return rtf::paraStyleOf(block.blockFormat(), &format, indentWidth);
    }
    return rtf::paraStyleOf(block.blockFormat(), nullptr, indentWidth);
}

// Bullets a paragraph or takes its bullet away, as a rich-edit control does: the bullet
// hangs in front of the text, so a paragraph without a hanging first line gets one, and its
// text moves right where its indent leaves no room for the bullet. Taking the bullet away
// takes that hang away again; a paragraph the bullet alone had indented returns to the edge.
void setBullet(rtf::ParaStyle& style, bool bullet) {
    const bool had = style.list == rtf::ListKind::Bullet;
    style.list = bullet ? rtf::ListKind::Bullet : rtf::ListKind::None;
    style.listLevel = 0;
    if (bullet && !had && style.first >= 0) {
        style.left = std::max(style.left, rtf::BulletHangTwips);
        style.first = -rtf::BulletHangTwips;
    } else if (!bullet && had && style.first < 0) {
        if (style.left == rtf::BulletHangTwips && style.first == -rtf::BulletHangTwips)
            style.left = 0;
        style.first = 0;
    }
}

int alignmentCode(rtf::Alignment align) {
    switch (align) {
    case rtf::Alignment::Right:
        return SelectionFormat::AlignRight;
    case rtf::Alignment::Center:
        return SelectionFormat::AlignCenter;
    case rtf::Alignment::Justify:
        return SelectionFormat::AlignJustify;
    case rtf::Alignment::Left:
        break;
    }
    return SelectionFormat::AlignLeft;
}

rtf::Alignment alignmentOfCode(int code) {
    switch (code) {
    case SelectionFormat::AlignRight:
        return rtf::Alignment::Right;
    case SelectionFormat::AlignCenter:
        return rtf::Alignment::Center;
    case SelectionFormat::AlignJustify:
        return rtf::Alignment::Justify;
    default:
        return rtf::Alignment::Left;
    }
}

// Replaces the paragraph properties a ParaStyle describes, keeping the block's others. A
// paragraph that is no list item leaves the list it was in.
void applyParaStyle(const QTextBlock& block, const rtf::ParaStyle& style) {
    QTextBlockFormat format = block.blockFormat();
    if (!style.isListItem())
        format.clearProperty(QTextFormat::ObjectIndex);
    for (int property : {int(QTextFormat::BlockAlignment), int(QTextFormat::BlockLeftMargin),
                         int(QTextFormat::BlockRightMargin), int(QTextFormat::TextIndent),
                         int(QTextFormat::BlockTopMargin), int(QTextFormat::BlockBottomMargin),
                         int(QTextFormat::BlockIndent), rtf::kListFirstIndentProperty})
        format.clearProperty(property);
    QTextBlockFormat wanted = rtf::toBlockFormat(style);
    wanted.clearProperty(QTextFormat::ObjectIndex);
    format.merge(wanted);
    QTextCursor(block).setBlockFormat(format);
}

bool hasFormatValue(const SelectionFormat& f) {
    return f.fontName || f.fontSize || f.color || f.bold || f.italic || f.underline;
}

bool hasParagraphValue(const SelectionFormat& f) {
    return f.alignment || f.bullet || f.leftIndent || f.rightIndent;
}

} // namespace

RichTextControl::RichTextControl(QWidget* parent)
    : QTextEdit(parent), m_backColor(SystemWindowColor) {
    usePageLayout(*document());
    setAcceptRichText(true);
    connect(this, &QTextEdit::textChanged, this, &RichTextControl::onContentsChanged);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextControl::stepOverTableSeam);
    applyBackColor();
}

void RichTextControl::setRtf(QByteArrayView rtf) {
    if (m_loading) {
        // Asked again from an event served during a load: that load stops here, and this
        // page replaces it once it has.
        m_loadCancelled = true;
        const QByteArray page = rtf.toByteArray();
        QTimer::singleShot(0, this, [this, page] { setRtf(page); });
        return;
    }
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    // Lines wrap as the control's mode says unless the page read asks otherwise (readRtf sets
    // the document's own option; the control's setting does not see that change). Set only
    // when it differs: setting the option lays the whole page shown so far out again, and
    // that page is about to be replaced.
    if (doc->defaultTextOption().wrapMode() != wordWrapMode()) {
        QTextOption option = doc->defaultTextOption();
        option.setWrapMode(wordWrapMode());
        doc->setDefaultTextOption(option);
    }
    std::optional<Hourglass> hourglass;
    std::optional<InputDropper> dropper;
    if (m_loadServesEvents) {
        hourglass.emplace();
        dropper.emplace();
    }
    // In slices even where no events are served: each slice is laid out as it comes in, where
    // a huge page read in one piece left Qt laying it out in the background for minutes.
    m_loading = true;
    m_loadCancelled = false;
    m_holdsWholePage = false;
    // The vertical bar stays shown while the page comes in: a bar appearing once the first
    // slice fills the control would narrow the text and lay all read so far out again. The
    // usual policy comes back with the page in (a short page then hides the bar).
    const Qt::ScrollBarPolicy barPolicy = verticalScrollBarPolicy();
    if (barPolicy == Qt::ScrollBarAsNeeded)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    rtf::readRtf(
        rtf, *doc, [this] { return betweenLoadSlices(); }, std::chrono::milliseconds(100));
    setVerticalScrollBarPolicy(barPolicy);
    m_loading = false;
    m_holdsWholePage = !m_loadCancelled;
    doc->setUndoRedoEnabled(true);
    m_lastEditWasUndo = false;
    QTextCursor cursor(doc);
    setTextCursor(cursor);
}

void RichTextControl::stepOverTableSeam() {
    QTextCursor cursor = textCursor();
    const int last = std::exchange(m_lastCaret, cursor.position());
    const QTextBlock block = cursor.block();
    if (!rtf::isTableSeam(block))
        return;
    // The empty paragraph between two parts of a long table is no place for the caret (text
    // typed there would part the table): it goes on into the part it was moving to.
    const QTextBlock to = cursor.position() >= last ? block.next() : block.previous();
    if (!to.isValid())
        return;
    const int position =
        to.position() < block.position() ? to.position() + to.length() - 1 : to.position();
    cursor.setPosition(position,
                       cursor.hasSelection() ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    setTextCursor(cursor);
}

bool RichTextControl::betweenLoadSlices() {
    if (m_loadServesEvents && window()->isVisible())
        QCoreApplication::processEvents();
    return !m_loadCancelled;
}

void onTriggeredUnlessLoading(QAction* action, QObject* context, const RichTextControl& control,
                              std::function<void()> run) {
    QObject::connect(action, &QAction::triggered, context, [&control, run = std::move(run)] {
        if (!control.isLoading())
            run();
    });
}

QByteArray RichTextControl::rtf() const {
    return rtf::writeRtf(*document());
}

QString RichTextControl::plainText() const {
    return toPlainText();
}

int RichTextControl::textLength() const {
    return document()->characterCount() - 1;
}

int RichTextControl::clampPosition(int position) const {
    return std::clamp(position, 0, textLength());
}

int RichTextControl::selStart() const {
    return textCursor().selectionStart();
}

void RichTextControl::setSelStart(int position) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(clampPosition(position));
    setTextCursor(cursor);
}

int RichTextControl::selLength() const {
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichTextControl::setSelLength(int length) {
    select(selStart(), length);
}

void RichTextControl::select(int start, int length) {
    QTextCursor cursor = textCursor();
    const int from = clampPosition(start);
    cursor.setPosition(from);
    cursor.setPosition(clampPosition(from + std::max(length, 0)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString RichTextControl::selText() const {
    return asPlainText(textCursor().selectedText());
}

void RichTextControl::setSelText(const QString& text) {
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
}

SelectionFormat RichTextControl::selectionFormat() const {
    const QTextCursor cursor = textCursor();
    const QFont defaultFont = document()->defaultFont();
    std::vector<rtf::TextStyle> texts;
    for (const QTextCharFormat& format : selectedCharFormats(cursor))
        texts.push_back(rtf::textStyleOf(format, defaultFont));
    std::vector<rtf::ParaStyle> paras;
    for (const QTextBlock& block : selectedBlocks(cursor))
        paras.push_back(paraStyleOfBlock(block));

    const quint32 automaticColor = qColorToWindowsColor(palette().color(QPalette::Text));
    SelectionFormat f;
    f.fontName = uniform(texts, [&](const rtf::TextStyle& s) {
        return s.family.isEmpty() ? defaultFont.family() : s.family;
    });
    f.fontSize = uniform(texts, [](const rtf::TextStyle& s) { return s.halfPoints / 2.0; });
    f.color = uniform(texts, [&](const rtf::TextStyle& s) {
        return s.hasColor ? qColorToWindowsColor(QColor::fromRgb(s.color)) : automaticColor;
    });
    f.bold = uniform(texts, [](const rtf::TextStyle& s) { return s.bold; });
    f.italic = uniform(texts, [](const rtf::TextStyle& s) { return s.italic; });
    f.underline = uniform(texts, [](const rtf::TextStyle& s) { return s.underline; });
    f.alignment = uniform(paras, [](const rtf::ParaStyle& s) { return alignmentCode(s.align); });
    f.bullet =
        uniform(paras, [](const rtf::ParaStyle& s) { return s.list == rtf::ListKind::Bullet; });
    f.leftIndent = uniform(paras, [](const rtf::ParaStyle& s) { return s.left; });
    f.rightIndent = uniform(paras, [](const rtf::ParaStyle& s) { return s.right; });
    return f;
}

void RichTextControl::setSelectionFormat(const SelectionFormat& f) {
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock(); // one undo step for the whole change
    if (hasFormatValue(f)) {
        QTextCharFormat format;
        if (f.fontName)
            format.setFontFamilies(QStringList{*f.fontName});
        if (f.fontSize)
            format.setFontPointSize(rtf::shownPointSize(*f.fontSize));
        if (f.color)
            format.setForeground(windowsColorToQColor(*f.color, palette()));
        if (f.bold)
            format.setFontWeight(*f.bold ? QFont::Bold : QFont::Normal);
        if (f.italic)
            format.setFontItalic(*f.italic);
        if (f.underline)
            format.setFontUnderline(*f.underline);
        mergeCurrentCharFormat(format);
    }
    if (hasParagraphValue(f)) {
        const std::vector<QTextBlock> blocks = selectedBlocks(cursor);
        std::vector<rtf::ParaStyle> styles;
        for (const QTextBlock& block : blocks) {
            rtf::ParaStyle style = paraStyleOfBlock(block);
            if (f.alignment)
                style.align = alignmentOfCode(*f.alignment);
            if (f.leftIndent)
                style.left = *f.leftIndent;
            if (f.rightIndent)
                style.right = *f.rightIndent;
            if (f.bullet)
                setBullet(style, *f.bullet);
            styles.push_back(style);
        }
        if (f.bullet && *f.bullet) {
            // The paragraphs become one bulleted list.
            QTextCursor span(document());
            span.setPosition(blocks.front().position());
            span.setPosition(blocks.back().position(), QTextCursor::KeepAnchor);
            span.createList(rtf::toListFormat(styles.front()));
        }
        for (std::size_t i = 0; i < blocks.size(); ++i)
            applyParaStyle(blocks[i], styles[i]);
    }
    cursor.endEditBlock();
}

void RichTextControl::setRightMargin(int twips) {
    m_rightMargin = std::max(twips, 0);
    if (m_rightMargin == 0) {
        setLineWrapMode(QTextEdit::WidgetWidth);
        return;
    }
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(roundHalfEven(rtf::twipsToPixels(m_rightMargin)));
}

void RichTextControl::setBackColor(quint32 value) {
    m_backColor = value;
    applyBackColor();
    emit backColorChanged(value);
}

void RichTextControl::applyBackColor() {
    QWidget* surface = viewport();
    if (isSystemColor(m_backColor)) {
        // Shown through the palette role itself, so that it follows the desktop's palette,
        // and so does text without a colour of its own.
        setPalette(QPalette());
        surface->setPalette(QPalette());
        surface->setBackgroundRole(systemColorRole(int(m_backColor & 0x00FFFFFFu)));
        return;
    }
    QPalette text;
    text.setColor(QPalette::Text, automaticTextColor());
    setPalette(text);
    QPalette palette = surface->palette();
    palette.setColor(QPalette::Base, windowsColorToQColor(m_backColor));
    surface->setPalette(palette);
    surface->setBackgroundRole(QPalette::Base);
}

QColor RichTextControl::automaticTextColor() const {
    // A background of the page's own keeps its colour under any palette; text without a
    // colour of its own takes the palette's text colour only where it can be read on it.
    return readableTextColor(windowsColorToQColor(m_backColor),
                             QApplication::palette(this).color(QPalette::Text));
}

void RichTextControl::changeEvent(QEvent* event) {
    QTextEdit::changeEvent(event);
    // The desktop switched palettes (to a dark theme, say): choose the text colour again.
    const bool paletteEvent =
        event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange;
    if (paletteEvent && !isSystemColor(m_backColor) &&
        palette().color(QPalette::Text) != automaticTextColor())
        applyBackColor();
}

int RichTextControl::find(const QString& text, int start, int end, bool matchCase) {
    const QString content = plainText();
    if (text.isEmpty() || start < 0 || start > content.size())
        return -1;
    const int position =
        int(content.indexOf(text, start, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive));
    if (position < 0 || (end >= 0 && position + text.size() > end))
        return -1;
    select(position, int(text.size()));
    return position;
}

int RichTextControl::lineFromPosition(int position) const {
    const QTextDocument* doc = document();
    doc->documentLayout()->documentSize(); // lays out the whole document first
    const int clamped = std::clamp(position, 0, textLength());
    const QTextBlock block = doc->findBlock(clamped);
    if (!block.isValid())
        return 0;
    const QTextLine line = block.layout()->lineForTextPosition(clamped - block.position());
    return std::max(block.firstLineNumber(), 0) + (line.isValid() ? line.lineNumber() : 0);
}

void RichTextControl::printOnto(QPainter& painter, QPagedPaintDevice& device) const {
    // Lay the page out at screen resolution on pages of the printable size, then scale to
    // the printer, as the control's own drawing would look.
    std::unique_ptr<QTextDocument> doc(document()->clone());
    // Rows move to the next sheet whole: Qt's own table borders follow them there.
    rtf::useQtTableBorders(*doc);
    usePageLayout(*doc);
    const qreal scale = qreal(device.logicalDpiY()) / logicalDpiY();
    const QSizeF page(device.width() / scale, device.height() / scale);
    doc->setPageSize(page);
    const int pages = doc->pageCount();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.save();
    painter.scale(scale, scale);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        context.clip = QRectF(QPointF(0, i * page.height()), page);
        painter.setClipRect(context.clip);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    painter.restore();
}

bool RichTextControl::print(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    printOnto(painter, printer);
    return painter.end();
}

void RichTextControl::clearSelection() {
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

void RichTextControl::undoLastEdit() {
    QTextDocument* doc = document();
    m_undoing = true;
    if (m_lastEditWasUndo && doc->isRedoAvailable()) {
        doc->redo();
        m_lastEditWasUndo = false;
    } else if (doc->isUndoAvailable()) {
        doc->undo();
        m_lastEditWasUndo = true;
    }
    m_undoing = false;
}

bool RichTextControl::canUndoLastEdit() const {
    return m_lastEditWasUndo ? document()->isRedoAvailable() : document()->isUndoAvailable();
}

void RichTextControl::onContentsChanged() {
    if (!m_undoing)
        m_lastEditWasUndo = false;
    emit contentChanged();
}

bool RichTextControl::insertPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QTextCursor cursor = textCursor();
    if (!rtf::insertPicture(cursor, file.readAll()))
        return false;
    setTextCursor(cursor);
    return true;
}

template <typename Event>
bool RichTextControl::consumedBy(void (RichTextControl::*signal)(Event*), Event* event) {
    m_consumed = false;
    emit(this->*signal)(event);
    return std::exchange(m_consumed, false);
}

void RichTextControl::keyPressEvent(QKeyEvent* event) {
    bool consumed = consumedBy(&RichTextControl::keyDown, event);
    if (!consumed && !event->text().isEmpty())
        consumed = consumedBy(&RichTextControl::keyPress, event);
    if (!consumed)
        QTextEdit::keyPressEvent(event);
}

void RichTextControl::mousePressEvent(QMouseEvent* event) {
    if (!consumedBy(&RichTextControl::mouseDown, event))
        QTextEdit::mousePressEvent(event);
}

void RichTextControl::mouseMoveEvent(QMouseEvent* event) {
    // After a drag whose first move left the control, Qt's text edit keeps its autoscroll
    // timer running and replays the left button held down; the button is up, so such a
    // replayed move ends the press instead of starting the same drag again.
    if (!event->spontaneous() && event->buttons().testFlag(Qt::LeftButton) &&
        !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton)) {
        QMouseEvent release(QEvent::MouseButtonRelease, event->position(), event->scenePosition(),
                            event->globalPosition(), Qt::LeftButton, Qt::NoButton,
                            event->modifiers());
        QTextEdit::mouseReleaseEvent(&release);
        return;
    }
    if (!consumedBy(&RichTextControl::mouseMove, event))
        QTextEdit::mouseMoveEvent(event);
}

void RichTextControl::mouseReleaseEvent(QMouseEvent* event) {
    if (!consumedBy(&RichTextControl::mouseUp, event))
        QTextEdit::mouseReleaseEvent(event);
}

void RichTextControl::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasText()) {
        const int position = cursorForPosition(event->position().toPoint()).position();
        m_consumed = false;
        emit textDropped(event->mimeData()->text(), position);
        if (std::exchange(m_consumed, false)) {
            // Taken as a copy, so that a move never deletes the text at its source.
            event->setDropAction(Qt::CopyAction);
            event->accept();
            return;
        }
    }
    QTextEdit::dropEvent(event);
}

namespace {

const QString pageRtfFormat = QStringLiteral("application/x-quillo-page-rtf");

// What a copy offers: the page's own RTF at once, for pastes inside the programs, and the
// formats QTextEdit offers other programs (plain text, HTML, ODF), made as
// QTextEdit makes them, once a program asks for one: making them takes seconds on a long table.
// Those give the tables Qt's own borders: the lines the page layout draws are no part of the
// tables' formats.
class CopiedSelection : public QMimeData {
public:
    explicit CopiedSelection(std::unique_ptr<QTextDocument> selection)
        : m_selection(std::move(selection)) {
        setData(pageRtfFormat, rtf::writeRtf(*m_selection));
    }

    QStringList formats() const override {
        QStringList types = QMimeData::formats();
        if (m_selection)
            types << QStringLiteral("text/plain") << QStringLiteral("text/html")
                  << QStringLiteral("application/vnd.oasis.opendocument.text");
        return types;
    }

protected:
    QVariant retrieveData(const QString& type, QMetaType metaType) const override {
        if (m_selection && type != pageRtfFormat)
            const_cast<CopiedSelection*>(this)->makeFormats();
        return QMimeData::retrieveData(type, metaType);
    }

private:
    void makeFormats() {
        const std::unique_ptr<QTextDocument> selection = std::move(m_selection);
        rtf::useQtTableBorders(*selection);
        const QTextDocumentFragment shown(selection.get());
        setText(shown.toPlainText());
        setHtml(shown.toHtml());
        QBuffer odf;
        if (QTextDocumentWriter(&odf, "ODF").write(selection.get()))
            setData(QStringLiteral("application/vnd.oasis.opendocument.text"), odf.data());
    }

    std::unique_ptr<QTextDocument> m_selection; // until the formats are made
};

} // namespace

QMimeData* RichTextControl::createMimeDataFromSelection() const {
    auto selection = std::make_unique<QTextDocument>();
    selection->setDefaultFont(document()->defaultFont());
    QTextCursor(selection.get()).insertFragment(textCursor().selection());
    return new CopiedSelection(std::move(selection));
}

void RichTextControl::insertFromMimeData(const QMimeData* source) {
    if (!isReadOnly() && acceptRichText() && source->hasFormat(pageRtfFormat)) {
        QTextCursor cursor = textCursor();
        cursor.insertFragment(rtf::fragmentFromRtf(source->data(pageRtfFormat), *document()));
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    // Rich text as QTextEdit takes it: its own copies first, then HTML.
    static const QString ownFormat = QStringLiteral("application/x-qrichtext");
    QString html;
    if (source->hasFormat(ownFormat))
        html = QStringLiteral("<meta name=\"qrichtext\" content=\"1\" />") +
               QString::fromUtf8(source->data(ownFormat));
    else if (source->hasHtml())
        html = source->html();
    if (isReadOnly() || !acceptRichText() || html.isEmpty()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    const QTextDocumentFragment pasted = QTextDocumentFragment::fromHtml(html, document());
    QTextCursor cursor = textCursor();
    const QStringList caretFamilies = cursor.charFormat().fontFamilies().toStringList();
    cursor.insertFragment(rtf::storableFragment(
        pasted, *document(), caretFamilies.isEmpty() ? QString() : caretFamilies.first()));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void fitSelectionToCharacterCount(RichTextControl& control, int wanted) {
    const auto selected = [&] { return characterCount(control.selText()); };
    if (selected() == wanted)
        return;
    control.setSelLength(wanted);
    for (int i = 1; i <= 10 && selected() < wanted; ++i)
        control.setSelLength(wanted + i);
    for (int i = 1; i <= wanted && i <= 10 && selected() > wanted; ++i)
        control.setSelLength(wanted - i);
}

} // namespace quillo
