#include "singleinstance.h"

#include "desktop/instancechannel.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTimer>

namespace wordlumen {

Q_LOGGING_CATEGORY(lcInstance, "wordlumen.app.instance")

namespace {

constexpr int kConnectTimeoutMs = 500;
/// A launch that connected but says nothing is let go after this long.
constexpr int kSilentClientMs = 2000;

} // namespace

SingleInstance::SingleInstance(const QString &key, std::unique_ptr<InstanceChannel> channel,
                               QObject *parent)
    : QObject(parent)
    , m_channel(std::move(channel))
{
    // One instance per user session: the runtime directory tells sessions apart
    // (and keeps a test's temporary session away from the user's own app).
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QByteArray scope =
        QCryptographicHash::hash(runtime.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    m_name = key + QLatin1Char('-') + QString::fromLatin1(scope);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::deliver(const LaunchRequest &request) const
{
    QLocalSocket socket;
    m_channel->prepareClient(socket);
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    const QByteArray line = request.encode();
    if (socket.write(line) != line.size()) {
        return false;
    }
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kConnectTimeoutMs)) {
            return false;
        }
    }
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::claim(const LaunchRequest &request)
{
    if (deliver(request)) {
        return false;
    }
    m_server = new QLocalServer(this);
    if (!m_channel->listen(*m_server, m_name)) {
        // Someone else won a race for the name; they are the running instance.
        return !deliver(request);
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            accept(socket);
        }
    });
    return true;
}

void SingleInstance::accept(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (!m_channel->isFromThisUser(*socket)) {
        qCWarning(lcInstance) << "Ignoring a connection from another user";
        socket->abort();
        socket->deleteLater();
        return;
    }
    // Each launch sends one line; it may arrive in pieces.
    auto readLine = [this, socket] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > kMaximumRequestBytes) {
                qCWarning(lcInstance) << "Dropping an overlong request";
                socket->abort();
            }
            return;
        }
        const QByteArray line = socket->readLine(kMaximumRequestBytes);
        socket->disconnectFromServer();
        if (const auto request = LaunchRequest::decode(line)) {
            emit requestReceived(*request);
        } else {
            qCWarning(lcInstance) << "Ignoring a request that is not one";
        }
    };
    connect(socket, &QLocalSocket::readyRead, this, readLine);
    // A launch that disconnected right after writing may have nothing left to signal.
    readLine();
    QTimer::singleShot(kSilentClientMs, socket, [socket] { socket->abort(); });
}

} // namespace wordlumen
