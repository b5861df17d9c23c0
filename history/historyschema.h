#pragma once

#include <QList>
#include <QStringList>

namespace wordlumen {

/**
 * The history database's layout and the steps that bring any older layout up
 * to date. A database says which step it has reached in `PRAGMA user_version`
 * (0: nothing yet) and that it is ours in `PRAGMA application_id`.
 *
 * A new version appends a step; a published step never changes, since
 * databases out there were built by it.
 */
namespace HistorySchema {

/// 「WLHi」: marks a SQLite file as a Wordlumen history database.
inline constexpr qint32 kApplicationId = 0x574C4869;

/// One step: the statements that take a database from `version - 1` to `version`.
struct Step
{
    int version;
    QStringList statements;
};

/// Every step, oldest first; version 1 is the first.
[[nodiscard]] const QList<Step> &steps();

/// The version the last step reaches: the newest layout this program knows.
[[nodiscard]] int currentVersion();

} // namespace HistorySchema
} // namespace wordlumen
