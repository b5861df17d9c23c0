#include "shadowlayer.h"

#include <array>
#include <cmath>

namespace wordlumen {

namespace {

constexpr std::array<ShadowLayer, 2> kLightCard{{{0.115, 18, 10}, {0.045, 3, 2}}};
constexpr std::array<ShadowLayer, 2> kDarkCard{{{0.38, 25, 10}, {0.22, 3, 2}}};

} // namespace

double ShadowLayer::visibleReach() const
{
    // A blurred straight edge: opacity · ½ erfc(d / (σ√2)), with σ half the
    // blur radius (SoftShadow's Gaussian).
    const double sigma = blur / 2;
    const double faintest = 1.0 / 255;
    if (opacity <= faintest || sigma <= 0) {
        return 0;
    }
    double reach = 0;
    while (opacity * 0.5 * std::erfc(reach / (sigma * std::sqrt(2.0))) >= faintest) {
        reach += 1;
    }
    return reach;
}

std::span<const ShadowLayer, 2> cardShadowLayers(bool dark)
{
    return dark ? kDarkCard : kLightCard;
}

QMarginsF shadowRoom(std::span<const ShadowLayer> layers, double minimum)
{
    QMarginsF room(minimum, minimum, minimum, minimum);
    for (const ShadowLayer &layer : layers) {
        const double reach = layer.visibleReach();
        room.setLeft(std::max(room.left(), reach));
        room.setRight(std::max(room.right(), reach));
        room.setTop(std::max(room.top(), reach - layer.drop));
        room.setBottom(std::max(room.bottom(), reach + layer.drop));
    }
    return room;
}

} // namespace wordlumen
