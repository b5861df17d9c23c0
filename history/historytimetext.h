#pragma once

#include <QDateTime>
#include <QString>

namespace wordlumen {

/// How the history list says when an entry was last seen, in the local time zone.
namespace HistoryTimeText {

/**
 * 「今天 14:05」 and 「昨天 09:12」 for the last two days, 「12月3日」 earlier
 * this year, 「2025年12月3日」 before that (and for times after `now`, which
 * a clock set back can leave behind, the date as well).
 */
[[nodiscard]] QString lastSeenText(const QDateTime &when, const QDateTime &now);

} // namespace HistoryTimeText
} // namespace wordlumen
