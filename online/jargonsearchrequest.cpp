#include "jargonsearchrequest.h"

namespace wordlumen {

JargonSearchRequest::JargonSearchRequest(QString sentPassage, QStringList knownNames,
                                         QObject *parent)
    : OnlineTask(parent)
    , m_sentPassage(std::move(sentPassage))
    , m_knownNames(std::move(knownNames))
{}

void JargonSearchRequest::consumeBody(const QByteArray &data)
{
    m_body.append(data);
}

void JargonSearchRequest::completeBody()
{
    auto terms = JargonSearch::decodeReply(m_body, m_sentPassage, m_knownNames);
    m_body.clear();
    if (!terms) {
        fail(terms.error());
        return;
    }
    m_terms = std::move(terms).value();
    finish();
}

} // namespace wordlumen
