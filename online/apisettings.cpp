#include "apisettings.h"

#include "core/settingsschema.h"

#include <QSettings>

namespace wordlumen::ApiSettings {

namespace {

void store(const SettingSpec &spec, const QString &text)
{
    QSettings settings;
    if (settings.contains(spec.key) && settings.value(spec.key).toString() == text)
        return;
    settings.setValue(spec.key, text);
    emit ApiSettingsNotifier::instance().storedPreferencesChanged();
}

} // namespace

QString defaultEndpoint()
{
    return SettingsSchema::deepseekEndpoint().defaultValue.toString();
}

QString defaultModel()
{
    return SettingsSchema::deepseekModel().defaultValue.toString();
}

QString endpointText()
{
    return SettingsSchema::deepseekEndpoint().stored(QSettings()).toString();
}

QString model()
{
    return SettingsSchema::deepseekModel().stored(QSettings()).toString();
}

void setEndpointText(const QString &text)
{
    store(SettingsSchema::deepseekEndpoint(), text);
}

void setModel(const QString &model)
{
    store(SettingsSchema::deepseekModel(), model);
}

} // namespace wordlumen::ApiSettings
