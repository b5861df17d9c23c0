#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace wordlumen {

/**
 * Up and Down in the card's empty input walk the recent queries as a shell
 * walks its history: Up from the empty input shows the newest query, Up again
 * older ones (staying at the oldest), Down newer ones, and Down past the
 * newest leaves the walk with the input empty again. Typing leaves the walk
 * too, keeping what is typed; Up in an input that holds text the user typed
 * does nothing, so the keys keep their ordinary meaning there.
 *
 * The queries are read when a walk starts, so each walk sees the history as
 * it is then.
 */
class QueryRecall final
{
public:
    /// Queries read for one walk: more than anyone steps through.
    static constexpr int kDepth = 50;

    using Source = std::function<QStringList()>;

    /// Up: the query to show, or nothing when Up does nothing here.
    [[nodiscard]] std::optional<QString> older(const QString &input, const Source &recent);
    /// Down: the query to show (empty past the newest), or nothing outside a walk.
    [[nodiscard]] std::optional<QString> newer();
    /// The user typed or a lookup began: the walk ends where it is.
    void leave();

    [[nodiscard]] bool isWalking() const { return m_index >= 0; }

private:
    QStringList m_queries;
    // The query shown; -1 outside a walk.
    qsizetype m_index = -1;
};

} // namespace wordlumen
