#include "desktopspace.h"

#include <QGuiApplication>
#include <QScreen>

namespace wordlumen {

DesktopSpace DesktopSpace::current()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary) {
        return DesktopSpace(0);
    }
    const QRect g = primary->geometry();
    return DesktopSpace(double(g.y()) + g.height());
}

DesktopScreen DesktopSpace::fromQt(const QScreen *screen) const
{
    return {fromQt(QRectF(screen->geometry())), fromQt(QRectF(screen->availableGeometry()))};
}

} // namespace wordlumen
