#include "fakesecretstore.h"

namespace wordlumen::testing {

std::optional<SecretStoreStatus> FakeSecretStore::scriptedFailure(Call call)
{
    calls.append(call);
    if (const auto it = m_failures.constFind(call); it != m_failures.cend())
        return *it;
    return std::nullopt;
}

SecretStoreStatus FakeSecretStore::read(QByteArray *data)
{
    if (auto failure = scriptedFailure(Call::Read))
        return *failure;
    if (!item)
        return SecretStoreStatus::itemNotFound();
    *data = *item;
    return SecretStoreStatus::success();
}

SecretStoreStatus FakeSecretStore::update(const QByteArray &data)
{
    if (auto failure = scriptedFailure(Call::Update))
        return *failure;
    if (!item)
        return SecretStoreStatus::itemNotFound();
    item = data;
    return SecretStoreStatus::success();
}

SecretStoreStatus FakeSecretStore::add(const QByteArray &data)
{
    if (auto failure = scriptedFailure(Call::Add))
        return *failure;
    item = data;
    return SecretStoreStatus::success();
}

SecretStoreStatus FakeSecretStore::remove()
{
    if (auto failure = scriptedFailure(Call::Remove))
        return *failure;
    if (!item)
        return SecretStoreStatus::itemNotFound();
    item.reset();
    return SecretStoreStatus::success();
}

} // namespace wordlumen::testing
