#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace wordlumen {

class LoginItem;

/**
 * "登录时启动": the switch on the floating page over the desktop's login
 * item. Whether it is on is the desktop's own answer, read again on refresh;
 * where the desktop offers no login item the switch is off, cannot be turned
 * on, and the line under it says so instead of pretending.
 */
class StartAtLogin final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StartAtLogin)
    QML_ELEMENT
    QML_UNCREATABLE("The application makes the start-at-login switch.")

    Q_PROPERTY(bool available READ isAvailable CONSTANT)
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled NOTIFY enabledChanged)
    /// Why the last change failed; empty after a change that worked.
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    /// The line under the switch: what it does, why it cannot, or what went wrong.
    Q_PROPERTY(QString statusText READ statusText NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasProblem READ hasProblem NOTIFY errorMessageChanged)

public:
    explicit StartAtLogin(std::unique_ptr<LoginItem> item, QObject *parent = nullptr);
    ~StartAtLogin() override;

    [[nodiscard]] bool isAvailable() const;
    [[nodiscard]] bool isEnabled() const { return m_enabled; }
    /// Turns it on or off; on failure the state stays and errorMessage says why.
    void setEnabled(bool enabled);
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] bool hasProblem() const;

    /// Reads the desktop's answer again (its own settings may have changed it).
    Q_INVOKABLE void refresh();

signals:
    void enabledChanged();
    void errorMessageChanged();

private:
    void setState(bool enabled);
    void setErrorMessage(const QString &message);

    std::unique_ptr<LoginItem> m_item;
    bool m_enabled = false;
    QString m_errorMessage;
};

} // namespace wordlumen
