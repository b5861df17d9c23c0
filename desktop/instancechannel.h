#pragma once

#include <QString>

class QLocalServer;
class QLocalSocket;

namespace wordlumen {

/**
 * How the one running instance and later launches of the same user meet: a
 * local socket of a given name. The system decides where such a name lives,
 * whether a crash can leave it behind, and how the running instance tells
 * that a caller is of its own user.
 */
class InstanceChannel
{
public:
    InstanceChannel() = default;
    virtual ~InstanceChannel() = default;
    InstanceChannel(const InstanceChannel &) = delete;
    InstanceChannel &operator=(const InstanceChannel &) = delete;

    /// Prepares a socket that connects to `name`.
    virtual void prepareClient(QLocalSocket &socket) const = 0;
    /**
     * Listens on `name`. Only a name that nobody answers on may be taken over:
     * a file left by a crashed instance is removed, a live instance's never.
     */
    [[nodiscard]] virtual bool listen(QLocalServer &server, const QString &name) const = 0;
    /// Whether the process at the other end of an accepted socket runs as this user.
    [[nodiscard]] virtual bool isFromThisUser(const QLocalSocket &socket) const = 0;
};

} // namespace wordlumen
