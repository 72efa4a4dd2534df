#include "maker/media/colourswatches.h"

#include "maker/media/colourlogic.h"
#include "winsvc/twips.h"
#include "winsvc/wincolor.h"

#include <QMouseEvent>
#include <QPainter>

namespace quillo::maker {

SwatchStrip::SwatchStrip(int slotCount, QWidget* parent) : QWidget(parent), m_slots(slotCount) {
    setFixedSize(twipsToPixels(slotCount * 250 - 50, Qt::Horizontal) + 1,
                 twipsToPixels(200, Qt::Vertical) + 1);
}

void SwatchStrip::setColours(const QList<quint32>& colours) {
    m_colours = colours.mid(0, m_slots);
    update();
}

QPoint SwatchStrip::slotCentre(int index) const {
    return {twipsToPixels(index * 250 + 100, Qt::Horizontal), twipsToPixels(100, Qt::Vertical)};
}

void SwatchStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setPen(Qt::black);
    for (int i = 0; i < m_colours.size(); ++i) {
        const QRect swatch(twipsToPixels(i * 250, Qt::Horizontal), 0,
                           twipsToPixels(200, Qt::Horizontal), twipsToPixels(200, Qt::Vertical));
        painter.fillRect(swatch, windowsColorToQColor(m_colours[i], palette()));
        painter.drawRect(swatch);
    }
}

void SwatchStrip::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int index = swatchAt(pixelsToTwips(at.x(), Qt::Horizontal),
                               pixelsToTwips(at.y(), Qt::Vertical), int(m_colours.size()));
    emit pressed(index, event->button(), at);
}

void SwatchStrip::mouseReleaseEvent(QMouseEvent*) {
    emit released();
}

ColourBox::ColourBox(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
}

void ColourBox::setColour(quint32 value) {
    m_colour = value;
    QPalette p = palette();
    p.setColor(QPalette::Window, windowsColorToQColor(value));
    setPalette(p);
}

void ColourBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit pressed();
}

void ColourBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit released();
}

} // namespace quillo::maker
