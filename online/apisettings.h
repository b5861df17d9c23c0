#pragma once

#include "apisettingsnotifier.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace wordlumen {

/**
 * The endpoint and model of the online service, plain preferences in the
 * settings store. They are stored as typed, on every edit; only the key waits
 * for an explicit save (KeychainStore).
 */
namespace ApiSettings {

inline constexpr auto kEndpointKey = "deepseekEndpoint";
inline constexpr auto kModelKey = "deepseekModel";

[[nodiscard]] QString defaultEndpoint();
[[nodiscard]] QString defaultModel();

/// The stored endpoint text, or the default when none is stored. A stored empty text stays empty.
[[nodiscard]] QString endpointText();
/// The stored model, or the default when none is stored. A stored empty text stays empty.
[[nodiscard]] QString model();

/// Stores the text as typed and announces the edit (storedPreferencesChanged).
void setEndpointText(const QString &text);
void setModel(const QString &model);

/// The endpoint text as a URL, or nothing when it does not parse or is empty.
[[nodiscard]] std::optional<QUrl> parseEndpoint(const QString &text);

/**
 * Whether a stored endpoint passes the save check: it parses and its scheme,
 * as written, is exactly "https". "HTTPS" fails although URL parsing would
 * lower-case it.
 */
[[nodiscard]] bool isAcceptableEndpointText(const QString &text);

} // namespace ApiSettings
} // namespace wordlumen
