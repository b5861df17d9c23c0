#pragma once

#include "core/reverselookupmatch.h"
#include "online/jargonsearch.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>

#include <utility>

class QTcpSocket;

namespace wordlumen::testing {

/// One request as the server received it.
struct RecordedRequest
{
    QByteArray method;
    /// The request target, e.g. "/chat/completions".
    QByteArray path;
    /// In the order received, names as sent.
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;

    /// The value of a header, matched case-insensitively; empty when absent.
    [[nodiscard]] QByteArray header(const QByteArray &name) const;
    [[nodiscard]] bool hasHeader(const QByteArray &name) const;
    /// The body parsed as a JSON object (empty when it is not one).
    [[nodiscard]] QJsonObject json() const;
};

/// A "data:" line (without terminator) whose first choice's delta carries `content`.
[[nodiscard]] QByteArray pieceLine(const QString &content);
/// A non-streamed reply whose first choice's message carries `content`.
[[nodiscard]] QByteArray chatReply(const QString &content);
/// A reverse-lookup reply: chatReply() of the JSON object that names `matches`.
[[nodiscard]] QByteArray matchesReply(const QList<ReverseLookupMatch> &matches);

/// A jargon-search reply: chatReply() of the JSON object that names `terms`.
[[nodiscard]] QByteArray jargonReply(const QList<FoundJargon> &terms);

/// Bytes of a response body written in one go, after a pause.
struct ResponseChunk
{
    QByteArray data;
    int delayMs = 0;
};

/// What the server answers to one request.
struct ScriptedResponse
{
    enum class Framing
    {
        Chunked,        ///< Transfer-Encoding: chunked, one HTTP chunk per ResponseChunk
        ContentLength,  ///< the whole length announced up front
        CloseDelimited, ///< no length; the body ends when the server closes
    };

    int status = 200;
    QList<std::pair<QByteArray, QByteArray>> headers;
    Framing framing = Framing::Chunked;
    QList<ResponseChunk> chunks;
    /// Keep the response open after the last chunk (for sendChunk()/endResponse()).
    bool holdOpen = false;

    /// A server-sent-event body: each line with "\n" as its own chunk, `delayMs` apart.
    static ScriptedResponse eventStream(const QList<QByteArray> &lines, int delayMs = 0);
    /// A whole JSON (or any) body with a Content-Length.
    static ScriptedResponse json(const QByteArray &body, int status = 200);
    /// Adds one more chunk.
    ScriptedResponse &then(const QByteArray &data, int delayMs = 0);
};

/**
 * A chat-completions server on 127.0.0.1 for tests: answers each request with
 * the next scripted response (500 when none is left), records every request,
 * and always closes the connection after a response.
 */
class FakeChatServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeChatServer)

public:
    explicit FakeChatServer(QObject *parent = nullptr);
    ~FakeChatServer() override;

    /// Starts listening on an ephemeral port of 127.0.0.1.
    [[nodiscard]] bool listen();
    [[nodiscard]] quint16 port() const;
    /// http://127.0.0.1:<port><path>
    [[nodiscard]] QUrl url(const QString &path = QStringLiteral("/chat/completions")) const;

    void enqueue(const ScriptedResponse &response);
    [[nodiscard]] const QList<RecordedRequest> &requests() const { return m_requests; }
    /// Waits until at least `count` requests have arrived.
    [[nodiscard]] bool waitForRequests(int count, int timeoutMs = 5000);

    /// Writes more of the response that is being held open.
    void sendChunk(const QByteArray &data);
    /// Ends the response being held open and closes its connection.
    void endResponse();

    /// Connections that the client closed before their response was complete.
    [[nodiscard]] int abandonedResponses() const { return m_abandoned; }
    [[nodiscard]] bool waitForAbandonedResponses(int count, int timeoutMs = 5000);

signals:
    void requestReceived();
    /// After each chunk of a body went out.
    void chunkWritten();
    void responseAbandoned();

private:
    struct Connection
    {
        QByteArray input;
        bool requestComplete = false;
        bool responseComplete = false;
        ScriptedResponse response;
        qsizetype nextChunk = 0;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void respond(QTcpSocket *socket);
    void writeNextChunk(QTcpSocket *socket);
    void writeBodyBytes(QTcpSocket *socket, const QByteArray &data);
    void finishResponse(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QTcpSocket *, Connection> m_connections;
    QList<ScriptedResponse> m_queue;
    QList<RecordedRequest> m_requests;
    QPointer<QTcpSocket> m_held;
    int m_abandoned = 0;
};

} // namespace wordlumen::testing
