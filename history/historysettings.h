#pragma once

namespace wordlumen {

/**
 * The stored settings of the lookup history, in the same settings file as the
 * others: whether answers are recorded (「记录查询历史」) and how many entries
 * are kept. Declared here only.
 */
namespace HistorySettings {

inline constexpr auto kEnabledKey = "historyEnabled";
inline constexpr auto kLimitKey = "historyLimit";

inline constexpr bool kDefaultEnabled = true;
/// Entries kept before the oldest unstarred ones are evicted; starred ones always stay.
inline constexpr int kDefaultLimit = 1000;
/// The range a stored limit is held to; a value outside it reads as the nearest end.
inline constexpr int kMinimumLimit = 10;
inline constexpr int kMaximumLimit = 100000;

/// The stored switch, or the default. Anything but a boolean or "true"/"false" reads as the
/// default.
[[nodiscard]] bool enabled();
/// The stored limit held to the range, or the default when none (or no number) is stored.
[[nodiscard]] int limit();

void setEnabled(bool enabled);
void setLimit(int limit);

/// `limit` held to [kMinimumLimit, kMaximumLimit].
[[nodiscard]] int clampedLimit(int limit);

} // namespace HistorySettings
} // namespace wordlumen
