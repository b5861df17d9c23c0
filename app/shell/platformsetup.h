#pragma once

namespace wordlumen::PlatformSetup {

/**
 * Settings that must be made before the application object exists: the
 * desktop's choice of Qt platform (see DesktopServices) and the Qt Quick
 * renderer, unless the environment chose one.
 */
void beforeApplication();

/// Settings made right after the application object exists.
void afterApplication();

} // namespace wordlumen::PlatformSetup
