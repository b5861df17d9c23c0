#pragma once

namespace wordlumen {

/**
 * Who the program is to the desktop: the organisation and application names
 * that place the settings file and the library folder, and the reverse-DNS
 * identifier that names the keyring item, the desktop entry and the
 * single-instance socket. Written here only.
 */
namespace Identity {

inline constexpr auto kOrganizationName = "Zintaro";
inline constexpr auto kApplicationName = "Wordlumen";
inline constexpr auto kReverseDomainName = "com.zintaro.Wordlumen";

/// The program's version, as the build names it (the project version).
[[nodiscard]] const char *version();

/// Sets the organisation and application names and the version of the running QCoreApplication.
void applyToApplication();

} // namespace Identity
} // namespace wordlumen
