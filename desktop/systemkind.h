#pragma once

namespace wordlumen {

/// The operating system the program runs on, as far as words, fonts and backends differ.
enum class SystemKind
{
    MacOS,
    Windows,
    /// Linux and the other Unix desktops.
    FreeDesktop
};

/// Read at run time from Qt's idea of the system.
[[nodiscard]] SystemKind currentSystemKind();

} // namespace wordlumen
