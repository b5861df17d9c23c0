#include "keychainstore.h"

#include "core/textmetrics.h"

#include <QStringDecoder>

namespace wordlumen::KeychainStore {

QString readAPIKey()
{
    return readAPIKey(SecretStore::system());
}

QString readAPIKey(SecretStore &store)
{
    QByteArray data;
    if (!store.read(&data).ok())
        return {};
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString key = decoder.decode(data);
    if (decoder.hasError())
        return {};
    return key;
}

Result<Done, KeychainError> saveAPIKey(const QString &key)
{
    return saveAPIKey(SecretStore::system(), key);
}

Result<Done, KeychainError> saveAPIKey(SecretStore &store, const QString &key)
{
    const QString trimmed = TextMetrics::trimmed(key);
    if (trimmed.isEmpty()) {
        deleteAPIKey(store);
        return Done{};
    }
    const QByteArray data = trimmed.toUtf8();
    SecretStoreStatus status = store.update(data);
    if (status.code == SecretStoreStatus::Code::ItemNotFound)
        status = store.add(data);
    if (!status.ok())
        return KeychainError::fromStatus(status);
    return Done{};
}

void deleteAPIKey()
{
    deleteAPIKey(SecretStore::system());
}

void deleteAPIKey(SecretStore &store)
{
    // A missing item or an unreachable keyring leaves nothing to remove.
    (void)store.remove();
}

} // namespace wordlumen::KeychainStore
