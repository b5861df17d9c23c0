#include "startatlogin.h"

#include "desktop/loginitem.h"

namespace wordlumen {

StartAtLogin::StartAtLogin(std::unique_ptr<LoginItem> item, QObject *parent)
    : QObject(parent)
    , m_item(std::move(item))
{
    refresh();
}

StartAtLogin::~StartAtLogin() = default;

bool StartAtLogin::isAvailable() const
{
    return m_item->isAvailable();
}

void StartAtLogin::setEnabled(bool enabled)
{
    setErrorMessage(m_item->setEnabled(enabled));
    refresh();
}

QString StartAtLogin::statusText() const
{
    if (!m_errorMessage.isEmpty()) {
        return m_errorMessage;
    }
    if (!isAvailable()) {
        return QStringLiteral("这个系统上还不能让 Wordlumen 在登录时自动启动。");
    }
    return QStringLiteral("登录桌面后自动启动，只显示浮动触发器，不打开控制中心。");
}

bool StartAtLogin::hasProblem() const
{
    return !m_errorMessage.isEmpty();
}

void StartAtLogin::refresh()
{
    setState(m_item->isEnabled());
}

void StartAtLogin::setState(bool enabled)
{
    if (m_enabled == enabled) {
        return;
    }
    m_enabled = enabled;
    emit enabledChanged();
}

void StartAtLogin::setErrorMessage(const QString &message)
{
    if (m_errorMessage == message) {
        return;
    }
    m_errorMessage = message;
    emit errorMessageChanged();
}

} // namespace wordlumen
