#include "cardshapes.h"

#include <algorithm>
#include <cmath>

namespace wordlumen::CardShapes {

QList<GrainDot> grainDots(QSizeF area)
{
    QList<GrainDot> dots;
    const int columns = int(std::floor(area.width() / kGrainCell)) + 1;
    const int rows = int(std::floor(area.height() / kGrainCell)) + 1;
    dots.reserve(columns * rows / 4 + 1);
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const int seed = 71 * j + 149 * i + 3 * i * j;
            const int r = seed % 101;
            if (r >= 24) {
                continue;
            }
            const double x = kGrainCell * i + kGrainCell * ((7 * r) % 9) / 9.0;
            const double y = kGrainCell * j + kGrainCell * ((11 * r) % 7) / 7.0;
            dots.append({{x, y}, r % 5 == 0 ? 0.7 : 0.45});
        }
    }
    return dots;
}

FoldMetrics foldMetrics(QSizeF size, double cornerRadius, double foldSize)
{
    const double r = std::min(cornerRadius, 0.5 * std::min(size.width(), size.height()));
    return {r, std::min(foldSize, size.width() - r)};
}

QPainterPath continuousRoundedRect(const QRectF &rect, double radius)
{
    // Cubic corners whose handles start a little before the circular tangent
    // point give the softer, squircle-like shoulder of continuous corners.
    const double r = std::min(radius, 0.5 * std::min(rect.width(), rect.height()));
    const double e = r * 1.28; // where the curve leaves the straight edge
    const double k = r * 0.33; // handle length towards the corner
    const double ex = std::min(e, rect.width() / 2);
    const double ey = std::min(e, rect.height() / 2);
    const double l = rect.left();
    const double t = rect.top();
    const double rr = rect.right();
    const double b = rect.bottom();
    QPainterPath path;
    path.moveTo(l + ex, t);
    path.lineTo(rr - ex, t);
    path.cubicTo(rr - k, t, rr, t + k, rr, t + ey);
    path.lineTo(rr, b - ey);
    path.cubicTo(rr, b - k, rr - k, b, rr - ex, b);
    path.lineTo(l + ex, b);
    path.cubicTo(l + k, b, l, b - k, l, b - ey);
    path.lineTo(l, t + ey);
    path.cubicTo(l, t + k, l + k, t, l + ex, t);
    path.closeSubpath();
    return path;
}

QPainterPath foldedCardPath(const QRectF &rect, double cornerRadius, double foldSize)
{
    if (foldSize <= 0) {
        return continuousRoundedRect(rect, cornerRadius);
    }
    const auto [r, f] = foldMetrics(rect.size(), cornerRadius, foldSize);
    const double minX = rect.left();
    const double minY = rect.top();
    const double maxX = rect.right();
    const double maxY = rect.bottom();
    QPainterPath path;
    path.moveTo(minX + r, minY);
    path.lineTo(maxX - f, minY);
    path.lineTo(maxX, minY + f);
    path.lineTo(maxX, maxY - r);
    path.quadTo(maxX, maxY, maxX - r, maxY);
    path.lineTo(minX + r, maxY);
    path.quadTo(minX, maxY, minX, maxY - r);
    path.lineTo(minX, minY + r);
    path.quadTo(minX, minY, minX + r, minY);
    path.closeSubpath();
    return path;
}

QPainterPath foldTriangle(const QRectF &s)
{
    QPainterPath path;
    path.moveTo(s.right(), s.top());
    path.lineTo(s.right(), s.bottom());
    path.lineTo(s.left(), s.top());
    path.closeSubpath();
    return path;
}

QPainterPath foldedPaperFlap(const QRectF &s)
{
    const double w = s.width();
    const double h = s.height();
    QPainterPath path;
    path.moveTo(s.left(), s.top());
    path.lineTo(s.right(), s.bottom());
    path.quadTo(s.left() + 0.46 * w, s.top() + 1.02 * h, s.left(), s.bottom());
    path.quadTo(s.left() - 0.04 * w, s.top() + 0.48 * h, s.left(), s.top());
    path.closeSubpath();
    return path;
}

} // namespace wordlumen::CardShapes
