#pragma once

class QWindow;

namespace wordlumen {

/**
 * Asks an X11 window manager to show the panel on every workspace (EWMH
 * _NET_WM_DESKTOP = all, and the sticky state). Must run before the window is
 * first shown. Does nothing on other platforms.
 */
void requestAllWorkspaces(QWindow *window);

} // namespace wordlumen
