#pragma once

#include "deepseekerror.h"

#include <QByteArray>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>

class QNetworkAccessManager;
class QNetworkReply;

namespace wordlumen {

/**
 * One request to the chat service, from the post to its one outcome. Owns the
 * reply and holds the rules every request shares: a redirect goes only where
 * the endpoint rule allows, any 2xx status is accepted and any other fails
 * without the body being read, a stalled transfer is a timeout, and the
 * transport's failures become DeepSeekError.
 *
 * Reports started() once the service accepted the request, then what the
 * subclass makes of the body, then exactly one of finished() or failed(),
 * unless cancelled first. Every report comes from the event loop, never from
 * within the call that created the task, so connecting afterwards is safe.
 * Deleting the task cancels it.
 */
class OnlineTask : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OnlineTask)

public:
    ~OnlineTask() override;

    /**
     * Ends the transfer; nothing is reported afterwards. Safe at any time,
     * repeatedly, and from within a handler of this task's own signals.
     */
    void cancel();

    /// True until finished, failed or cancelled.
    [[nodiscard]] bool isActive() const { return m_state == State::Open; }

signals:
    /// The service answered with a 2xx status; the body follows.
    void started();
    void finished();
    void failed(const wordlumen::DeepSeekError &error);

protected:
    explicit OnlineTask(QObject *parent);

    /// Body bytes as they arrive, after started(). May end the task.
    virtual void consumeBody(const QByteArray &data) = 0;
    /// The whole body arrived intact; must end the task with finish() or fail().
    virtual void completeBody() = 0;

    void finish();
    void fail(const DeepSeekError &error);

private:
    friend struct DeepSeekClient;

    enum class State
    {
        Open,
        Finished,
        Failed,
        Cancelled,
    };

    void start(QNetworkAccessManager &session, const QNetworkRequest &request,
               const QByteArray &body);
    /// Fails from the event loop, so the caller can connect first.
    void failSoon(const DeepSeekError &error);

    void onReadyRead();
    void onFinished();
    void onRedirected(const QUrl &target);
    /// Checks the status once, before the first byte of the body is read;
    /// false when the task ended (also by a started() handler).
    [[nodiscard]] bool acceptResponseHead();
    /// Hands what the reply holds to the subclass; false when the task ended.
    [[nodiscard]] bool readBody();
    void end(State state, bool abort = true);

    State m_state = State::Open;
    bool m_headAccepted = false;
    QPointer<QNetworkReply> m_reply;
};

} // namespace wordlumen
