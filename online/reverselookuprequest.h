#pragma once

#include "core/reverselookupmatch.h"

#include <QList>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

namespace wordlumen {

/**
 * One reverse lookup, started by DeepSeekClient::reverseLookup(). Emits exactly
 * one of finished() or failed() unless cancelled first. An empty list of
 * matches is an answer, not a failure.
 */
class ReverseLookupRequest final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReverseLookupRequest)

public:
    ~ReverseLookupRequest() override;

    /// Aborts the transfer; no signal is emitted afterwards.
    void cancel();

    [[nodiscard]] bool isActive() const { return m_active; }

signals:
    /// Zero to three cleaned candidates, most likely first.
    void finished(const QList<wordlumen::ReverseLookupMatch> &matches);
    void failed(const QString &message);

private:
    friend struct DeepSeekClient;

    explicit ReverseLookupRequest(QObject *parent);
    void start(QNetworkAccessManager &session, const QNetworkRequest &request,
               const QByteArray &body);
    void failSoon(const QString &message);
    void onFinished();
    void onRedirected(const QUrl &target);
    void succeed(const QList<ReverseLookupMatch> &matches);
    void fail(const QString &message);
    void releaseReply();

    bool m_active = true;
    QPointer<QNetworkReply> m_reply;
};

} // namespace wordlumen
