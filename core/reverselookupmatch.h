#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

namespace wordlumen {

/// One candidate term returned by the online reverse lookup.
struct ReverseLookupMatch
{
    QString term;
    std::optional<QString> english;
    QString reason;
    /// The service's own wording; shown nowhere, kept as received.
    std::optional<QString> confidence;

    bool operator==(const ReverseLookupMatch &) const = default;

    /// "term|english" (english empty when absent); lists of candidates are keyed by it.
    [[nodiscard]] QString id() const;

    /// "term · english" when the English name says something the term does not,
    /// otherwise the term alone.
    [[nodiscard]] QString displayTerm() const;

    /// The JSON form: "term" and "reason" always, "english" and "confidence" only when present.
    [[nodiscard]] QJsonObject toJson() const;

    /// Decodes one object; nothing when "term" or "reason" is missing or not a string.
    /// An optional key holding null or a non-string counts as absent only when null.
    [[nodiscard]] static std::optional<ReverseLookupMatch> fromJson(const QJsonObject &object);
};

} // namespace wordlumen
