#pragma once

#include <QString>

namespace wordlumen {

/// Where the online service is and which model it runs, as stored (texts as typed).
struct OnlineSettings
{
    QString endpointText;
    QString model;

    /// The stored endpoint and model, each falling back to its default when absent.
    [[nodiscard]] static OnlineSettings stored();

    bool operator==(const OnlineSettings &) const = default;
};

} // namespace wordlumen
