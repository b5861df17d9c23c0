#include "apisettings.h"

#include <QRegularExpression>
#include <QSettings>

namespace wordlumen::ApiSettings {

namespace {

QString storedOrDefault(const char *key, const QString &fallback)
{
    const QVariant value = QSettings().value(QLatin1String(key));
    return value.isValid() ? value.toString() : fallback;
}

void store(const char *key, const QString &text)
{
    QSettings settings;
    if (settings.contains(QLatin1String(key)) &&
        settings.value(QLatin1String(key)).toString() == text)
        return;
    settings.setValue(QLatin1String(key), text);
    emit ApiSettingsNotifier::instance().storedPreferencesChanged();
}

} // namespace

QString defaultEndpoint()
{
    return QStringLiteral("https://api.deepseek.com/chat/completions");
}

QString defaultModel()
{
    return QStringLiteral("deepseek-v4-flash");
}

QString endpointText()
{
    return storedOrDefault(kEndpointKey, defaultEndpoint());
}

QString model()
{
    return storedOrDefault(kModelKey, defaultModel());
}

void setEndpointText(const QString &text)
{
    store(kEndpointKey, text);
}

void setModel(const QString &model)
{
    store(kModelKey, model);
}

std::optional<QUrl> parseEndpoint(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

bool isAcceptableEndpointText(const QString &text)
{
    if (!parseEndpoint(text))
        return false;
    // QUrl lower-cases the scheme, so read it from the text as written.
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    const QRegularExpressionMatch match = scheme.match(text);
    return match.hasMatch() && match.captured(1) == QLatin1String("https");
}

} // namespace wordlumen::ApiSettings
