#pragma once

#include "online/apisettingscontroller.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * What the card's settings face binds to: a fresh save/clear controller for
 * this face (so the key is read anew each time the face opens and old messages
 * are gone) and the face's description in this platform's words.
 */
class SettingsFaceModel : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsFaceModel)
    QML_ELEMENT

    /// The shared save and clear logic, with the settings face's messages.
    Q_PROPERTY(wordlumen::ApiSettingsController *settings READ settings CONSTANT)
    Q_PROPERTY(QString description READ description CONSTANT)
    Q_PROPERTY(QString defaultEndpoint READ defaultEndpoint CONSTANT)
    Q_PROPERTY(QString defaultModel READ defaultModel CONSTANT)

public:
    explicit SettingsFaceModel(QObject *parent = nullptr);
    ~SettingsFaceModel() override;

    [[nodiscard]] ApiSettingsController *settings() const { return m_settings; }
    [[nodiscard]] static QString description();
    [[nodiscard]] static QString defaultEndpoint();
    [[nodiscard]] static QString defaultModel();

private:
    ApiSettingsController *m_settings;
};

} // namespace wordlumen
