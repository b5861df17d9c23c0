#pragma once

#include <QObject>
#include <QString>

namespace wordlumen {

class SecretStore;

/**
 * The save and clear actions of the API settings, shared by the card's
 * settings face and the control center, each with its own success messages.
 *
 * The endpoint and model are stored on every write, as typed; only the key
 * waits for save(). The key field starts with the stored key and is not
 * refreshed when another screen changes it.
 */
class ApiSettingsController final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ApiSettingsController)
    Q_PROPERTY(Screen screen READ screen WRITE setScreen NOTIFY screenChanged)
    Q_PROPERTY(QString apiKey READ apiKey WRITE setApiKey NOTIFY apiKeyChanged)
    Q_PROPERTY(QString endpoint READ endpoint WRITE setEndpoint NOTIFY endpointChanged)
    Q_PROPERTY(QString model READ model WRITE setModel NOTIFY modelChanged)
    /// The last save or clear message; empty until the first one.
    Q_PROPERTY(QString statusMessage READ statusMessage NOTIFY statusMessageChanged)
    Q_PROPERTY(bool hasStatusMessage READ hasStatusMessage NOTIFY statusMessageChanged)
    /// Whether the last action succeeded: the success or the failure look of the message.
    Q_PROPERTY(bool didSave READ didSave NOTIFY didSaveChanged)

public:
    enum class Screen
    {
        SettingsFace,  ///< the card's settings face
        ControlCenter, ///< the API page of the control center
    };
    Q_ENUM(Screen)

    /// `store` defaults to the system keyring and must outlive the controller.
    explicit ApiSettingsController(Screen screen, SecretStore *store = nullptr,
                                   QObject *parent = nullptr);

    [[nodiscard]] Screen screen() const { return m_screen; }
    void setScreen(Screen screen);

    [[nodiscard]] QString apiKey() const { return m_apiKey; }
    void setApiKey(const QString &key);

    [[nodiscard]] QString endpoint() const { return m_endpoint; }
    /// Stores the text at once, as typed.
    void setEndpoint(const QString &text);

    [[nodiscard]] QString model() const { return m_model; }
    /// Stores the text at once, as typed.
    void setModel(const QString &model);

    [[nodiscard]] QString statusMessage() const { return m_statusMessage; }
    [[nodiscard]] bool hasStatusMessage() const { return !m_statusMessage.isEmpty(); }
    [[nodiscard]] bool didSave() const { return m_didSave; }

    /**
     * Checks the stored endpoint (EndpointRule::saveRefusal: what requests may
     * use, with the scheme written in lower case), then saves the key field;
     * an empty field removes the stored key.
     * Announces the change only on success; a failing endpoint leaves the
     * keyring untouched.
     */
    Q_INVOKABLE void save();

    /// Empties the key field, removes the stored key and announces the change.
    Q_INVOKABLE void clear();

signals:
    void screenChanged();
    void apiKeyChanged();
    void endpointChanged();
    void modelChanged();
    void statusMessageChanged();
    void didSaveChanged();

private:
    void showResult(bool success, const QString &message);
    void reloadStoredPreferences();

    Screen m_screen;
    SecretStore *m_store;
    QString m_apiKey;
    QString m_endpoint;
    QString m_model;
    QString m_statusMessage;
    bool m_didSave = false;
};

} // namespace wordlumen
