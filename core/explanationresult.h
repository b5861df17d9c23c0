#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace wordlumen {

// The namespace's meta-object carries ExplanationOrigin, so views can read
// an answer's origin as a typed enum. No other header declares one for it.
Q_NAMESPACE

/// Where an answer on the card came from.
enum class ExplanationOrigin
{
    Local,      ///< the built-in dictionary
    Custom,     ///< an enabled supplement pack
    DeepSeek,   ///< the online chat-completions service
    Unavailable ///< no answer; the explanation is a notice to the user
};
Q_ENUM_NS(ExplanationOrigin)

/// The printed form: "local", "custom", "deepSeek", "unavailable".
[[nodiscard]] QString toString(ExplanationOrigin origin);

/// The origin whose printed form is exactly `text` (case-sensitive), or nothing.
[[nodiscard]] std::optional<ExplanationOrigin> explanationOriginFromString(QStringView text);

/// The answer the card shows.
struct ExplanationResult
{
    QString term;
    /// Grows while an online answer streams in.
    QString explanation;
    ExplanationOrigin origin = ExplanationOrigin::Unavailable;

    bool operator==(const ExplanationResult &) const = default;
};

} // namespace wordlumen
