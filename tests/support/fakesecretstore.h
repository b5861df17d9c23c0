#pragma once

#include "online/secretstore.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <optional>

namespace wordlumen::testing {

/// An in-memory secret item that records its calls and can be told to fail any of them.
class FakeSecretStore final : public SecretStore
{
public:
    enum class Call
    {
        Read,
        Update,
        Add,
        Remove,
    };

    /// The stored data; nothing when there is no item.
    std::optional<QByteArray> item;
    /// Every call in order.
    QList<Call> calls;

    /// From now on `call` answers with `status` and changes nothing.
    void failWith(Call call, const SecretStoreStatus &status) { m_failures.insert(call, status); }
    void stopFailing() { m_failures.clear(); }

    SecretStoreStatus read(QByteArray *data) override;
    SecretStoreStatus update(const QByteArray &data) override;
    SecretStoreStatus add(const QByteArray &data) override;
    SecretStoreStatus remove() override;

private:
    std::optional<SecretStoreStatus> scriptedFailure(Call call);

    QHash<Call, SecretStoreStatus> m_failures;
};

} // namespace wordlumen::testing
