#pragma once

class QRegion;
class QWindow;

namespace wordlumen {

/**
 * What the floating panel tells an X11 window manager (EWMH), and the one
 * window attribute it needs from the X server. Every function does nothing
 * on other platforms.
 */
namespace X11PanelHints {

/**
 * Marks the panel, before it is mapped, as on every workspace (_NET_WM_DESKTOP
 * all and the sticky state) and out of the taskbar and the pager (the window
 * type, a utility window, comes from Qt::Tool). A window manager drops these
 * states whenever the window is withdrawn, and a re-created window starts
 * without them, so this runs before every show.
 */
void prepareForMap(QWindow *window);

/**
 * Which corner of the window keeps its contents when the window is resized:
 * the edges that hold still. The X server then leaves the last frame in place
 * until the next one is drawn at the new size, instead of shifting it to the
 * top-left corner for a frame.
 */
void setResizeGravity(QWindow *window, bool anchoredRight, bool anchoredTop);

/// Whether the application runs on an X server (and these functions act).
[[nodiscard]] bool isX11();

/**
 * Where the pointer reaches the window (the X input shape), in the window's
 * logical coordinates; an empty region gives the whole window back. A click
 * elsewhere goes to the window below.
 */
void setInputShape(QWindow *window, const QRegion &region);

/**
 * Asks the compositor to blur the desktop behind `region` of the window
 * (KWin's _KDE_NET_WM_BLUR_BEHIND_REGION); an empty region withdraws the
 * request. Compositors without the effect ignore it.
 */
void setBlurBehind(QWindow *window, const QRegion &region);

} // namespace X11PanelHints
} // namespace wordlumen
