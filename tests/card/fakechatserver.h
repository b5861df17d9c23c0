#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

/**
 * A chat-completions service on 127.0.0.1 for the card's tests and
 * screenshots. Streamed requests get the configured pieces and, unless told
 * to hold the connection open, "[DONE]"; plain requests (reverse lookups) get
 * the configured candidates.
 */
class FakeChatServer : public QTcpServer
{
    Q_OBJECT

public:
    explicit FakeChatServer(QObject *parent = nullptr);

    [[nodiscard]] QUrl endpoint() const;

    /// Streamed replies send these pieces; with `hold` the stream never ends.
    void setStream(QList<QString> pieces, bool hold);
    /// Reverse-lookup replies offer these candidates as {term, english, reason}.
    void setCandidates(QList<QStringList> candidates);
    [[nodiscard]] int requestCount() const { return m_requests; }
    /// Sends one more piece on every held stream.
    void push(const QString &piece);
    /// Ends every held stream with "[DONE]".
    void finish();

private:
    void serve(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const QByteArray &body);

    QList<QString> m_pieces;
    bool m_hold = false;
    QList<QStringList> m_candidates;
    int m_requests = 0;
    QList<QPointer<QTcpSocket>> m_held;
};
