#pragma once

#include "apisettingsnotifier.h"

#include <QString>

namespace wordlumen {

/**
 * The endpoint and model of the online service, plain preferences in the
 * settings store. They are stored as typed, on every edit; only the key waits
 * for an explicit save (KeychainStore). Whether a stored endpoint may be used
 * is EndpointRule's to say.
 */
namespace ApiSettings {

[[nodiscard]] QString defaultEndpoint();
[[nodiscard]] QString defaultModel();

/// The stored endpoint text, or the default when none is stored. A stored empty text stays empty.
[[nodiscard]] QString endpointText();
/// The stored model, or the default when none is stored. A stored empty text stays empty.
[[nodiscard]] QString model();

/// Stores the text as typed and announces the edit (storedPreferencesChanged).
void setEndpointText(const QString &text);
void setModel(const QString &model);

} // namespace ApiSettings
} // namespace wordlumen
