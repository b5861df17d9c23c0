#include "apisettingsnotifier.h"

namespace wordlumen {

ApiSettingsNotifier &ApiSettingsNotifier::instance()
{
    static ApiSettingsNotifier notifier;
    return notifier;
}

void ApiSettingsNotifier::post()
{
    emit apiSettingsDidChange();
}

} // namespace wordlumen
