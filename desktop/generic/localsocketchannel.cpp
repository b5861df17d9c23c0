#include "localsocketchannel.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace wordlumen {

namespace {

// Long enough for a live instance, however busy, to accept a connection.
constexpr int kProbeMilliseconds = 500;

bool someoneAnswers(const QString &name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool answered = probe.waitForConnected(kProbeMilliseconds);
    probe.abort();
    return answered;
}

} // namespace

void LocalSocketChannel::prepareClient(QLocalSocket &) const
{}

bool LocalSocketChannel::listen(QLocalServer &server, const QString &name) const
{
    // With access options Qt makes the socket in a folder of its own and
    // renames it into place, which would take the name from a live instance:
    // whoever answers keeps it.
    if (someoneAnswers(name)) {
        return false;
    }
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (server.listen(name)) {
        return true;
    }
    if (server.serverError() != QAbstractSocket::AddressInUseError) {
        return false;
    }
    // Nobody answered: a file left behind by a crash. Only now may it go.
    QLocalServer::removeServer(name);
    return server.listen(name);
}

bool LocalSocketChannel::isFromThisUser(const QLocalSocket &) const
{
    return true;
}

} // namespace wordlumen
