#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QObject>

/**
 * The part of the XDG desktop portal that tells applications the desktop's
 * colour scheme (org.freedesktop.portal.Settings, namespace
 * org.freedesktop.appearance, key color-scheme: 0 no preference, 1 dark,
 * 2 light), on a connection of its own to the session bus, so that the
 * program under test reads and follows it as it would the real portal.
 */
class FakeAppearancePortal final : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
    Q_DISABLE_COPY_MOVE(FakeAppearancePortal)

public:
    enum class Scheme : uint
    {
        NoPreference = 0,
        Dark = 1,
        Light = 2
    };

    explicit FakeAppearancePortal(Scheme scheme, QObject *parent = nullptr);
    ~FakeAppearancePortal() override;

    /// Takes the portal's name on the session bus; false when that fails.
    bool start();
    /// Changes the scheme and tells every listener, as the portal does.
    void setScheme(Scheme scheme);

public slots:
    QDBusVariant Read(const QString &nameSpace, const QString &key) const;

signals:
    void SettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    QDBusConnection m_bus;
    Scheme m_scheme;
};
