#pragma once

#include <memory>

class QObject;

namespace wordlumen {

class Appearance;
class CompositorStatus;
class InstanceChannel;
class LoginItem;
class PanelHints;
class SelectionSource;
class ShortcutBackend;

/**
 * The one place that picks, at run time, the backend of each desktop service
 * for the platform the program runs on: X11 where Qt runs on an X server, the
 * freedesktop.org portals where there is a session bus, and otherwise what
 * Qt alone offers. A port adds a backend folder and a line here; callers see
 * only the interfaces.
 *
 * Called at the edges (the application shell, the theme's QML singleton, the
 * tests), which hand the services on to the objects that use them.
 */
namespace DesktopServices {

/**
 * Runs before the application object exists. On a Wayland session the
 * floating panel needs a window manager that honours stay-on-top and client
 * positioning: where this build has the X11 backends, XWayland is preferred
 * (falling back to Wayland), unless the environment chose a platform.
 */
void prepareBeforeApplication();

/// The panel's window hints; one stateless instance for the process.
[[nodiscard]] PanelHints &panelHints();
[[nodiscard]] std::unique_ptr<CompositorStatus> makeCompositorStatus(QObject *parent = nullptr);
[[nodiscard]] std::unique_ptr<Appearance> makeAppearance(QObject *parent = nullptr);
/// Nothing where no desktop registers shortcuts for programs (the user binds the command).
[[nodiscard]] std::unique_ptr<ShortcutBackend> makeShortcutBackend();
[[nodiscard]] std::unique_ptr<LoginItem> makeLoginItem();
[[nodiscard]] std::unique_ptr<InstanceChannel> makeInstanceChannel();
[[nodiscard]] std::unique_ptr<SelectionSource> makeSelectionSource();

} // namespace DesktopServices
} // namespace wordlumen
