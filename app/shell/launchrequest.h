#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace wordlumen {

/**
 * What one launch of `wordlumen` asks for. The first process carries it out
 * itself; every later one hands it to the running instance over the
 * single-instance channel and ends.
 */
struct LaunchRequest
{
    enum class Action
    {
        /// No option: show the card and the control center.
        Open,
        /// Open the card when it is folded or hidden, fold it when it is open.
        Toggle,
        /// Open the card and look up `text`.
        Lookup,
        /// Look up the text selected in any program (the primary selection, then the clipboard).
        Selection,
        /// Bring up the control center.
        Settings,
        /// Start without the control center (start at login); nothing for a running instance.
        Background,
    };

    Action action = Action::Open;
    /// The text of a lookup; empty for every other action.
    QString text;

    bool operator==(const LaunchRequest &) const = default;

    /// One line of the channel: a compact JSON object ended by a line feed.
    [[nodiscard]] QByteArray encode() const;
    /// The request one line of the channel carries; nothing for a line that is not one.
    [[nodiscard]] static std::optional<LaunchRequest> decode(const QByteArray &line);
};

[[nodiscard]] QString toString(LaunchRequest::Action action);
[[nodiscard]] std::optional<LaunchRequest::Action> launchActionFromString(const QString &name);

} // namespace wordlumen
