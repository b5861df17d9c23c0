#pragma once

#include "desktop/shortcutbackend.h"

#include <QDBusObjectPath>
#include <QList>
#include <QVariantMap>

class QDBusArgument;
class QDBusConnection;
class QDBusMessage;

namespace wordlumen {

/// One shortcut as the portal's D-Bus interface carries it: `(sa{sv})`.
struct PortalShortcutEntry
{
    QString id;
    QVariantMap properties;
};
using PortalShortcutList = QList<PortalShortcutEntry>;

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcutEntry &entry);
const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcutEntry &entry);

/**
 * A global shortcut on Wayland, through the desktop portal's GlobalShortcuts
 * interface (org.freedesktop.portal.GlobalShortcuts): a session is created,
 * one shortcut is bound with the preferred combination, and the desktop,
 * which may ask the user, answers with the combination it really bound.
 * Where no portal offers the interface, registration fails as Unavailable.
 */
class PortalShortcut final : public ShortcutBackend
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortalShortcut)

public:
    /// The id of the one shortcut this program binds.
    static constexpr auto kShortcutId = "lookup-selection";

    /// Talks to the portal on `bus` (the session bus by default).
    explicit PortalShortcut(QObject *parent = nullptr);
    PortalShortcut(const QDBusConnection &bus, QObject *parent);
    ~PortalShortcut() override;

    [[nodiscard]] bool desktopChoosesKeys() const override { return true; }
    void registerKeys(QKeyCombination keys) override;
    void unregister() override;

    /**
     * A combination as the desktop portal writes a shortcut trigger:
     * modifiers CTRL, ALT, SHIFT, LOGO joined by "+" and the key's keysym
     * name ("CTRL+ALT+e"); empty for a key without one.
     */
    [[nodiscard]] static QString triggerText(QKeyCombination keys);

private slots:
    void onCreateSessionResponse(uint response, const QVariantMap &results);
    void onBindResponse(uint response, const QVariantMap &results);
    void onActivated(const QDBusMessage &message);

private:
    /// Calls `method` and routes the portal's Response for it to `slot`.
    void request(const QString &method, QList<QVariant> arguments, QVariantMap options,
                 const char *slot);
    void closeSession();

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace wordlumen

Q_DECLARE_METATYPE(wordlumen::PortalShortcutEntry)
