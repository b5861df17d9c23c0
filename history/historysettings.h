#pragma once

namespace wordlumen {

/**
 * The stored settings of the lookup history, in the same settings file as the
 * others: whether answers are recorded (「记录查询历史」) and how many entries
 * are kept. Their keys, defaults and range are the settings schema's
 * (core/settingsschema); these read and write them as the history uses them.
 */
namespace HistorySettings {

/// The stored switch, or the default. Anything but a boolean or "true"/"false" reads as the
/// default.
[[nodiscard]] bool enabled();
/// The stored limit held to the range, or the default when none (or no number) is stored.
[[nodiscard]] int limit();

void setEnabled(bool enabled);
void setLimit(int limit);

[[nodiscard]] bool defaultEnabled();
/// Entries kept before the oldest unstarred ones are evicted; starred ones always stay.
[[nodiscard]] int defaultLimit();
[[nodiscard]] int minimumLimit();
[[nodiscard]] int maximumLimit();
/// `limit` held to [minimumLimit(), maximumLimit()]: a value outside reads as the nearest end.
[[nodiscard]] int clampedLimit(int limit);

} // namespace HistorySettings
} // namespace wordlumen
