#pragma once

#include "core/result.h"
#include "deepseekerror.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace wordlumen {

/**
 * Which endpoints the key may be sent to. The key travels as a bearer token,
 * so it goes over https anywhere, and over plain http only to this machine
 * (localhost in any letter case, 127.0.0.0/8, ::1), which is how a model
 * running locally is reached. Requests, redirects and the save check all ask
 * here, so what can be saved is exactly what can be used.
 */
namespace EndpointRule {

/// Why the key must not go to this URL; nothing when it may.
[[nodiscard]] std::optional<DeepSeekError> refusal(const QUrl &endpoint);

/// The stored endpoint text as a URL the key may go to, or why not.
[[nodiscard]] Result<QUrl, DeepSeekError> parse(const QString &text);

/**
 * Why saving a key against this stored endpoint text is refused; nothing when
 * it may be saved. Beyond parse(), the scheme must be written in lower case
 * as stored: URL parsing would lower-case "HTTPS", the save check does not.
 */
[[nodiscard]] std::optional<DeepSeekError> saveRefusal(const QString &text);

} // namespace EndpointRule
} // namespace wordlumen
