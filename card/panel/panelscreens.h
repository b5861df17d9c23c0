#pragma once

#include "floatingwindowplacement.h"

#include <QList>
#include <QObject>

class QScreen;
class QTimer;
class QWindow;

namespace wordlumen {

/**
 * The screens as the panel's placement rules see them (desktop coordinates,
 * see DesktopSpace), which of them holds the panel, and when they change: a
 * screen plugged in or out, resized, or given a taskbar. Screens report
 * their changes one by one; `changed` comes once they have settled.
 */
class PanelScreens final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelScreens)

public:
    explicit PanelScreens(QObject *parent = nullptr);
    ~PanelScreens() override;

    /// The screen with the keyboard focus; the primary one when nothing has it.
    [[nodiscard]] static QScreen *mainScreen();
    /// Every screen in desktop coordinates, in Qt's order.
    [[nodiscard]] static QList<DesktopScreen> screens();
    /**
     * The screen that holds a window with `frame` (desktop coordinates): the
     * one the window system names for `window` when it agrees with the frame,
     * else the one with most of it, else the main screen.
     */
    [[nodiscard]] static DesktopScreen screenFor(const QWindow *window, const DesktopRect &frame);

signals:
    void changed();

private:
    void watch(QScreen *screen);

    QTimer *m_settle = nullptr;
};

} // namespace wordlumen
