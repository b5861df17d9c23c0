#include "fakeportal.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QKeySequence>
#include <QTimer>

namespace wordlumen::testing {

namespace {
const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
} // namespace

FakePortal::FakePortal()
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                          QStringLiteral("wordlumen-fake-portal")))
{
    qDBusRegisterMetaType<PortalShortcutEntry>();
    qDBusRegisterMetaType<PortalShortcutList>();
    m_running = m_bus.isConnected() &&
                m_bus.registerObject(kPortalPath, this,
                                     QDBusConnection::ExportAllSlots |
                                         QDBusConnection::ExportAllProperties) &&
                m_bus.registerService(kPortalService);
}

FakePortal::~FakePortal()
{
    m_bus.unregisterService(kPortalService);
    m_bus.unregisterObject(kPortalPath);
    QDBusConnection::disconnectFromBus(QStringLiteral("wordlumen-fake-portal"));
}

QDBusObjectPath FakePortal::CreateSession(const QVariantMap &options, const QDBusMessage &message)
{
    const QString path = QStringLiteral("/org/freedesktop/portal/desktop/session/fake/%1")
                             .arg(options.value(QStringLiteral("session_handle_token")).toString());
    m_bus.registerObject(path, new FakePortalSession(this, path), QDBusConnection::ExportAllSlots);
    openSessions += path;
    ++m_sessions;
    respond(message, options, 0, {{QStringLiteral("session_handle"), path}});
    return QDBusObjectPath(
        QStringLiteral("/org/freedesktop/portal/desktop/request/fake/%1").arg(m_sessions));
}

QDBusObjectPath FakePortal::BindShortcuts(const QDBusObjectPath &session,
                                          const QList<PortalShortcutEntry> &shortcuts,
                                          const QString &, const QVariantMap &options,
                                          const QDBusMessage &message)
{
    PortalShortcutList bound;
    for (const PortalShortcutEntry &entry : shortcuts) {
        const QString preferred =
            entry.properties.value(QStringLiteral("preferred_trigger")).toString();
        preferredTriggers += preferred;
        bound += PortalShortcutEntry{
            entry.id,
            {{QStringLiteral("description"), entry.properties.value(QStringLiteral("description"))},
             {QStringLiteral("trigger_description"),
              boundTrigger.isEmpty() ? preferred : boundTrigger}}};
    }
    if (!openSessions.contains(session.path())) {
        respond(message, options, 2, {});
    } else if (refuseBinds) {
        respond(message, options, 1, {});
    } else {
        respond(message, options, 0, {{QStringLiteral("shortcuts"), QVariant::fromValue(bound)}});
    }
    return QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/fake/bind"));
}

void FakePortal::respond(const QDBusMessage &message, const QVariantMap &options, uint response,
                         const QVariantMap &results)
{
    QString sender = message.service().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                             .arg(sender, options.value(QStringLiteral("handle_token")).toString());
    // After the method's own reply, as a desktop answers once the user chose.
    QTimer::singleShot(10, this, [this, path, response, results] {
        QDBusMessage signal = QDBusMessage::createSignal(
            path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        signal << response << results;
        m_bus.send(signal);
    });
}

void FakePortal::activate(const QString &id)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        kPortalPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
        QStringLiteral("Activated"));
    signal << QVariant::fromValue(QDBusObjectPath(openSessions.value(openSessions.size() - 1)))
           << id << qulonglong(1) << QVariantMap();
    m_bus.send(signal);
}

void FakePortalSession::Close()
{
    m_portal->openSessions.removeAll(m_path);
    deleteLater();
}

} // namespace wordlumen::testing
