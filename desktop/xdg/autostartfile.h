#pragma once

#include "desktop/loginitem.h"

#include <QByteArray>
#include <QString>

namespace wordlumen {

/**
 * Start at login on freedesktop.org desktops: the XDG autostart entry that
 * starts `wordlumen --background`. Whether it is on is read from the file
 * itself, so it stays on across a reinstall and reads as off when the
 * desktop's own startup settings turned the entry off (Hidden=true).
 */
class AutostartFile final : public LoginItem
{
public:
    /// `path` is the entry's file, normally defaultPath().
    explicit AutostartFile(QString path);

    /// `~/.config/autostart/com.zintaro.Wordlumen.desktop` (XDG_CONFIG_HOME respected).
    [[nodiscard]] static QString defaultPath();
    /// The entry as this program writes it.
    [[nodiscard]] static QByteArray entryText();

    [[nodiscard]] bool isAvailable() const override { return true; }
    [[nodiscard]] bool isEnabled() const override;
    [[nodiscard]] QString setEnabled(bool enabled) override;
    [[nodiscard]] QString location() const override { return m_path; }

private:
    QString m_path;
};

} // namespace wordlumen
