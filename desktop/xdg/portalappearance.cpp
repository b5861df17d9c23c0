#include "portalappearance.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QLoggingCategory>

namespace wordlumen {

Q_LOGGING_CATEGORY(lcAppearance, "wordlumen.desktop.appearance")

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kGnomeInterface = QStringLiteral("org.gnome.desktop.interface");

// The portal wraps values in one or two variants depending on its version.
QVariant unwrapped(QVariant value)
{
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    return value;
}

} // namespace

PortalAppearance::PortalAppearance(Appearance *fallback, QObject *parent)
    : Appearance(parent)
    , m_fallback(fallback)
{
    m_fallback->setParent(this);
    connect(m_fallback, &Appearance::changed, this, &Appearance::changed);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    // QtDBus finds the slot's argument types by name, and a type's name is
    // known only once it is registered: without this the connection fails,
    // silently, and changes made while the program runs never arrive.
    qRegisterMetaType<QDBusVariant>();
    if (!bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                     SLOT(settingChanged(QString, QString, QDBusVariant)))) {
        qCWarning(lcAppearance) << "Cannot follow the desktop's appearance settings:"
                                << bus.lastError().message();
    }
    read(kAppearance, QStringLiteral("color-scheme"));
    read(kGnomeInterface, QStringLiteral("enable-animations"));
}

PortalAppearance::~PortalAppearance() = default;

bool PortalAppearance::prefersDark() const
{
    return m_prefersDark.value_or(m_fallback->prefersDark());
}

bool PortalAppearance::reducesMotion() const
{
    return m_animationsDisabled || m_fallback->reducesMotion();
}

void PortalAppearance::read(const QString &group, const QString &key)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    call << group << key;
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, group, key](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusPendingReply<QVariant> reply = *finished;
                if (!reply.isError()) {
                    apply(group, key, unwrapped(reply.value()));
                }
            });
}

void PortalAppearance::settingChanged(const QString &group, const QString &key,
                                      const QDBusVariant &value)
{
    apply(group, key, unwrapped(value.variant()));
}

void PortalAppearance::apply(const QString &group, const QString &key, const QVariant &value)
{
    if (group == kAppearance && key == u"color-scheme") {
        // 1 prefers dark, 2 prefers light, 0 has no preference.
        const uint scheme = value.toUInt();
        m_prefersDark =
            scheme == 1 ? std::optional(true) : (scheme == 2 ? std::optional(false) : std::nullopt);
        emit changed();
    } else if (group == kGnomeInterface && key == u"enable-animations") {
        m_animationsDisabled = !value.toBool();
        emit changed();
    }
}

} // namespace wordlumen
