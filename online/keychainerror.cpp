#include "keychainerror.h"

namespace wordlumen {

QString KeychainError::message() const
{
    return QStringLiteral("API Key 保存失败：") +
           (m_platformMessage.isEmpty() ? QStringLiteral("未知错误") : m_platformMessage);
}

} // namespace wordlumen
