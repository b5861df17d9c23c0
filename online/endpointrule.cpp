#include "endpointrule.h"

#include <QHostAddress>

namespace wordlumen::EndpointRule {

namespace {

bool isThisMachine(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

std::optional<DeepSeekError> refusal(const QUrl &endpoint)
{
    if (!endpoint.isValid() || endpoint.host().isEmpty())
        return DeepSeekError::invalidEndpoint();
    const QString scheme = endpoint.scheme();
    if (scheme == QLatin1String("https"))
        return std::nullopt;
    if (scheme != QLatin1String("http"))
        return DeepSeekError::invalidEndpoint();
    if (!isThisMachine(endpoint.host()))
        return DeepSeekError::insecureEndpoint();
    return std::nullopt;
}

Result<QUrl, DeepSeekError> parse(const QString &text)
{
    if (text.isEmpty())
        return DeepSeekError::invalidEndpoint();
    const QUrl url(text, QUrl::StrictMode);
    if (const std::optional<DeepSeekError> refused = refusal(url))
        return *refused;
    return url;
}

std::optional<DeepSeekError> saveRefusal(const QString &text)
{
    const Result<QUrl, DeepSeekError> url = parse(text);
    if (!url)
        return url.error();
    // parse() accepted it, so the text starts with the scheme and its colon.
    const QStringView written = QStringView(text).left(url->scheme().size());
    if (written != url->scheme())
        return DeepSeekError::invalidEndpoint();
    return std::nullopt;
}

} // namespace wordlumen::EndpointRule
