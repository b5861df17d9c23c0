#include "reverselookuprequest.h"

#include "chatprotocol.h"
#include "deepseekclient.h"

namespace wordlumen {

ReverseLookupRequest::ReverseLookupRequest(QObject *parent)
    : OnlineTask(parent)
{}

void ReverseLookupRequest::consumeBody(const QByteArray &data)
{
    m_body.append(data);
}

void ReverseLookupRequest::completeBody()
{
    auto matches = decodeReply(m_body);
    m_body.clear();
    if (!matches) {
        fail(matches.error());
        return;
    }
    m_matches = std::move(matches).value();
    finish();
}

Result<QList<ReverseLookupMatch>, DeepSeekError>
ReverseLookupRequest::decodeReply(const QByteArray &body)
{
    const ChatProtocol::ChatResponseContent response = ChatProtocol::decodeChatResponse(body);
    if (response.error)
        return DeepSeekError::decoding(*response.error);
    if (!response.content)
        return DeepSeekError::invalidResponse();
    const std::optional<QByteArray> json = DeepSeekClient::extractJSONObject(*response.content);
    const auto matches = json ? ChatProtocol::decodeMatches(*json) : std::nullopt;
    if (!matches)
        return DeepSeekError::invalidResponse();
    return ChatProtocol::cleanedMatches(*matches);
}

} // namespace wordlumen
