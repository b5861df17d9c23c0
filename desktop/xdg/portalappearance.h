#pragma once

#include "desktop/appearance.h"

#include <optional>

class QDBusVariant;

namespace wordlumen {

/**
 * The desktop's appearance as the XDG settings portal reports it: the
 * preferred colour scheme and, on GNOME, whether animations are enabled. Both
 * are read asynchronously at start and followed afterwards. Where the portal
 * states no preference (or there is no portal) the answer is `fallback`'s.
 */
class PortalAppearance final : public Appearance
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortalAppearance)

public:
    /// Takes `fallback` over as its child.
    explicit PortalAppearance(Appearance *fallback, QObject *parent = nullptr);
    ~PortalAppearance() override;

    [[nodiscard]] bool prefersDark() const override;
    [[nodiscard]] bool reducesMotion() const override;

private slots:
    void settingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void read(const QString &group, const QString &key);
    void apply(const QString &group, const QString &key, const QVariant &value);

    Appearance *m_fallback;
    /// True for "prefer dark", false for "prefer light", none for no preference.
    std::optional<bool> m_prefersDark;
    bool m_animationsDisabled = false;
};

} // namespace wordlumen
