#include "historysettings.h"

#include "core/settingsschema.h"

#include <QSettings>

#include <algorithm>

namespace wordlumen::HistorySettings {

namespace {

const SettingSpec &switchSpec()
{
    return SettingsSchema::historyEnabled();
}

const SettingSpec &limitSpec()
{
    return SettingsSchema::historyLimit();
}

} // namespace

bool enabled()
{
    // Settings files keep booleans as text; `config historyEnabled false` stores text too.
    return switchSpec().storedText(QSettings()) == u"true";
}

int limit()
{
    bool ok = false;
    const int stored = QSettings().value(limitSpec().key).toInt(&ok);
    return ok ? clampedLimit(stored) : defaultLimit();
}

void setEnabled(bool enabled)
{
    QSettings().setValue(switchSpec().key, enabled);
}

void setLimit(int limit)
{
    QSettings().setValue(limitSpec().key, clampedLimit(limit));
}

bool defaultEnabled()
{
    return switchSpec().defaultValue.toBool();
}

int defaultLimit()
{
    return limitSpec().defaultValue.toInt();
}

int minimumLimit()
{
    return int(limitSpec().minimum);
}

int maximumLimit()
{
    return int(limitSpec().maximum);
}

int clampedLimit(int limit)
{
    return std::clamp(limit, minimumLimit(), maximumLimit());
}

} // namespace wordlumen::HistorySettings
