#pragma once

#include "core/result.h"
#include "keychainerror.h"
#include "secretstore.h"

#include <QString>

namespace wordlumen {

/**
 * The API key, kept only in the system keyring. All calls are synchronous.
 * The overloads without a store use SecretStore::system().
 */
namespace KeychainStore {

/// The stored key as stored (not trimmed); empty when there is none, the
/// keyring cannot be reached or the data is not UTF-8. Never fails.
[[nodiscard]] QString readAPIKey();
[[nodiscard]] QString readAPIKey(SecretStore &store);

/**
 * Stores the key trimmed of white space at both ends; an empty result removes
 * the item instead. Updates an existing item and adds one only when the update
 * finds none; any other failure is reported and nothing more is tried.
 */
Result<Done, KeychainError> saveAPIKey(const QString &key);
Result<Done, KeychainError> saveAPIKey(SecretStore &store, const QString &key);

/// Removes the item; a missing item or a failure is ignored.
void deleteAPIKey();
void deleteAPIKey(SecretStore &store);

} // namespace KeychainStore
} // namespace wordlumen
