#pragma once

#include "chatprotocol.h"

#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

namespace wordlumen {

/**
 * One streamed explanation, started by DeepSeekClient::explain(). Pieces are
 * emitted as their lines arrive on the socket; then exactly one of finished()
 * or failed() follows, unless the consumer cancels first.
 *
 * A body that ends without "[DONE]" still finishes normally. Cancelling is
 * never a failure; a transfer that times out is.
 */
class ExplanationStream final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExplanationStream)

public:
    ~ExplanationStream() override;

    /**
     * Aborts the transfer. No signal is emitted afterwards. Safe at any time,
     * also from a pieceReceived() handler that has read enough, and repeatedly.
     */
    void cancel();

    /// True until finished, failed or cancelled.
    [[nodiscard]] bool isActive() const { return m_state == State::Open; }

signals:
    /// A non-empty piece of the answer; the pieces in order are the answer.
    void pieceReceived(const QString &piece);
    void finished();
    /// The message to show: a DeepSeekError's, or the transport's or decoder's own.
    void failed(const QString &message);

private:
    friend struct DeepSeekClient;

    enum class State
    {
        Open,
        Finished,
        Failed,
        Cancelled,
    };

    explicit ExplanationStream(QObject *parent);
    void start(QNetworkAccessManager &session, const QNetworkRequest &request,
               const QByteArray &body);
    /// Fails from the event loop, so the caller can connect first.
    void failSoon(const QString &message);

    void onReadyRead();
    void onFinished();
    void onRedirected(const QUrl &target);
    /// Checks the status once, before the first byte of the body is read.
    [[nodiscard]] bool acceptResponseHead();
    /// Handles complete lines until one ends the stream or none is left.
    void drainLines();
    /// Handles one line; false when the stream ended or this object is gone.
    [[nodiscard]] bool handleLine(const QByteArray &line);
    void finishNormally();
    void fail(const QString &message, bool abort = true);
    void releaseReply(bool abort = true);

    State m_state = State::Open;
    bool m_headAccepted = false;
    QPointer<QNetworkReply> m_reply;
    ChatProtocol::LineSplitter m_lines;
};

} // namespace wordlumen
