#include "settingsfacemodel.h"

#include "desktop/platformwords.h"
#include "online/apisettings.h"
#include "online/apisettingscontroller.h"

namespace wordlumen {

SettingsFaceModel::SettingsFaceModel(QObject *parent)
    : QObject(parent)
    , m_settings(
          new ApiSettingsController(ApiSettingsController::Screen::SettingsFace, nullptr, this))
{}

SettingsFaceModel::~SettingsFaceModel() = default;

QString SettingsFaceModel::description()
{
    return PlatformWords::localized(
        QStringLiteral("本地词典查不到时，再交给在线 API。默认是 DeepSeek，也可填写兼容接口；"
                       "Key 只保存在这台 Mac 的钥匙串里。"));
}

QString SettingsFaceModel::defaultEndpoint()
{
    return ApiSettings::defaultEndpoint();
}

QString SettingsFaceModel::defaultModel()
{
    return ApiSettings::defaultModel();
}

} // namespace wordlumen
