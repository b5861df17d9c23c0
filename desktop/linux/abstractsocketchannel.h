#pragma once

#include "desktop/instancechannel.h"

namespace wordlumen {

/**
 * The instance channel on Linux: a socket in the abstract namespace, which
 * vanishes with the process that listens on it, so a crash leaves nothing
 * stale. Such a socket has no file permissions; the running instance asks
 * the kernel for each caller's user (SO_PEERCRED) instead.
 */
class AbstractSocketChannel final : public InstanceChannel
{
public:
    void prepareClient(QLocalSocket &socket) const override;
    [[nodiscard]] bool listen(QLocalServer &server, const QString &name) const override;
    [[nodiscard]] bool isFromThisUser(const QLocalSocket &socket) const override;
};

} // namespace wordlumen
