#include "fakechatserver.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace wordlumen::testing {

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 307:
        return "Temporary Redirect";
    case 401:
        return "Unauthorized";
    case 402:
        return "Payment Required";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace

QByteArray pieceLine(const QString &content)
{
    const QJsonObject delta{{QStringLiteral("content"), content}};
    const QJsonObject chunk{
        {QStringLiteral("choices"), QJsonArray{QJsonObject{{QStringLiteral("delta"), delta}}}}};
    return "data: " + QJsonDocument(chunk).toJson(QJsonDocument::Compact);
}

QByteArray chatReply(const QString &content)
{
    const QJsonObject message{{QStringLiteral("role"), QStringLiteral("assistant")},
                              {QStringLiteral("content"), content}};
    return QJsonDocument(
               QJsonObject{{QStringLiteral("choices"),
                            QJsonArray{QJsonObject{{QStringLiteral("message"), message}}}}})
        .toJson(QJsonDocument::Compact);
}

QByteArray matchesReply(const QList<ReverseLookupMatch> &matches)
{
    QJsonArray array;
    for (const ReverseLookupMatch &match : matches)
        array.append(match.toJson());
    return chatReply(
        QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("matches"), array}})
                              .toJson(QJsonDocument::Compact)));
}

QByteArray jargonReply(const QList<FoundJargon> &terms)
{
    QJsonArray array;
    for (const FoundJargon &found : terms)
        array.append(QJsonObject{{QStringLiteral("term"), found.term},
                                 {QStringLiteral("explanation"), found.explanation}});
    return chatReply(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("terms"), array}})
                                           .toJson(QJsonDocument::Compact)));
}

QByteArray RecordedRequest::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

bool RecordedRequest::hasHeader(const QByteArray &name) const
{
    for (const auto &header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QJsonObject RecordedRequest::json() const
{
    return QJsonDocument::fromJson(body).object();
}

ScriptedResponse ScriptedResponse::eventStream(const QList<QByteArray> &lines, int delayMs)
{
    ScriptedResponse response;
    response.headers = {{"Content-Type", "text/event-stream; charset=utf-8"},
                        {"Cache-Control", "no-cache"}};
    for (const QByteArray &line : lines)
        response.then(line + '\n', delayMs);
    return response;
}

ScriptedResponse ScriptedResponse::json(const QByteArray &body, int status)
{
    ScriptedResponse response;
    response.status = status;
    response.headers = {{"Content-Type", "application/json"}};
    response.framing = Framing::ContentLength;
    response.then(body);
    return response;
}

ScriptedResponse &ScriptedResponse::then(const QByteArray &data, int delayMs)
{
    chunks.append({data, delayMs});
    return *this;
}

FakeChatServer::FakeChatServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &FakeChatServer::onNewConnection);
}

FakeChatServer::~FakeChatServer()
{
    const auto sockets = m_connections.keys();
    for (QTcpSocket *socket : sockets) {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
}

bool FakeChatServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

quint16 FakeChatServer::port() const
{
    return m_server.serverPort();
}

QUrl FakeChatServer::url(const QString &path) const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port());
    url.setPath(path);
    return url;
}

void FakeChatServer::enqueue(const ScriptedResponse &response)
{
    m_queue.append(response);
}

bool FakeChatServer::waitForRequests(int count, int timeoutMs)
{
    return waitFor([&] { return m_requests.size() >= count; }, timeoutMs);
}

bool FakeChatServer::waitForAbandonedResponses(int count, int timeoutMs)
{
    return waitFor([&] { return m_abandoned >= count; }, timeoutMs);
}

void FakeChatServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(nullptr);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_connections.insert(socket, Connection{});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            const auto it = m_connections.find(socket);
            if (it == m_connections.end())
                return;
            const bool abandoned = it->requestComplete && !it->responseComplete;
            m_connections.erase(it);
            socket->deleteLater();
            if (abandoned) {
                ++m_abandoned;
                emit responseAbandoned();
            }
        });
    }
}

void FakeChatServer::onReadyRead(QTcpSocket *socket)
{
    Connection &connection = m_connections[socket];
    connection.input.append(socket->readAll());
    if (connection.requestComplete)
        return;

    const qsizetype headEnd = connection.input.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    const QList<QByteArray> headLines = connection.input.left(headEnd).split('\n');
    RecordedRequest request;
    const QList<QByteArray> requestLine = headLines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    qsizetype contentLength = 0;
    for (qsizetype i = 1; i < headLines.size(); ++i) {
        const QByteArray line = headLines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed();
        const QByteArray value = line.mid(colon + 1).trimmed();
        request.headers.append({name, value});
        if (name.compare("content-length", Qt::CaseInsensitive) == 0)
            contentLength = value.toLongLong();
    }
    const qsizetype bodyStart = headEnd + 4;
    if (connection.input.size() - bodyStart < contentLength)
        return;
    request.body = connection.input.mid(bodyStart, contentLength);
    connection.requestComplete = true;
    connection.response =
        m_queue.isEmpty() ? ScriptedResponse::json("{}", 500) : m_queue.takeFirst();
    m_requests.append(request);
    emit requestReceived();
    respond(socket);
}

void FakeChatServer::respond(QTcpSocket *socket)
{
    const ScriptedResponse &response = m_connections[socket].response;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                      reasonPhrase(response.status) + "\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    switch (response.framing) {
    case ScriptedResponse::Framing::Chunked:
        head += "Transfer-Encoding: chunked\r\n";
        break;
    case ScriptedResponse::Framing::ContentLength: {
        qsizetype length = 0;
        for (const ResponseChunk &chunk : response.chunks)
            length += chunk.data.size();
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
        break;
    }
    case ScriptedResponse::Framing::CloseDelimited:
        break;
    }
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    socket->flush();
    writeNextChunk(socket);
}

void FakeChatServer::writeNextChunk(QTcpSocket *socket)
{
    const auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    Connection &connection = *it;
    if (connection.nextChunk >= connection.response.chunks.size()) {
        if (connection.response.holdOpen)
            m_held = socket;
        else
            finishResponse(socket);
        return;
    }
    const ResponseChunk chunk = connection.response.chunks.at(connection.nextChunk++);
    auto write = [this, socket, data = chunk.data] {
        if (!m_connections.contains(socket))
            return;
        writeBodyBytes(socket, data);
        writeNextChunk(socket);
    };
    if (chunk.delayMs > 0)
        QTimer::singleShot(chunk.delayMs, socket, write);
    else
        write();
}

void FakeChatServer::writeBodyBytes(QTcpSocket *socket, const QByteArray &data)
{
    if (m_connections[socket].response.framing == ScriptedResponse::Framing::Chunked)
        socket->write(QByteArray::number(data.size(), 16) + "\r\n" + data + "\r\n");
    else
        socket->write(data);
    socket->flush();
    emit chunkWritten();
}

void FakeChatServer::sendChunk(const QByteArray &data)
{
    if (m_held && m_connections.contains(m_held))
        writeBodyBytes(m_held, data);
}

void FakeChatServer::endResponse()
{
    if (m_held && m_connections.contains(m_held))
        finishResponse(m_held);
    m_held = nullptr;
}

void FakeChatServer::finishResponse(QTcpSocket *socket)
{
    Connection &connection = m_connections[socket];
    if (connection.response.framing == ScriptedResponse::Framing::Chunked)
        socket->write("0\r\n\r\n");
    connection.responseComplete = true;
    socket->flush();
    socket->disconnectFromHost();
}

} // namespace wordlumen::testing
