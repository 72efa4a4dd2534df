#pragma once

#include <QObject>
#include <QWidget>

#include <array>

class QFrame;
class QLabel;

namespace quillo::maker {

// One draggable indent marker of the ruler (`Picture1` left, `Picture2` right): a small
// triangle at the foot of the ruler strip, centred on its logical position.
class RulerMarker : public QWidget {
    Q_OBJECT
public:
    RulerMarker(QWidget* parent, const QString& name);
    void setDragging(bool dragging);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_dragging = false;
};

// The indent ruler above the page editor: the left and right markers, their guide lines
// shown while a marker is dragged, and the "L=" / "R=" labels. Positions are twips of the
// main window (the ruler's parent widget spans its whole width); a marker's left is the
// logical left of its `MarkerWidth` twips. Releasing a dragged marker reports the indent
// it stands for.
class IndentRuler : public QObject {
    Q_OBJECT
public:
    enum Side { Left = 0, Right = 1 };
    enum DragState { Idle = 0, Pressed = 1, Dragging = 2 };

    // `parent` holds the editor; the markers sit on the strip's foot at `stripBottom`.
    IndentRuler(QWidget* parent, QObject* owner = nullptr);

    // The editor's place in the parent, twips; the right end of the ruler strip.
    void setEditorGeometry(int left, int top, int width, int height);
    void setStripGeometry(int right, int bottom);

    void placeMarker(Side side, int left);
    int markerLeft(Side side) const { return m_left[side]; }
    int editorWidth() const { return m_editorWidth; }
    RulerMarker* marker(Side side) const { return m_markers[side]; }
    QFrame* guide(Side side) const { return m_guides[side]; }
    DragState dragState(Side side) const { return m_state[side]; }

    // Recomputes the "L=" and "R=" labels from the marker positions.
    void showPositions();
    QLabel* positionLabel(Side side) const { return m_labels[side]; }

signals:
    void leftIndentChosen(int twips);
    void rightIndentChosen(int twips);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(Side side);
    void move(Side side, int pointerX);
    void release(Side side);
    void placeGuide(Side side);
    void updateRightMarkerVisibility();

    QWidget* m_parent;
    std::array<RulerMarker*, 2> m_markers{};
    std::array<QFrame*, 2> m_guides{};
    std::array<QLabel*, 2> m_labels{};
    std::array<int, 2> m_left{};
    std::array<DragState, 2> m_state{Idle, Idle};
    std::array<int, 2> m_pressedLeft{}; // the marker's left at the press
    std::array<int, 2> m_grabX{};       // pointer x in the marker when dragging began
    std::array<bool, 2> m_held{};       // the button went down on the marker
    int m_editorLeft = 0;
    int m_editorTop = 0;
    int m_editorWidth = 0;
    int m_editorHeight = 0;
    int m_stripRight = 0;
    int m_stripBottom = 0;
};

} // namespace quillo::maker
