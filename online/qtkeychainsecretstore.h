#pragma once

#include "core/identity.h"
#include "secretstore.h"

namespace wordlumen {

/**
 * A secret item in the system keyring through QtKeychain (the Secret Service
 * on Linux, the login keychain on macOS, the Credential Manager on Windows).
 *
 * QtKeychain's jobs are asynchronous; each call here runs its job to the end
 * in a local event loop, because the key is read and saved synchronously from
 * the user's actions. Input events wait meanwhile. Never falls back to
 * plain-text storage.
 */
class QtKeychainSecretStore final : public SecretStore
{
public:
    static constexpr auto kService = Identity::kReverseDomainName;
    static constexpr auto kAccount = "deepseek-api-key";

    QtKeychainSecretStore(QString service, QString account);
    QtKeychainSecretStore(const char *service, const char *account)
        : QtKeychainSecretStore(QString::fromLatin1(service), QString::fromLatin1(account))
    {}

    SecretStoreStatus read(QByteArray *data) override;
    /// QtKeychain has no update: a read tells whether the item exists, then a write replaces it.
    SecretStoreStatus update(const QByteArray &data) override;
    SecretStoreStatus add(const QByteArray &data) override;
    SecretStoreStatus remove() override;

private:
    SecretStoreStatus write(const QByteArray &data);

    QString m_service;
    QString m_account;
};

} // namespace wordlumen
