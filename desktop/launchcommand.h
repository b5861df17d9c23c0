#pragma once

#include <QString>
#include <QStringList>

namespace wordlumen {

/**
 * How other programs start this one: the autostart entry, and the command the
 * control center shows for a desktop's own shortcut settings.
 */
namespace LaunchCommand {

/**
 * The command line that runs this program with `arguments`: plain
 * `wordlumen` when that name, looked up on PATH, is this very program (an
 * installed package), otherwise its absolute path, so that a build or an
 * unpacked tree elsewhere is started and not some other copy. Arguments are
 * quoted as desktop entries quote them, which a shell reads alike.
 */
[[nodiscard]] QString commandLine(const QStringList &arguments);

/// `commandLine` as the value of a desktop entry's Exec= key.
[[nodiscard]] QString execValue(const QStringList &arguments);

/// The program's name on PATH.
inline constexpr auto kProgramName = "wordlumen";

} // namespace LaunchCommand
} // namespace wordlumen
