#pragma once

#include <QObject>

namespace wordlumen {

/**
 * The process-wide signal that the API settings or the key changed, posted
 * after a save or a clear succeeded. Observers read what they need afresh.
 */
class ApiSettingsNotifier final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ApiSettingsNotifier)

public:
    static ApiSettingsNotifier &instance();

    /// Emits apiSettingsDidChange() on the calling (main) thread.
    void post();

signals:
    /// After the key was saved or cleared; no payload.
    void apiSettingsDidChange();

    /**
     * After the stored endpoint or model was edited. Fields bound to those keys
     * on other screens refresh on it; it does not mean the settings were saved.
     */
    void storedPreferencesChanged();

private:
    ApiSettingsNotifier() = default;
};

} // namespace wordlumen
