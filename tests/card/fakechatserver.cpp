#include "fakechatserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

FakeChatServer::FakeChatServer(QObject *parent)
    : QTcpServer(parent)
{
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

QUrl FakeChatServer::endpoint() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/chat/completions").arg(serverPort()));
}

void FakeChatServer::setStream(QList<QString> pieces, bool hold)
{
    m_pieces = std::move(pieces);
    m_hold = hold;
}

void FakeChatServer::setCandidates(QList<QStringList> candidates)
{
    m_candidates = std::move(candidates);
}

namespace {

QByteArray pieceLine(const QString &piece)
{
    const QJsonObject delta{{u"content"_qs, piece}};
    const QJsonObject choice{{u"delta"_qs, delta}, {u"index"_qs, 0}};
    const QJsonObject chunk{{u"choices"_qs, QJsonArray{choice}}};
    return "data: " + QJsonDocument(chunk).toJson(QJsonDocument::Compact) + "\n\n";
}

} // namespace

void FakeChatServer::push(const QString &piece)
{
    for (const auto &socket : std::as_const(m_held)) {
        if (socket) {
            socket->write(pieceLine(piece));
            socket->flush();
        }
    }
}

void FakeChatServer::finish()
{
    for (const auto &socket : std::as_const(m_held)) {
        if (socket) {
            socket->write("data: [DONE]\n\n");
            socket->disconnectFromHost();
        }
    }
    m_held.clear();
}

void FakeChatServer::serve(QTcpSocket *socket)
{
    // Wait for the whole request: headers, then Content-Length bytes of body.
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    const qsizetype headerEnd = request.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        return;
    }
    qsizetype length = 0;
    for (const QByteArray &line : request.left(headerEnd).split('\n')) {
        if (line.toLower().startsWith("content-length:")) {
            length = line.mid(15).trimmed().toLongLong();
        }
    }
    if (request.size() < headerEnd + 4 + length) {
        return;
    }
    ++m_requests;
    respond(socket, request.mid(headerEnd + 4, length));
}

void FakeChatServer::respond(QTcpSocket *socket, const QByteArray &body)
{
    const bool stream = QJsonDocument::fromJson(body).object().value(u"stream").toBool();
    if (stream) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\n"
                      "Cache-Control: no-cache\r\nConnection: close\r\n\r\n");
        for (const QString &piece : m_pieces) {
            const QJsonObject delta{{u"content"_qs, piece}};
            const QJsonObject choice{{u"delta"_qs, delta}, {u"index"_qs, 0}};
            const QJsonObject chunk{{u"choices"_qs, QJsonArray{choice}}};
            socket->write("data: " + QJsonDocument(chunk).toJson(QJsonDocument::Compact) + "\n\n");
        }
        if (m_hold) {
            m_held.append(socket);
            socket->flush();
            return;
        }
        socket->write("data: [DONE]\n\n");
        socket->disconnectFromHost();
        return;
    }
    QJsonArray matches;
    for (const QStringList &candidate : m_candidates) {
        matches.append(QJsonObject{{u"term"_qs, candidate.value(0)},
                                   {u"english"_qs, candidate.value(1)},
                                   {u"reason"_qs, candidate.value(2)},
                                   {u"confidence"_qs, u"high"_qs}});
    }
    const QByteArray content =
        QJsonDocument(QJsonObject{{u"matches"_qs, matches}}).toJson(QJsonDocument::Compact);
    const QJsonObject message{{u"role"_qs, u"assistant"_qs},
                              {u"content"_qs, QString::fromUtf8(content)}};
    const QJsonObject reply{
        {u"choices"_qs, QJsonArray{QJsonObject{{u"message"_qs, message}, {u"index"_qs, 0}}}}};
    const QByteArray json = QJsonDocument(reply).toJson(QJsonDocument::Compact);
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                  QByteArray::number(json.size()) + "\r\nConnection: close\r\n\r\n" + json);
    socket->disconnectFromHost();
}
