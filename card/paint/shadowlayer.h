#pragma once

#include <QMarginsF>
#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <span>

namespace wordlumen {

/// One soft black shadow under a shape: how dark, how soft, how far it drops.
struct ShadowLayer
{
    Q_GADGET
    QML_VALUE_TYPE(shadowLayer)
    Q_PROPERTY(double opacity MEMBER opacity CONSTANT)
    /// Blur radius in points, as SoftShadow takes it.
    Q_PROPERTY(double blur MEMBER blur CONSTANT)
    /// Downward offset in points.
    Q_PROPERTY(double drop MEMBER drop CONSTANT)

public:
    double opacity = 0;
    double blur = 0;
    double drop = 0;

    /**
     * How far beyond the edge of the shape the blurred shadow is still seen:
     * where a straight edge's shadow falls under one grey level of eight bits.
     */
    [[nodiscard]] double visibleReach() const;

    bool operator==(const ShadowLayer &) const = default;
};

/// The open card's shadows: a wide soft one, then a small contact one.
[[nodiscard]] std::span<const ShadowLayer, 2> cardShadowLayers(bool dark);

/// Room around a shape for every visible pixel of its shadows, at least `minimum` on each side.
[[nodiscard]] QMarginsF shadowRoom(std::span<const ShadowLayer> layers, double minimum = 0);

} // namespace wordlumen
