#include "apisettings.h"

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

} // namespace wordlumen::ApiSettings
