#pragma once

#include "jargonsearch.h"
#include "onlinetask.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace wordlumen {

/**
 * One search for the jargon of a passage, started by
 * DeepSeekClient::findJargon(). The whole reply is read, then finished() with
 * terms() or failed(). No term found is an answer, not a failure.
 */
class JargonSearchRequest final : public OnlineTask
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JargonSearchRequest)

public:
    ~JargonSearchRequest() override = default;

    /// After finished(): up to eight terms, in the order the service named them.
    [[nodiscard]] const QList<FoundJargon> &terms() const { return m_terms; }

private:
    friend struct DeepSeekClient;

    JargonSearchRequest(QString sentPassage, QStringList knownNames, QObject *parent);

    void consumeBody(const QByteArray &data) override;
    void completeBody() override;

    QString m_sentPassage;
    QStringList m_knownNames;
    QByteArray m_body;
    QList<FoundJargon> m_terms;
};

} // namespace wordlumen
