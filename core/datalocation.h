#pragma once

#include <QString>

namespace wordlumen {

/**
 * Where the program keeps the user's data files: the pack library and the
 * lookup history live side by side in one folder, so a user who backs up or
 * deletes one finds the other there too.
 */
namespace DataLocation {

/**
 * `<first generic data location>/Zintaro` (on Linux `~/.local/share/Zintaro`),
 * or the same under the temporary directory when the platform names no data
 * location. Not created here; writers create it when they first write.
 */
[[nodiscard]] QString folder();

/// `fileName` inside folder().
[[nodiscard]] QString filePath(const QString &fileName);

} // namespace DataLocation
} // namespace wordlumen
