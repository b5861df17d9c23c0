#pragma once

#include "secretstore.h"

#include <QString>

namespace wordlumen {

/// Saving the API key failed; carries the keyring's own code and words.
class KeychainError
{
public:
    KeychainError(int platformCode, const QString &platformMessage)
        : m_platformCode(platformCode)
        , m_platformMessage(platformMessage)
    {}
    static KeychainError fromStatus(const SecretStoreStatus &status)
    {
        return {status.platformCode, status.platformMessage};
    }

    [[nodiscard]] int platformCode() const { return m_platformCode; }
    /// "API Key 保存失败：" and the keyring's message, or "未知错误" when it gave none.
    [[nodiscard]] QString message() const;

    bool operator==(const KeychainError &) const = default;

private:
    int m_platformCode;
    QString m_platformMessage;
};

} // namespace wordlumen
