#pragma once

#include "desktop/xdg/portalshortcut.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>

namespace wordlumen::testing {

/**
 * A desktop portal's GlobalShortcuts interface on its own bus connection, as
 * the desktop offers it: sessions are created, the preferred trigger is bound
 * (or the bind refused), and presses are reported with Activated.
 */
class FakePortal final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    FakePortal();
    ~FakePortal() override;

    /// False where the bus could not be reached or the name is taken.
    [[nodiscard]] bool isRunning() const { return m_running; }
    [[nodiscard]] uint version() const { return 1; }

    /// Reports a press of the shortcut `id` in the last session.
    void activate(const QString &id);

    /// Refuse binds (as when the user cancels the desktop's dialog).
    bool refuseBinds = false;
    /// The combination the desktop binds; the preferred trigger when empty.
    QString boundTrigger;
    QStringList preferredTriggers;
    QStringList openSessions;

public slots:
    QDBusObjectPath CreateSession(const QVariantMap &options, const QDBusMessage &message);
    QDBusObjectPath BindShortcuts(const QDBusObjectPath &session,
                                  const QList<wordlumen::PortalShortcutEntry> &shortcuts,
                                  const QString &parentWindow, const QVariantMap &options,
                                  const QDBusMessage &message);

private:
    void respond(const QDBusMessage &message, const QVariantMap &options, uint response,
                 const QVariantMap &results);

    QDBusConnection m_bus;
    bool m_running = false;
    int m_sessions = 0;
};

/// One portal session object; closing it removes it from the portal's list.
class FakePortalSession final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")

public:
    FakePortalSession(FakePortal *portal, QString path)
        : QObject(portal)
        , m_portal(portal)
        , m_path(std::move(path))
    {}

public slots:
    void Close();

private:
    FakePortal *m_portal;
    QString m_path;
};

} // namespace wordlumen::testing
