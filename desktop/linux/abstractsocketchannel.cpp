#include "abstractsocketchannel.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

namespace wordlumen {

void AbstractSocketChannel::prepareClient(QLocalSocket &socket) const
{
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
}

bool AbstractSocketChannel::listen(QLocalServer &server, const QString &name) const
{
    server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    return server.listen(name);
}

bool AbstractSocketChannel::isFromThisUser(const QLocalSocket &socket) const
{
    ucred peer{};
    socklen_t length = sizeof(peer);
    if (getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) {
        return false;
    }
    return peer.uid == getuid();
}

} // namespace wordlumen
