#include "maker/format/indentruler.h"

#include "maker/format/formatlogic.h"
#include "winsvc/twips.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace quillo::maker {

namespace {

// The marker's drawn triangle: half its width and its height, in pixels. The triangle is
// wider than the logical marker so that it can be grabbed; its tip marks the centre.
constexpr int MarkerHalfPixels = 5;
constexpr int MarkerHeightPixels = 7;

} // namespace

RulerMarker::RulerMarker(QWidget* parent, const QString& name) : QWidget(parent) {
    setObjectName(name);
    setFixedSize(2 * MarkerHalfPixels + 1, MarkerHeightPixels);
    setCursor(Qt::SizeHorCursor);
}

void RulerMarker::setDragging(bool dragging) {
    m_dragging = dragging;
    update();
}

void RulerMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(width() / 2.0, 0);
    triangle.lineTo(width(), height());
    triangle.lineTo(0, height());
    triangle.closeSubpath();
    painter.fillPath(triangle, m_dragging ? palette().color(QPalette::Highlight)
                                          : palette().color(QPalette::WindowText));
}

IndentRuler::IndentRuler(QWidget* parent, QObject* owner) : QObject(owner), m_parent(parent) {
    const char* const markerNames[] = {"Picture1", "Picture2"};
    const char* const guideNames[] = {"Line1", "Line2"};
    const char* const labelNames[] = {"rulerLeftLabel", "rulerRightLabel"};
    for (int side : {Left, Right}) {
        m_markers[side] = new RulerMarker(parent, QString::fromLatin1(markerNames[side]));
        m_markers[side]->installEventFilter(this);
        auto* guide = new QFrame(parent);
        guide->setObjectName(QString::fromLatin1(guideNames[side]));
        guide->setFrameShape(QFrame::VLine);
        guide->setFrameShadow(QFrame::Plain);
        guide->setLineWidth(1);
        guide->setForegroundRole(QPalette::Highlight);
        guide->hide();
        m_guides[side] = guide;
        m_labels[side] = new QLabel;
        m_labels[side]->setObjectName(QString::fromLatin1(labelNames[side]));
        // A fixed-pitch face keeps the numbers in their columns.
        m_labels[side]->setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 9));
    }
    m_left[Left] = LeftMarkerHome;
}

void IndentRuler::setEditorGeometry(int left, int top, int width, int height) {
    // The right marker keeps its distance from the editor's right edge, so that it goes on
    // showing the same right indent.
    const int rightIndent = rightMarkerForIndent(m_editorWidth, 0) - m_left[Right];
    const bool firstLayout = m_editorWidth == 0;
    m_editorLeft = left;
    m_editorTop = top;
    m_editorWidth = width;
    m_editorHeight = height;
    placeMarker(Right, rightMarkerForIndent(width, firstLayout ? 0 : rightIndent));
    placeMarker(Left, m_left[Left]);
}

void IndentRuler::setStripGeometry(int right, int bottom) {
    m_stripRight = right;
    m_stripBottom = bottom;
    placeMarker(Left, m_left[Left]);
    placeMarker(Right, m_left[Right]);
}

void IndentRuler::placeMarker(Side side, int left) {
    m_left[side] = left;
    RulerMarker* marker = m_markers[side];
    marker->move(twipsToPixels(left + MarkerWidth / 2.0, Qt::Horizontal) - MarkerHalfPixels,
                 twipsToPixels(m_stripBottom, Qt::Vertical) - marker->height() - 1);
    marker->raise();
    if (side == Right)
        updateRightMarkerVisibility();
}

void IndentRuler::updateRightMarkerVisibility() {
    m_markers[Right]->setVisible(m_left[Right] + 165 <= m_stripRight);
}

void IndentRuler::showPositions() {
    m_labels[Left]->setText(
        rulerLabelText(QStringLiteral("L="), rulerPosition(m_left[Left], m_editorLeft)));
    m_labels[Right]->setText(
        rulerLabelText(QStringLiteral("R="), rulerPosition(m_left[Right], m_editorLeft)));
}

void IndentRuler::placeGuide(Side side) {
    QFrame* guide = m_guides[side];
    const int centre = twipsToPixels(m_left[side] + MarkerWidth / 2.0, Qt::Horizontal);
    guide->setGeometry(centre, twipsToPixels(m_editorTop, Qt::Vertical), 1,
                       twipsToPixels(m_editorHeight, Qt::Vertical));
}

bool IndentRuler::eventFilter(QObject* watched, QEvent* event) {
    const Side side = watched == m_markers[Left] ? Left : Right;
    if (watched != m_markers[Left] && watched != m_markers[Right])
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            press(side);
        return true;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // The pointer in twips from the marker's logical left.
        const int pointer =
            pixelsToTwips(m_markers[side]->x() + mouse->position().x(), Qt::Horizontal) -
            m_left[side];
        move(side, pointer);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            release(side);
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

void IndentRuler::press(Side side) {
    m_held[side] = true;
    m_state[side] = Pressed;
    m_pressedLeft[side] = m_left[side];
    m_markers[side]->setDragging(true);
    placeGuide(side);
    m_guides[side]->show();
    m_guides[side]->raise();
}

void IndentRuler::move(Side side, int pointerX) {
    if (m_state[side] == Pressed) {
        m_grabX[side] = pointerX;
        m_state[side] = Dragging;
        return;
    }
    if (m_state[side] != Dragging)
        return;
    const int left = m_pressedLeft[side] + pointerX - m_grabX[side];
    m_pressedLeft[side] = left;
    const MarkerLimit limit = side == Left ? limitLeftMarker(left, m_editorWidth, m_left[Right])
                                           : limitRightMarker(left, m_editorWidth, m_left[Left]);
    placeMarker(side, limit.left);
    if (limit.limited)
        m_state[side] = Idle;
    placeGuide(side);
    showPositions();
}

void IndentRuler::release(Side side) {
    if (!std::exchange(m_held[side], false))
        return;
    const int guideLeft = m_left[side] + MarkerWidth / 2;
    m_guides[side]->hide();
    m_markers[side]->setDragging(false);
    m_state[side] = Idle;
    if (side == Left)
        emit leftIndentChosen(leftIndentForGuide(guideLeft, m_editorLeft));
    else
        emit rightIndentChosen(rightIndentForGuide(guideLeft, m_editorLeft, m_editorWidth));
}

} // namespace quillo::maker
