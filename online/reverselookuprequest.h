#pragma once

#include "core/result.h"
#include "core/reverselookupmatch.h"
#include "deepseekerror.h"
#include "onlinetask.h"

#include <QByteArray>
#include <QList>

namespace wordlumen {

/**
 * One reverse lookup, started by DeepSeekClient::reverseLookup(). The whole
 * reply is read, then finished() with matches() or failed(). An empty list of
 * matches is an answer, not a failure.
 */
class ReverseLookupRequest final : public OnlineTask
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReverseLookupRequest)

public:
    ~ReverseLookupRequest() override = default;

    /// After finished(): zero to three cleaned candidates, most likely first.
    [[nodiscard]] const QList<ReverseLookupMatch> &matches() const { return m_matches; }

    /**
     * What a whole reply body means: the cleaned candidates of the JSON object
     * in the first choice's message, `Decoding` when the body has not the
     * protocol's shape and `InvalidResponse` when the message holds no usable
     * object of matches.
     */
    [[nodiscard]] static Result<QList<ReverseLookupMatch>, DeepSeekError>
    decodeReply(const QByteArray &body);

private:
    friend struct DeepSeekClient;

    explicit ReverseLookupRequest(QObject *parent);

    void consumeBody(const QByteArray &data) override;
    void completeBody() override;

    QByteArray m_body;
    QList<ReverseLookupMatch> m_matches;
};

} // namespace wordlumen
