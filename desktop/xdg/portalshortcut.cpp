#include "portalshortcut.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QKeySequence>
#include <QLoggingCategory>
#include <QRandomGenerator>

namespace wordlumen {

Q_LOGGING_CATEGORY(lcPortal, "wordlumen.desktop.portal")

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

QString newToken()
{
    return QStringLiteral("wordlumen%1").arg(QRandomGenerator::global()->generate());
}

} // namespace

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcutEntry &entry)
{
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcutEntry &entry)
{
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

struct PortalShortcut::Private
{
    QDBusConnection bus;
    QString sessionPath;
    QString preferredTrigger;
    /// Requests older than the last registerKeys() are answered but not listened to.
    quint64 generation = 0;
    quint64 requestGeneration = 0;
    QString pendingRequestPath;
};

PortalShortcut::PortalShortcut(QObject *parent)
    : PortalShortcut(QDBusConnection::sessionBus(), parent)
{}

PortalShortcut::PortalShortcut(const QDBusConnection &bus, QObject *parent)
    : ShortcutBackend(parent)
    , d(std::make_unique<Private>(Private{bus, {}, {}, 0, 0, {}}))
{
    qDBusRegisterMetaType<PortalShortcutEntry>();
    qDBusRegisterMetaType<PortalShortcutList>();
    d->bus.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                   SLOT(onActivated(QDBusMessage)));
}

PortalShortcut::~PortalShortcut()
{
    closeSession();
}

QString PortalShortcut::triggerText(QKeyCombination keys)
{
    QStringList parts;
    const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
    if (modifiers & Qt::ControlModifier) {
        parts += QStringLiteral("CTRL");
    }
    if (modifiers & Qt::AltModifier) {
        parts += QStringLiteral("ALT");
    }
    if (modifiers & Qt::ShiftModifier) {
        parts += QStringLiteral("SHIFT");
    }
    if (modifiers & Qt::MetaModifier) {
        parts += QStringLiteral("LOGO");
    }
    const int key = keys.key();
    QString name;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        name = QChar(u'a' + (key - Qt::Key_A));
    } else if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        name = QChar(u'0' + (key - Qt::Key_0));
    } else if (key >= Qt::Key_F1 && key <= Qt::Key_F35) {
        name = QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    } else {
        static constexpr std::pair<int, const char *> kNames[] = {
            {Qt::Key_Space, "space"},
            {Qt::Key_Return, "Return"},
            {Qt::Key_Tab, "Tab"},
            {Qt::Key_Insert, "Insert"},
            {Qt::Key_Delete, "Delete"},
            {Qt::Key_Home, "Home"},
            {Qt::Key_End, "End"},
            {Qt::Key_PageUp, "Prior"},
            {Qt::Key_PageDown, "Next"},
            {Qt::Key_Left, "Left"},
            {Qt::Key_Right, "Right"},
            {Qt::Key_Up, "Up"},
            {Qt::Key_Down, "Down"},
            {Qt::Key_Comma, "comma"},
            {Qt::Key_Period, "period"},
            {Qt::Key_Slash, "slash"},
            {Qt::Key_Semicolon, "semicolon"},
            {Qt::Key_Minus, "minus"},
            {Qt::Key_Equal, "equal"},
            {Qt::Key_BracketLeft, "bracketleft"},
            {Qt::Key_BracketRight, "bracketright"},
            {Qt::Key_Backslash, "backslash"},
            {Qt::Key_Apostrophe, "apostrophe"},
            {Qt::Key_QuoteLeft, "grave"},
        };
        for (const auto &[qtKey, keysym] : kNames) {
            if (qtKey == key) {
                name = QLatin1StringView(keysym);
            }
        }
    }
    if (name.isEmpty()) {
        return {};
    }
    parts += name;
    return parts.join(QLatin1Char('+'));
}

void PortalShortcut::registerKeys(QKeyCombination keys)
{
    ++d->generation;
    d->preferredTrigger = triggerText(keys);
    if (d->preferredTrigger.isEmpty()) {
        emit failed(Failure::NotMappable);
        return;
    }
    // A session binds its shortcuts once; a new combination needs a new session.
    closeSession();
    const quint64 generation = d->generation;
    QDBusMessage probe = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    probe << kInterface << QStringLiteral("version");
    auto *watcher = new QDBusPendingCallWatcher(d->bus.asyncCall(probe), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                if (generation != d->generation) {
                    return;
                }
                if (call->isError()) {
                    qCInfo(lcPortal).noquote()
                        << "No GlobalShortcuts portal:" << call->error().message();
                    emit failed(Failure::Unavailable);
                    return;
                }
                const QString token = newToken();
                request(QStringLiteral("CreateSession"), {},
                        {{QStringLiteral("session_handle_token"), token}},
                        SLOT(onCreateSessionResponse(uint, QVariantMap)));
            });
}

void PortalShortcut::request(const QString &method, QList<QVariant> arguments, QVariantMap options,
                             const char *slot)
{
    // The portal answers on a request object whose path follows from our bus
    // name and a token; listen there before asking, so no answer is missed.
    const QString token = newToken();
    QString sender = d->bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString requestPath =
        QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    if (!d->pendingRequestPath.isEmpty()) {
        d->bus.disconnect(kService, d->pendingRequestPath, kRequestInterface,
                          QStringLiteral("Response"), this, nullptr);
    }
    d->pendingRequestPath = requestPath;
    d->requestGeneration = d->generation;
    d->bus.connect(kService, requestPath, kRequestInterface, QStringLiteral("Response"), this,
                   slot);

    options[QStringLiteral("handle_token")] = token;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    arguments += options;
    call.setArguments(arguments);
    const quint64 generation = d->generation;
    auto *watcher = new QDBusPendingCallWatcher(d->bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation, method](QDBusPendingCallWatcher *pending) {
                pending->deleteLater();
                if (pending->isError() && generation == d->generation) {
                    qCWarning(lcPortal).noquote()
                        << "The portal refused" << method << pending->error().message();
                    emit failed(Failure::Refused);
                }
            });
}

void PortalShortcut::onCreateSessionResponse(uint response, const QVariantMap &results)
{
    if (d->requestGeneration != d->generation) {
        return;
    }
    const QString session = results.value(QStringLiteral("session_handle")).toString();
    if (response != 0 || session.isEmpty()) {
        emit failed(Failure::Refused);
        return;
    }
    d->sessionPath = session;
    const PortalShortcutList shortcuts{
        {QLatin1StringView(kShortcutId),
         {{QStringLiteral("description"), QStringLiteral("查选中的文字")},
          {QStringLiteral("preferred_trigger"), d->preferredTrigger}}}};
    request(
        QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(session)), QVariant::fromValue(shortcuts), QString()},
        {}, SLOT(onBindResponse(uint, QVariantMap)));
}

void PortalShortcut::onBindResponse(uint response, const QVariantMap &results)
{
    if (d->requestGeneration != d->generation) {
        return;
    }
    if (response != 0) {
        emit failed(Failure::Refused);
        return;
    }
    const auto bound = qdbus_cast<PortalShortcutList>(results.value(QStringLiteral("shortcuts")));
    for (const PortalShortcutEntry &entry : bound) {
        if (entry.id != QLatin1StringView(kShortcutId)) {
            continue;
        }
        const QString trigger =
            entry.properties.value(QStringLiteral("trigger_description")).toString();
        if (trigger.isEmpty()) {
            break; // bound to nothing: the user left it unassigned
        }
        emit registered(trigger);
        return;
    }
    emit failed(Failure::Refused);
}

void PortalShortcut::onActivated(const QDBusMessage &message)
{
    // Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options)
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || d->sessionPath.isEmpty()) {
        return;
    }
    if (arguments.at(0).value<QDBusObjectPath>().path() == d->sessionPath &&
        arguments.at(1).toString() == QLatin1StringView(kShortcutId)) {
        emit activated();
    }
}

void PortalShortcut::unregister()
{
    ++d->generation;
    closeSession();
}

void PortalShortcut::closeSession()
{
    if (d->sessionPath.isEmpty()) {
        return;
    }
    d->bus.asyncCall(QDBusMessage::createMethodCall(kService, d->sessionPath, kSessionInterface,
                                                    QStringLiteral("Close")));
    d->sessionPath.clear();
}

} // namespace wordlumen
