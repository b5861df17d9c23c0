#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

namespace wordlumen {

/**
 * The one timestamp shape of the library file: ISO 8601 in UTC with whole
 * seconds, 「2026-03-01T08:15:00Z」. It is the only shape accepted when reading,
 * so a file edited by hand into another shape is reported, not half-read.
 */
namespace IsoTimestamp {

/// For years 0 to 9999, the only ones a library holds.
[[nodiscard]] QString format(const QDateTime &time);

/// The time, or nothing when the text is not exactly `yyyy-MM-ddTHH:mm:ssZ` or no valid date.
[[nodiscard]] std::optional<QDateTime> parse(QStringView text);

/**
 * The current time as the library stores it: UTC, truncated to whole seconds,
 * so that what is published equals what a later load reads back.
 */
[[nodiscard]] QDateTime now();

/// A compact form for file names, without colons: 「20260301T081500Z」.
[[nodiscard]] QString fileNameStamp(const QDateTime &time);

} // namespace IsoTimestamp
} // namespace wordlumen
