#pragma once

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

} // namespace X11PanelHints
} // namespace wordlumen
