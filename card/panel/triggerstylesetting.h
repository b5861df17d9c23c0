#pragma once

#include "floatingtriggerstyle.h"

#include <QObject>

namespace wordlumen {

class WatchedFile;

/**
 * The trigger's shape as stored under "floatingTriggerStyle", followed while
 * the program runs: the terminal companion writes the same settings file,
 * and a style it stores shows at once.
 */
class TriggerStyleSetting final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TriggerStyleSetting)

public:
    explicit TriggerStyleSetting(QObject *parent = nullptr);
    ~TriggerStyleSetting() override;

    [[nodiscard]] FloatingTriggerStyle style() const { return m_style; }
    /// Stores the style (also when unchanged, so that it is written down).
    void setStyle(FloatingTriggerStyle style);
    /// Reads the stored style again; runs by itself when another program writes the file.
    void reload();

signals:
    void styleChanged();

private:
    FloatingTriggerStyle m_style = FloatingTriggerStyle::Compact;
    WatchedFile *m_settingsFile = nullptr;
};

} // namespace wordlumen
