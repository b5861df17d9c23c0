#pragma once

#include <QObject>

#include <optional>

class QDBusVariant;

namespace wordlumen {

/**
 * The desktop's appearance settings as the XDG settings portal reports them:
 * the preferred colour scheme and, on GNOME, whether animations are enabled.
 * Both are read asynchronously at start and followed afterwards; without a
 * portal they stay unknown and the theme falls back to the palette.
 */
class DesktopAppearance final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopAppearance)

public:
    explicit DesktopAppearance(QObject *parent = nullptr);
    ~DesktopAppearance() override;

    /// True for "prefer dark", false for "prefer light", none for no preference.
    [[nodiscard]] std::optional<bool> prefersDark() const { return m_prefersDark; }
    /// True when the desktop turned animations off.
    [[nodiscard]] bool animationsDisabled() const { return m_animationsDisabled; }

signals:
    void changed();

private slots:
    void settingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void read(const QString &group, const QString &key);
    void apply(const QString &group, const QString &key, const QVariant &value);

    std::optional<bool> m_prefersDark;
    bool m_animationsDisabled = false;
};

} // namespace wordlumen
