#pragma once

#include "desktop/instancechannel.h"

namespace wordlumen {

/**
 * The instance channel with nothing but Qt: a named local socket readable by
 * this user only (a socket file on Unix, a named pipe on Windows). A socket
 * file outlives a crash, so a name that is in use is taken over only when
 * nobody answers on it; a running instance keeps its socket.
 */
class LocalSocketChannel final : public InstanceChannel
{
public:
    void prepareClient(QLocalSocket &socket) const override;
    [[nodiscard]] bool listen(QLocalServer &server, const QString &name) const override;
    /// The socket's permissions already keep other users out.
    [[nodiscard]] bool isFromThisUser(const QLocalSocket &socket) const override;
};

} // namespace wordlumen
