#pragma once

#include <QString>

class QTemporaryDir;

namespace wordlumen::testing {

/// A pack for `industry` with `count` numbered terms 「1｜术语1」…, optionally
/// with a depth and a perspective line, as a user's pack file reads.
QString numberedPackText(const QString &industry, int count, const QString &depth = {},
                         const QString &perspective = {});

/// Writes `text` as UTF-8 to `fileName` inside `dir`; the file's path, or
/// nothing when it could not be written.
QString writeTextFile(const QTemporaryDir &dir, const QString &fileName, const QString &text);

} // namespace wordlumen::testing
