#include "triggerstylesetting.h"

#include "core/settingsschema.h"
#include "core/watchedfile.h"

#include <QSettings>

#include <chrono>

namespace wordlumen {

namespace {

// Writers of the settings file replace it in a few steps; the style is read
// once they have settled.
constexpr std::chrono::milliseconds kSettingsSettle{100};

FloatingTriggerStyle storedStyle()
{
    return floatingTriggerStyleFromString(
        SettingsSchema::floatingTriggerStyle().stored(QSettings()).toString());
}

} // namespace

TriggerStyleSetting::TriggerStyleSetting(QObject *parent)
    : QObject(parent)
    , m_style(storedStyle())
{
    // The folder is made now if need be: the first writer may be another program.
    m_settingsFile = new WatchedFile(QSettings().fileName(), kSettingsSettle,
                                     WatchedFile::MissingFolder::Create, this);
    connect(m_settingsFile, &WatchedFile::changed, this, &TriggerStyleSetting::reload);
}

TriggerStyleSetting::~TriggerStyleSetting() = default;

void TriggerStyleSetting::setStyle(FloatingTriggerStyle style)
{
    QSettings().setValue(SettingsSchema::floatingTriggerStyle().key, toString(style));
    if (style == m_style) {
        return;
    }
    m_style = style;
    emit styleChanged();
}

void TriggerStyleSetting::reload()
{
    const FloatingTriggerStyle stored = storedStyle();
    if (stored == m_style) {
        return;
    }
    m_style = stored;
    emit styleChanged();
}

} // namespace wordlumen
