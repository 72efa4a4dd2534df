#pragma once

#include <QFrame>
#include <QList>
#include <QWidget>

namespace quillo::maker {

// A row of colour swatches (the palette and the saved colours of the colour window): slot i
// from x = i * 250 to i * 250 + 200 twips, each filled and framed in black, on the button
// face colour. Reports presses with the swatch under the pointer (-1 between swatches).
class SwatchStrip : public QWidget {
    Q_OBJECT
public:
    SwatchStrip(int slotCount, QWidget* parent = nullptr);
    // Windows colour values, drawn from slot 0 on.
    void setColours(const QList<quint32>& colours);
    const QList<quint32>& colours() const { return m_colours; }
    // The pixel point at the middle of slot i.
    QPoint slotCentre(int index) const;

signals:
    void pressed(int index, Qt::MouseButton button, const QPoint& position);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_slots;
    QList<quint32> m_colours;
};

// The box that shows the colour mixed on the detail tab; a left click applies it.
class ColourBox : public QFrame {
    Q_OBJECT
public:
    explicit ColourBox(QWidget* parent = nullptr);
    void setColour(quint32 value);
    quint32 colour() const { return m_colour; }

signals:
    void pressed();
    void released();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    quint32 m_colour = 0;
};

} // namespace quillo::maker
