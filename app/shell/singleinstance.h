#pragma once

#include "launchrequest.h"

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

namespace wordlumen {

class InstanceChannel;

/**
 * Keeps Wordlumen to one process per user session. The first process listens
 * on a local socket; a later launch finds it, hands it its request (show the
 * card, look something up, …) and ends. Where the socket lives, what a crash
 * leaves behind and how a caller's user is told is the channel's business;
 * the running instance only listens to processes of its own user.
 */
class SingleInstance final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    /// A request is one line; anything longer is not one of ours and is dropped.
    static constexpr qsizetype kMaximumRequestBytes = 256 * 1024;

    /// `key` names the socket; it is scoped to the user's runtime directory.
    SingleInstance(const QString &key, std::unique_ptr<InstanceChannel> channel,
                   QObject *parent = nullptr);
    ~SingleInstance() override;

    /**
     * Hands `request` to a running instance; true when one took it. Needs no
     * application object, so a launch that only passes a request on never
     * connects to the display.
     */
    [[nodiscard]] bool deliver(const LaunchRequest &request) const;

    /**
     * Becomes the running instance, or, when another one answers, hands it
     * `request` and returns false (the caller then exits).
     */
    [[nodiscard]] bool claim(const LaunchRequest &request = {});

    [[nodiscard]] QString socketName() const { return m_name; }

signals:
    /// Another launch asked the running instance for something.
    void requestReceived(const wordlumen::LaunchRequest &request);

private:
    void accept(QLocalSocket *socket);

    std::unique_ptr<InstanceChannel> m_channel;
    QString m_name;
    QLocalServer *m_server = nullptr;
};

} // namespace wordlumen
