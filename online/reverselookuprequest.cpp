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
    const ChatProtocol::ChatResponseContent response = ChatProtocol::decodeChatResponse(m_body);
    m_body.clear();
    if (response.error) {
        fail(DeepSeekError::decoding(*response.error));
        return;
    }
    if (!response.content) {
        fail(DeepSeekError::invalidResponse());
        return;
    }
    const std::optional<QByteArray> json = DeepSeekClient::extractJSONObject(*response.content);
    const auto matches = json ? ChatProtocol::decodeMatches(*json) : std::nullopt;
    if (!matches) {
        fail(DeepSeekError::invalidResponse());
        return;
    }
    m_matches = ChatProtocol::cleanedMatches(*matches);
    finish();
}

} // namespace wordlumen
