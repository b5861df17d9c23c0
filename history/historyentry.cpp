#include "historyentry.h"

#include <QUrl>

namespace wordlumen {

AnswerSource AnswerSource::pack(const QString &packName)
{
    return {packName, {}, {}, {}};
}

AnswerSource AnswerSource::dictionary()
{
    return {QStringLiteral("本地词典"), {}, {}, {}};
}

AnswerSource AnswerSource::online(const QString &endpoint, const QString &model,
                                  const QString &style)
{
    return {{}, endpointWithoutCredentials(endpoint), model, style};
}

AnswerSource AnswerSource::withoutCredentials() const
{
    AnswerSource source = *this;
    source.endpoint = endpointWithoutCredentials(endpoint);
    return source;
}

QString AnswerSource::endpointWithoutCredentials(const QString &endpoint)
{
    if (endpoint.isEmpty())
        return {};
    const QUrl url(endpoint.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return {};
    return url.toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
}

QString AnswerSource::displayText() const
{
    if (!name.isEmpty())
        return name;
    QStringList parts;
    const QString host = QUrl(endpoint).host();
    for (const QString &part : {host, model, style}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(QStringLiteral(" · "));
}

} // namespace wordlumen
