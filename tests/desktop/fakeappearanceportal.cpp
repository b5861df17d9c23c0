#include "fakeappearanceportal.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kColorScheme = QStringLiteral("color-scheme");

} // namespace

FakeAppearancePortal::FakeAppearancePortal(Scheme scheme, QObject *parent)
    : QObject(parent)
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                          QStringLiteral("wordlumen-fake-portal")))
    , m_scheme(scheme)
{}

FakeAppearancePortal::~FakeAppearancePortal()
{
    if (m_bus.isConnected()) {
        m_bus.unregisterObject(kPath);
        m_bus.unregisterService(kService);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("wordlumen-fake-portal"));
}

bool FakeAppearancePortal::start()
{
    return m_bus.isConnected() &&
           m_bus.registerObject(
               kPath, this, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) &&
           m_bus.registerService(kService);
}

void FakeAppearancePortal::setScheme(Scheme scheme)
{
    m_scheme = scheme;
    emit SettingChanged(kAppearance, kColorScheme, QDBusVariant(uint(scheme)));
}

QDBusVariant FakeAppearancePortal::Read(const QString &nameSpace, const QString &key) const
{
    if (nameSpace == kAppearance && key == kColorScheme) {
        // The portal's first version wraps the value in a second variant.
        return QDBusVariant(QVariant::fromValue(QDBusVariant(uint(m_scheme))));
    }
    // As the portal answers for a setting it does not have.
    sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                   QStringLiteral("Requested setting not found"));
    return QDBusVariant(uint(0));
}
