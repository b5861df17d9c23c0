#pragma once

#include "desktop/systemkind.h"

#include <QString>

namespace wordlumen {

/**
 * Words in user-facing texts that name the computer or its secret store. On
 * macOS the texts say "这台 Mac" and "钥匙串"; elsewhere that would be false, so
 * they say "这台电脑" and "系统密钥环". Both forms live only here.
 */
namespace PlatformWords {

/// "这台 Mac" on macOS, "这台电脑" elsewhere.
[[nodiscard]] QString thisComputer(SystemKind system = currentSystemKind());
/// "钥匙串" on macOS, "系统密钥环" elsewhere.
[[nodiscard]] QString secretStore(SystemKind system = currentSystemKind());
/// A text written with the macOS words, with both replaced where they would be false.
[[nodiscard]] QString localized(const QString &macText, SystemKind system = currentSystemKind());

} // namespace PlatformWords
} // namespace wordlumen
