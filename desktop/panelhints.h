#pragma once

class QRegion;
class QWindow;

namespace wordlumen {

/**
 * What the floating panel asks of the window system beyond what Qt offers for
 * every window: to be on every workspace and out of the task bar, which edges
 * hold still when it is resized, where it is cut, where it takes the pointer
 * and where the compositor blurs behind it. A window system that has no such
 * notion does nothing for a request; the panel works without each of them.
 *
 * Regions are in the window's logical coordinates. An empty region means "no
 * cut" for the shape and "everywhere" for the input, and withdraws a blur.
 */
class PanelHints
{
public:
    PanelHints() = default;
    virtual ~PanelHints() = default;
    PanelHints(const PanelHints &) = delete;
    PanelHints &operator=(const PanelHints &) = delete;

    /**
     * Runs before every show: marks the panel as on every workspace and out of
     * the task bar and the pager. A window manager may drop such states when
     * the window is withdrawn, so they are asked for each time.
     */
    virtual void prepareForMap(QWindow *window) = 0;

    /**
     * Which corner keeps the window's contents while it is resized, so that
     * the last frame stays in place until the next is drawn at the new size.
     */
    virtual void setResizeGravity(QWindow *window, bool anchoredRight, bool anchoredTop) = 0;

    /// Cuts the window to what it shows, where windows cannot be see-through.
    virtual void setShape(QWindow *window, const QRegion &shape) = 0;

    /// Where the pointer reaches the window; a click elsewhere goes to the window below.
    virtual void setInputShape(QWindow *window, const QRegion &input) = 0;

    /// Asks the compositor to blur the desktop behind `region` of the window.
    virtual void setBlurBehind(QWindow *window, const QRegion &region) = 0;
};

} // namespace wordlumen
