#include "historysettings.h"

#include <QSettings>

#include <algorithm>

namespace wordlumen::HistorySettings {

bool enabled()
{
    const QVariant stored = QSettings().value(QLatin1StringView(kEnabledKey));
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    // Settings files keep booleans as text; `config historyEnabled false` stores text too.
    const QString text = stored.toString().trimmed().toLower();
    if (text == u"true")
        return true;
    if (text == u"false")
        return false;
    return kDefaultEnabled;
}

int limit()
{
    bool ok = false;
    const int stored = QSettings().value(QLatin1StringView(kLimitKey)).toInt(&ok);
    return ok ? clampedLimit(stored) : kDefaultLimit;
}

void setEnabled(bool enabled)
{
    QSettings().setValue(QLatin1StringView(kEnabledKey), enabled);
}

void setLimit(int limit)
{
    QSettings().setValue(QLatin1StringView(kLimitKey), clampedLimit(limit));
}

int clampedLimit(int limit)
{
    return std::clamp(limit, kMinimumLimit, kMaximumLimit);
}

} // namespace wordlumen::HistorySettings
