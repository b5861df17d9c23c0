#pragma once

namespace wordlumen::PlatformSetup {

/**
 * Settings that must be made before the application object exists: on a
 * Wayland session prefer XWayland (the floating panel needs a window manager
 * that honours stay-on-top and client positioning), falling back to Wayland;
 * and the Qt Quick renderer, unless the environment chose one.
 */
void beforeApplication();

/// Settings made right after the application object exists.
void afterApplication();

} // namespace wordlumen::PlatformSetup
