#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * "登录时启动": the XDG autostart entry that starts `wordlumen --background`
 * when the user logs in. Whether it is on is read from the file itself, never
 * stored elsewhere, so it stays true across a reinstall and follows a desktop
 * whose own startup settings turned the entry off (Hidden=true).
 */
class AutostartEntry final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AutostartEntry)
    QML_ELEMENT
    QML_UNCREATABLE("The application makes the autostart entry.")

    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled NOTIFY enabledChanged)
    /// Why the last change failed; empty after a change that worked.
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)

public:
    /// `path` is the entry's file, normally defaultPath().
    explicit AutostartEntry(QString path, QObject *parent = nullptr);
    ~AutostartEntry() override;

    /// `~/.config/autostart/com.zintaro.Wordlumen.desktop` (XDG_CONFIG_HOME respected).
    [[nodiscard]] static QString defaultPath();
    /// The entry as this program writes it.
    [[nodiscard]] static QByteArray entryText();

    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] bool isEnabled() const { return m_enabled; }
    /// Writes the entry, or removes it; on failure the state stays and errorMessage says why.
    void setEnabled(bool enabled);
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }

    /// Reads the file again (the desktop's own settings may have changed it).
    Q_INVOKABLE void refresh();

signals:
    void enabledChanged();
    void errorMessageChanged();

private:
    void setState(bool enabled);
    void setErrorMessage(const QString &message);

    QString m_path;
    bool m_enabled = false;
    QString m_errorMessage;
};

} // namespace wordlumen
