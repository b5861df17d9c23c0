#pragma once

#include <QByteArray>
#include <QString>

namespace wordlumen {

/// The outcome of one secret store call.
struct SecretStoreStatus
{
    enum class Code
    {
        Success,
        ItemNotFound,
        Failure,
    };

    Code code = Code::Success;
    /// The store's numeric code, for a failure (QtKeychain's error for the system store).
    int platformCode = 0;
    /// The store's own words for a failure; may be empty.
    QString platformMessage;

    [[nodiscard]] bool ok() const { return code == Code::Success; }

    static SecretStoreStatus success() { return {}; }
    static SecretStoreStatus itemNotFound() { return {Code::ItemNotFound, 0, {}}; }
    static SecretStoreStatus failure(int platformCode, const QString &message)
    {
        return {Code::Failure, platformCode, message};
    }

    bool operator==(const SecretStoreStatus &) const = default;
};

/**
 * The one secret item that holds the API key: read, update, add and remove,
 * each reporting a status, so the save logic keeps its update-then-add order
 * against the system keyring and against a fake alike. Calls are synchronous.
 */
class SecretStore
{
public:
    SecretStore() = default;
    virtual ~SecretStore();
    Q_DISABLE_COPY_MOVE(SecretStore)

    /// The item's data; ItemNotFound when there is none.
    virtual SecretStoreStatus read(QByteArray *data) = 0;
    /// Replaces the data of an existing item; ItemNotFound when there is none.
    virtual SecretStoreStatus update(const QByteArray &data) = 0;
    /// Creates the item.
    virtual SecretStoreStatus add(const QByteArray &data) = 0;
    virtual SecretStoreStatus remove() = 0;

    /// The system keyring's item for the API key (service "com.zintaro.Wordlumen",
    /// account "deepseek-api-key"). Process-wide.
    static SecretStore &system();
};

} // namespace wordlumen
