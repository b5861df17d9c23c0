#pragma once

#include "desktop/panelhints.h"

namespace wordlumen {

/**
 * The panel's hints to an X11 window manager (EWMH) and server: every
 * workspace (_NET_WM_DESKTOP all and the sticky state), out of the task bar
 * and the pager (the window type, a utility window, comes from Qt::Tool), the
 * bit gravity for resizes, the shape and input shape (the SHAPE extension),
 * and KWin's blur-behind region.
 */
class X11PanelHints final : public PanelHints
{
public:
    void prepareForMap(QWindow *window) override;
    /// The X server leaves the last frame in place, at the edges that hold
    /// still, until the next frame is drawn at the new size, instead of
    /// shifting it to the top-left corner for a frame.
    void setResizeGravity(QWindow *window, bool anchoredRight, bool anchoredTop) override;
    void setShape(QWindow *window, const QRegion &shape) override;
    void setInputShape(QWindow *window, const QRegion &input) override;
    /// KWin's _KDE_NET_WM_BLUR_BEHIND_REGION; compositors without the effect ignore it.
    void setBlurBehind(QWindow *window, const QRegion &region) override;
};

} // namespace wordlumen
