#include "reverselookuprequest.h"

#include "chatprotocol.h"
#include "deepseekclient.h"
#include "deepseekerror.h"
#include "onlinelog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace wordlumen {

ReverseLookupRequest::ReverseLookupRequest(QObject *parent)
    : QObject(parent)
{}

ReverseLookupRequest::~ReverseLookupRequest()
{
    releaseReply();
}

void ReverseLookupRequest::start(QNetworkAccessManager &session, const QNetworkRequest &request,
                                 const QByteArray &body)
{
    qCDebug(lcOnline) << "reverse lookup at" << request.url().host();
    m_reply = session.post(request, body);
    connect(m_reply, &QNetworkReply::finished, this, &ReverseLookupRequest::onFinished);
    connect(m_reply, &QNetworkReply::redirected, this, &ReverseLookupRequest::onRedirected);
}

void ReverseLookupRequest::failSoon(const QString &message)
{
    QTimer::singleShot(0, this, [this, message] {
        if (m_active)
            fail(message);
    });
}

void ReverseLookupRequest::cancel()
{
    m_active = false;
    releaseReply();
}

void ReverseLookupRequest::onRedirected(const QUrl &target)
{
    if (!m_active)
        return;
    if (!ChatProtocol::isPermittedEndpoint(target)) {
        fail(DeepSeekError::invalidEndpoint().message());
        return;
    }
    emit m_reply->redirectAllowed();
}

void ReverseLookupRequest::onFinished()
{
    if (!m_active)
        return;
    const QNetworkReply::NetworkError error = m_reply->error();
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        if (error == QNetworkReply::NoError)
            fail(DeepSeekError::invalidResponse().message());
        else
            fail(ChatProtocol::transportFailureMessage(
                error, m_reply->errorString(), error == QNetworkReply::OperationCanceledError));
        return;
    }
    const int code = status.toInt();
    if (code < 200 || code > 299) {
        qCInfo(lcOnline) << "reverse lookup answered with status" << code;
        fail(DeepSeekError::httpStatus(code).message());
        return;
    }
    if (error != QNetworkReply::NoError) {
        fail(ChatProtocol::transportFailureMessage(error, m_reply->errorString(),
                                                   error == QNetworkReply::OperationCanceledError));
        return;
    }

    const ChatProtocol::ChatResponseContent response =
        ChatProtocol::decodeChatResponse(m_reply->readAll());
    if (response.error) {
        fail(response.error->message());
        return;
    }
    if (!response.content) {
        fail(DeepSeekError::invalidResponse().message());
        return;
    }
    const std::optional<QByteArray> json = DeepSeekClient::extractJSONObject(*response.content);
    const auto matches = json ? ChatProtocol::decodeMatches(*json) : std::nullopt;
    if (!matches) {
        fail(DeepSeekError::invalidResponse().message());
        return;
    }
    succeed(ChatProtocol::cleanedMatches(*matches));
}

void ReverseLookupRequest::succeed(const QList<ReverseLookupMatch> &matches)
{
    m_active = false;
    releaseReply();
    emit finished(matches);
}

void ReverseLookupRequest::fail(const QString &message)
{
    m_active = false;
    releaseReply();
    emit failed(message);
}

void ReverseLookupRequest::releaseReply()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();
}

} // namespace wordlumen
