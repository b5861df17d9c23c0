#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace wordlumen::bench {

/**
 * Runs this benchmark again under `xvfb-run` on a virtual display of the usual
 * size (1440 × 900) when there is no display and no platform was chosen;
 * returns only when it already has one. Exits with 2 when xvfb-run cannot run.
 */
void runOnVirtualDisplay(int argc, char *argv[]);

/// The number after `name` in `arguments` ("--runs 30"), or `fallback`.
[[nodiscard]] int intOption(const QStringList &arguments, const QString &name, int fallback);

/// The middle value (the upper one of an even count), or a default value when empty.
template<typename T>
[[nodiscard]] T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? T{} : values[values.size() / 2];
}

} // namespace wordlumen::bench
