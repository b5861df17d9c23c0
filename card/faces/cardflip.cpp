#include "cardflip.h"

#include <algorithm>
#include <cmath>

namespace wordlumen {

QMatrix4x4 cardFlipTransform(double radians, QSizeF size, double perspective)
{
    const double depth = std::max(size.width(), size.height());
    const float cx = float(size.width() / 2);
    const float cy = float(size.height() / 2);
    QMatrix4x4 rotation;
    rotation.rotate(float(radians * 180.0 / M_PI), 0, 1, 0);
    QMatrix4x4 projection;
    if (depth > 0) {
        // w' = 1 - z·p/d: points turned towards the viewer (z > 0) grow.
        projection(3, 2) = float(-perspective / depth);
    }
    QMatrix4x4 result;
    result.translate(cx, cy);
    result *= projection;
    result *= rotation;
    result.translate(-cx, -cy);
    return result;
}

} // namespace wordlumen
