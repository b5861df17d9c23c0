#pragma once

#include "floatingwindowplacement.h"

#include <QRectF>

class QScreen;

namespace wordlumen {

/**
 * The one place where Qt's screen coordinates (origin top left, y downward)
 * meet the desktop coordinates of the placement rules (origin bottom left of
 * the primary screen, y upward). Flipping is its own inverse: both directions
 * mirror y about the primary screen's bottom edge.
 */
class DesktopSpace final
{
public:
    /// `primaryBottom` is Qt's y just below the primary screen.
    explicit DesktopSpace(double primaryBottom)
        : m_axis(primaryBottom)
    {}

    /// The space of the running application's screens.
    [[nodiscard]] static DesktopSpace current();

    [[nodiscard]] DesktopRect fromQt(const QRectF &rect) const
    {
        return {rect.x(), m_axis - rect.y() - rect.height(), rect.width(), rect.height()};
    }
    [[nodiscard]] QRectF toQt(const DesktopRect &rect) const
    {
        return {rect.x, m_axis - rect.y - rect.height, rect.width, rect.height};
    }
    [[nodiscard]] DesktopScreen fromQt(const QScreen *screen) const;

private:
    double m_axis;
};

} // namespace wordlumen
