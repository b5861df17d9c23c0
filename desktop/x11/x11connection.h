#pragma once

// Internal to the X11 backends: the X connection Qt uses, for the few things
// Qt has no API for.

#include <xcb/xcb.h>

namespace wordlumen::X11 {

/// Qt's connection to the X server; null on other platforms.
[[nodiscard]] xcb_connection_t *connection();

/// The atom of `name`, interned once per process.
[[nodiscard]] xcb_atom_t atom(const char *name);

/// The root window of the default screen.
[[nodiscard]] xcb_window_t rootWindow();

/// The number of the default screen (DISPLAY=host:display.screen).
[[nodiscard]] int defaultScreenNumber();

} // namespace wordlumen::X11
