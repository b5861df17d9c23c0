#include "explanationstream.h"

#include "deepseekerror.h"
#include "onlinelog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace wordlumen {

ExplanationStream::ExplanationStream(QObject *parent)
    : QObject(parent)
{}

ExplanationStream::~ExplanationStream()
{
    releaseReply();
}

void ExplanationStream::start(QNetworkAccessManager &session, const QNetworkRequest &request,
                              const QByteArray &body)
{
    qCDebug(lcOnline) << "streaming explanation from" << request.url().host();
    m_reply = session.post(request, body);
    connect(m_reply, &QNetworkReply::readyRead, this, &ExplanationStream::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &ExplanationStream::onFinished);
    connect(m_reply, &QNetworkReply::redirected, this, &ExplanationStream::onRedirected);
}

void ExplanationStream::failSoon(const QString &message)
{
    QTimer::singleShot(0, this, [this, message] {
        if (m_state == State::Open)
            fail(message);
    });
}

void ExplanationStream::cancel()
{
    if (m_state != State::Open)
        return;
    m_state = State::Cancelled;
    releaseReply();
}

void ExplanationStream::onReadyRead()
{
    if (m_state != State::Open || !acceptResponseHead())
        return;
    m_lines.append(m_reply->readAll());
    drainLines();
}

void ExplanationStream::onFinished()
{
    if (m_state != State::Open)
        return;
    const QNetworkReply::NetworkError error = m_reply->error();
    const bool hasStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    if (error != QNetworkReply::NoError && !hasStatus) {
        // Our own abort never gets here (it disconnects first), so a cancelled
        // operation can only be the transfer timeout.
        fail(ChatProtocol::transportFailureMessage(error, m_reply->errorString(),
                                                   error == QNetworkReply::OperationCanceledError));
        return;
    }
    if (!acceptResponseHead())
        return;

    QPointer<ExplanationStream> self(this);
    if (m_reply->isOpen())
        m_lines.append(m_reply->readAll());
    drainLines();
    if (!self || m_state != State::Open)
        return;
    // The last line of a body need not end with a terminator.
    if (const std::optional<QByteArray> rest = m_lines.takeRemainder()) {
        if (!handleLine(*rest) || !self || m_state != State::Open)
            return;
    }
    if (error != QNetworkReply::NoError) {
        fail(ChatProtocol::transportFailureMessage(error, m_reply->errorString(),
                                                   error == QNetworkReply::OperationCanceledError));
        return;
    }
    finishNormally();
}

void ExplanationStream::onRedirected(const QUrl &target)
{
    if (m_state != State::Open)
        return;
    if (!ChatProtocol::isPermittedEndpoint(target)) {
        fail(DeepSeekError::invalidEndpoint().message());
        return;
    }
    emit m_reply->redirectAllowed();
}

bool ExplanationStream::acceptResponseHead()
{
    if (m_headAccepted)
        return true;
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        fail(DeepSeekError::invalidResponse().message());
        return false;
    }
    const int code = status.toInt();
    if (code < 200 || code > 299) {
        // The body is never read: a server's own error text is not shown. Qt
        // still reports the status as an error of its own after this point, so
        // the reply is dropped rather than aborted, which would report twice.
        qCInfo(lcOnline) << "explanation request answered with status" << code;
        fail(DeepSeekError::httpStatus(code).message(), false);
        return false;
    }
    m_headAccepted = true;
    return true;
}

void ExplanationStream::drainLines()
{
    QPointer<ExplanationStream> self(this);
    while (m_state == State::Open) {
        const std::optional<QByteArray> line = m_lines.nextLine();
        if (!line)
            return;
        if (!handleLine(*line) || !self)
            return;
    }
}

bool ExplanationStream::handleLine(const QByteArray &line)
{
    const ChatProtocol::StreamLine parsed = ChatProtocol::parseStreamLine(line);
    switch (parsed.kind) {
    case ChatProtocol::StreamLine::Kind::Ignored:
        return true;
    case ChatProtocol::StreamLine::Kind::Done:
        finishNormally();
        return false;
    case ChatProtocol::StreamLine::Kind::Invalid:
        fail(parsed.error->message());
        return false;
    case ChatProtocol::StreamLine::Kind::Piece: {
        QPointer<ExplanationStream> self(this);
        emit pieceReceived(parsed.piece);
        // The consumer may have cancelled, or even deleted the stream.
        return self && m_state == State::Open;
    }
    }
    return false;
}

void ExplanationStream::finishNormally()
{
    m_state = State::Finished;
    // Whatever follows "[DONE]" is never read.
    releaseReply();
    emit finished();
}

void ExplanationStream::fail(const QString &message, bool abort)
{
    m_state = State::Failed;
    releaseReply(abort);
    emit failed(message);
}

void ExplanationStream::releaseReply(bool abort)
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    if (abort && reply->isRunning())
        reply->abort();
    // Deleting a reply also ends its transfer.
    reply->deleteLater();
}

} // namespace wordlumen
