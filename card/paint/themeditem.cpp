#include "themeditem.h"

#include "theme.h"

#include <QQuickWindow>

namespace wordlumen {

ThemedItem::ThemedItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(Theme::instance(), &Theme::changed, this, [this] { update(); });
}

ThemedItem::~ThemedItem() = default;

double ThemedItem::devicePixelRatio() const
{
    return window() ? window()->effectiveDevicePixelRatio() : 1.0;
}

} // namespace wordlumen
