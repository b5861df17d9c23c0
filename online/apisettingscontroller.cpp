#include "apisettingscontroller.h"

#include "apisettings.h"
#include "core/textmetrics.h"
#include "desktop/platformwords.h"
#include "endpointrule.h"
#include "keychainstore.h"

namespace wordlumen {

namespace {

QString savedMessage(ApiSettingsController::Screen screen, bool hasKey)
{
    switch (screen) {
    case ApiSettingsController::Screen::SettingsFace:
        return hasKey ? QStringLiteral("已保存，可以解释词典外的新词。")
                      : QStringLiteral("已保存；当前只用本地词典。");
    case ApiSettingsController::Screen::ControlCenter:
        return hasKey ? QStringLiteral("API 设置已保存。")
                      : QStringLiteral("已保存，本地词库优先。");
    }
    return {};
}

} // namespace

ApiSettingsController::ApiSettingsController(Screen screen, SecretStore *store, QObject *parent)
    : QObject(parent)
    , m_screen(screen)
    , m_store(store ? store : &SecretStore::system())
    , m_apiKey(KeychainStore::readAPIKey(*m_store))
    , m_endpoint(ApiSettings::endpointText())
    , m_model(ApiSettings::model())
{
    // The other screen edits the same stored values; follow its edits.
    connect(&ApiSettingsNotifier::instance(), &ApiSettingsNotifier::storedPreferencesChanged, this,
            [this] { reloadStoredPreferences(); });
}

void ApiSettingsController::setScreen(Screen screen)
{
    if (m_screen == screen)
        return;
    m_screen = screen;
    emit screenChanged();
}

void ApiSettingsController::setApiKey(const QString &key)
{
    if (m_apiKey == key)
        return;
    m_apiKey = key;
    emit apiKeyChanged();
}

void ApiSettingsController::setEndpoint(const QString &text)
{
    if (m_endpoint == text)
        return;
    m_endpoint = text;
    ApiSettings::setEndpointText(text);
    emit endpointChanged();
}

void ApiSettingsController::setModel(const QString &model)
{
    if (m_model == model)
        return;
    m_model = model;
    ApiSettings::setModel(model);
    emit modelChanged();
}

void ApiSettingsController::save()
{
    // The stored value is what the next request will use, so that is what is checked.
    if (const auto refused = EndpointRule::saveRefusal(ApiSettings::endpointText())) {
        showResult(false, refused->message());
        return;
    }
    const auto saved = KeychainStore::saveAPIKey(*m_store, m_apiKey);
    if (!saved) {
        showResult(false, saved.error().message());
        return;
    }
    showResult(true, savedMessage(m_screen, !TextMetrics::trimmed(m_apiKey).isEmpty()));
    ApiSettingsNotifier::instance().post();
}

void ApiSettingsController::clear()
{
    setApiKey(QString());
    KeychainStore::deleteAPIKey(*m_store);
    showResult(true, QStringLiteral("API Key 已从") + PlatformWords::secretStore() +
                         QStringLiteral("删除。"));
    ApiSettingsNotifier::instance().post();
}

void ApiSettingsController::showResult(bool success, const QString &message)
{
    if (m_didSave != success) {
        m_didSave = success;
        emit didSaveChanged();
    }
    if (m_statusMessage != message) {
        m_statusMessage = message;
        emit statusMessageChanged();
    }
}

void ApiSettingsController::reloadStoredPreferences()
{
    const QString endpoint = ApiSettings::endpointText();
    if (endpoint != m_endpoint) {
        m_endpoint = endpoint;
        emit endpointChanged();
    }
    const QString model = ApiSettings::model();
    if (model != m_model) {
        m_model = model;
        emit modelChanged();
    }
}

} // namespace wordlumen
