#include "onlinetask.h"

#include "endpointrule.h"
#include "onlinelog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace wordlumen {

OnlineTask::OnlineTask(QObject *parent)
    : QObject(parent)
{}

OnlineTask::~OnlineTask()
{
    end(State::Cancelled);
}

void OnlineTask::start(QNetworkAccessManager &session, const QNetworkRequest &request,
                       const QByteArray &body)
{
    qCDebug(lcOnline) << "posting to" << request.url().host();
    m_reply = session.post(request, body);
    connect(m_reply, &QNetworkReply::readyRead, this, &OnlineTask::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &OnlineTask::onFinished);
    connect(m_reply, &QNetworkReply::redirected, this, &OnlineTask::onRedirected);
}

void OnlineTask::failSoon(const DeepSeekError &error)
{
    QTimer::singleShot(0, this, [this, error] {
        if (m_state == State::Open)
            fail(error);
    });
}

void OnlineTask::cancel()
{
    if (m_state == State::Open)
        end(State::Cancelled);
}

void OnlineTask::finish()
{
    if (m_state != State::Open)
        return;
    // Whatever the server sends after the end is never read.
    end(State::Finished);
    emit finished();
}

void OnlineTask::fail(const DeepSeekError &error)
{
    if (m_state != State::Open)
        return;
    end(State::Failed);
    emit failed(error);
}

void OnlineTask::onReadyRead()
{
    if (m_state != State::Open || !acceptResponseHead())
        return;
    (void)readBody();
}

void OnlineTask::onFinished()
{
    if (m_state != State::Open)
        return;
    const QNetworkReply::NetworkError error = m_reply->error();
    // Our own abort never gets here: the reply is disconnected first. So a
    // cancelled operation can only be the transfer timeout.
    const DeepSeekError transportError = DeepSeekError::transport(
        error == QNetworkReply::OperationCanceledError ? QNetworkReply::TimeoutError : error);
    const bool hasStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    if (error != QNetworkReply::NoError && !hasStatus) {
        fail(transportError);
        return;
    }
    if (!acceptResponseHead() || !readBody())
        return;
    if (error != QNetworkReply::NoError) {
        fail(transportError);
        return;
    }
    completeBody();
}

void OnlineTask::onRedirected(const QUrl &target)
{
    if (m_state != State::Open)
        return;
    // The bearer token goes along, so it must not be led anywhere the
    // endpoint itself could not be.
    if (const std::optional<DeepSeekError> refused = EndpointRule::refusal(target)) {
        fail(*refused);
        return;
    }
    emit m_reply->redirectAllowed();
}

bool OnlineTask::acceptResponseHead()
{
    if (m_headAccepted)
        return true;
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        fail(DeepSeekError::invalidResponse());
        return false;
    }
    const int code = status.toInt();
    if (code < 200 || code > 299) {
        // The body is never read: a server's own error text is not shown. Qt
        // still reports the status as an error of its own after this point, so
        // the reply is dropped rather than aborted.
        qCInfo(lcOnline) << "request answered with status" << code;
        end(State::Failed, false);
        emit failed(DeepSeekError::httpStatus(code));
        return false;
    }
    m_headAccepted = true;
    const QPointer<OnlineTask> self(this);
    emit started();
    return self && m_state == State::Open;
}

bool OnlineTask::readBody()
{
    if (!m_reply->isOpen())
        return true;
    const QByteArray data = m_reply->readAll();
    if (data.isEmpty())
        return true;
    // The subclass reports to consumers, which may cancel or even delete us.
    const QPointer<OnlineTask> self(this);
    consumeBody(data);
    return self && m_state == State::Open;
}

void OnlineTask::end(State state, bool abort)
{
    m_state = state;
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
