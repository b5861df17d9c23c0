#include "singleinstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace wordlumen {

namespace {

constexpr int kConnectTimeoutMs = 500;
const QByteArray kReopen = QByteArrayLiteral("reopen\n");

} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
{
    // One instance per user session: the runtime directory tells sessions apart
    // (and keeps a test's temporary session away from the user's own app).
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QByteArray scope =
        QCryptographicHash::hash(runtime.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    m_name = key + QLatin1Char('-') + QString::fromLatin1(scope);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::notifyRunning() const
{
    QLocalSocket socket;
#ifdef Q_OS_LINUX
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
#endif
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    socket.write(kReopen);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::claim()
{
    if (notifyRunning()) {
        return false;
    }
    m_server = new QLocalServer(this);
#ifdef Q_OS_LINUX
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
#else
    QLocalServer::removeServer(m_name); // a socket file left by a crash
#endif
    if (!m_server->listen(m_name)) {
        // Someone else won a race for the name; they are the running instance.
        return !notifyRunning();
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("reopen")) {
                    emit reopenRequested();
                }
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

} // namespace wordlumen
