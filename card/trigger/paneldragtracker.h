#pragma once

#include <QPointF>

#include <optional>

namespace wordlumen {

/**
 * The arithmetic of dragging the panel by the pointer: where the panel goes
 * for a pointer position, and whether the gesture still counts as a click.
 * All points are global (Qt's screen coordinates); moving the pointer by a
 * delta moves the panel by the same delta from where it was at the press.
 */
class PanelDragTracker final
{
public:
    /// A press that moves the pointer farther than this is a drag, not a click.
    static constexpr double kClickSlop = 3;

    /// Mouse down. Without a window (no origin) later moves are ignored.
    void begin(QPointF pointer, std::optional<QPointF> windowOrigin);
    /**
     * Mouse moved: the panel origin to move to, or none when no press was
     * recorded. Crossing the threshold once makes the gesture a drag for good.
     */
    [[nodiscard]] std::optional<QPointF> moved(QPointF pointer);
    /// Mouse up: forgets the start values; `didDrag` stays until the next press.
    void end();

    [[nodiscard]] bool isActive() const { return m_startPointer.has_value(); }
    [[nodiscard]] bool didDrag() const { return m_didDrag; }

private:
    std::optional<QPointF> m_startPointer;
    std::optional<QPointF> m_startOrigin;
    bool m_didDrag = false;
};

} // namespace wordlumen
