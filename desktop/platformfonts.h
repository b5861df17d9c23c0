#pragma once

#include "desktop/systemkind.h"

#include <QString>

namespace wordlumen {

/**
 * The font families Chinese text is set in. Named explicitly because a
 * desktop's fallback may pick a Japanese face for Chinese text; each system
 * has its own families for Simplified Chinese.
 */
namespace PlatformFonts {

/// The sans-serif face for Chinese text (the UI's own face comes first).
[[nodiscard]] QString sansFamily(SystemKind system = currentSystemKind());
/// The serif face of titles.
[[nodiscard]] QString serifFamily(SystemKind system = currentSystemKind());

} // namespace PlatformFonts
} // namespace wordlumen
