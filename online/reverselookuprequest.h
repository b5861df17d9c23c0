#pragma once

#include "core/reverselookupmatch.h"
#include "onlinetask.h"

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

private:
    friend struct DeepSeekClient;

    explicit ReverseLookupRequest(QObject *parent);

    void consumeBody(const QByteArray &data) override;
    void completeBody() override;

    QByteArray m_body;
    QList<ReverseLookupMatch> m_matches;
};

} // namespace wordlumen
