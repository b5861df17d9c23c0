#include "paneldragtracker.h"

#include <cmath>

namespace wordlumen {

void PanelDragTracker::begin(QPointF pointer, std::optional<QPointF> windowOrigin)
{
    m_startPointer = pointer;
    m_startOrigin = windowOrigin;
    m_didDrag = false;
}

std::optional<QPointF> PanelDragTracker::moved(QPointF pointer)
{
    if (!m_startPointer || !m_startOrigin) {
        return std::nullopt;
    }
    const QPointF delta = pointer - *m_startPointer;
    if (std::hypot(delta.x(), delta.y()) > kClickSlop) {
        m_didDrag = true;
    }
    // The panel follows from the first movement; only the threshold decides click or drag.
    return *m_startOrigin + delta;
}

void PanelDragTracker::end()
{
    m_startPointer.reset();
    m_startOrigin.reset();
}

} // namespace wordlumen
