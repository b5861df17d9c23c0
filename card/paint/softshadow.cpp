#include "softshadow.h"

#include "cardshapes.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace wordlumen {

SoftShadow::SoftShadow(QQuickItem *parent)
    : ThemedItem(parent)
{}

SoftShadow::~SoftShadow() = default;

void SoftShadow::setShape(Shape shape)
{
    if (assign(m_shape, shape)) {
        m_dirty = true;
        emit geometryKeyChanged();
    }
}

void SoftShadow::setCornerRadius(double radius)
{
    if (assign(m_cornerRadius, radius)) {
        m_dirty = true;
        emit geometryKeyChanged();
    }
}

void SoftShadow::setFoldSize(double fold)
{
    if (assign(m_foldSize, fold)) {
        m_dirty = true;
        emit geometryKeyChanged();
    }
}

void SoftShadow::setBlur(double blur)
{
    if (assign(m_blur, blur)) {
        m_dirty = true;
        emit geometryKeyChanged();
    }
}

double SoftShadow::spread() const
{
    return std::ceil(m_blur * 1.5) + 1;
}

void SoftShadow::blurAlpha(QImage &image, double sigma)
{
    if (sigma <= 0.1) {
        return;
    }
    // Box width for three passes approximating a Gaussian of this deviation.
    const int radius = std::max(1, int(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));
    const int w = image.width();
    const int h = image.height();
    std::vector<int> line(size_t(std::max(w, h)));
    auto pass = [&](bool horizontal) {
        const int outer = horizontal ? h : w;
        const int inner = horizontal ? w : h;
        for (int o = 0; o < outer; ++o) {
            auto pixel = [&](int i) -> uchar & {
                return horizontal ? image.scanLine(o)[i * 4 + 3] : image.scanLine(i)[o * 4 + 3];
            };
            for (int i = 0; i < inner; ++i) {
                line[size_t(i)] = pixel(i);
            }
            int sum = 0;
            for (int i = -radius; i <= radius; ++i) {
                if (i >= 0 && i < inner) {
                    sum += line[size_t(i)];
                }
            }
            const int span = 2 * radius + 1;
            for (int i = 0; i < inner; ++i) {
                pixel(i) = uchar(sum / span);
                const int add = i + radius + 1;
                const int drop = i - radius;
                sum += add < inner ? line[size_t(add)] : 0;
                sum -= drop >= 0 ? line[size_t(drop)] : 0;
            }
        }
    };
    for (int n = 0; n < 3; ++n) {
        pass(true);
        pass(false);
    }
}

void SoftShadow::rebuild(double shapeHeight, double dpr)
{
    // The source shape keeps every curved or folded corner whole and has a
    // 2-point straight middle that the nine-patch stretches.
    const double s = spread();
    double radius = m_cornerRadius;
    if (m_shape == Shape::Capsule) {
        radius = shapeHeight / 2;
    }
    const double fold = m_shape == Shape::FoldedCard ? m_foldSize : 0;
    const double corner = std::ceil(std::max(radius, fold)) + 1;
    const double side = 2 * corner + 2;
    const QSize pixels = (QSizeF(side + 2 * s, side + 2 * s) * dpr).toSize();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(dpr, dpr);
        const QRectF shapeRect(s, s, side, side);
        const QPainterPath path = m_shape == Shape::FoldedCard
                                      ? CardShapes::foldedCardPath(shapeRect, radius, fold)
                                      : CardShapes::continuousRoundedRect(shapeRect, radius);
        p.fillPath(path, Qt::black);
    }
    blurAlpha(image, m_blur / 2 * dpr);
    m_patch = image;
    m_patchCorner = s + corner;
    m_patchHeight = shapeHeight;
    m_patchDpr = dpr;
    m_dirty = false;
}

void SoftShadow::paint(QPainter *painter)
{
    const double s = spread();
    const double shapeHeight = height() - 2 * s;
    if (width() <= 2 * s || shapeHeight <= 0) {
        return;
    }
    const double dpr = devicePixelRatio();
    if (m_dirty || m_patchDpr != dpr ||
        (m_shape == Shape::Capsule && std::abs(m_patchHeight - shapeHeight) > 0.01)) {
        rebuild(shapeHeight, dpr);
    }
    const double c = std::min({m_patchCorner, width() / 2, height() / 2});
    const double srcSide = m_patch.width() / dpr;
    // Source and target edges of the three columns and rows.
    const double sx[4] = {0, c, srcSide - c, srcSide};
    const double tx[4] = {0, c, width() - c, width()};
    const double ty[4] = {0, c, height() - c, height()};
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF target(tx[col], ty[row], tx[col + 1] - tx[col], ty[row + 1] - ty[row]);
            const QRectF source(sx[col] * dpr, sx[row] * dpr, (sx[col + 1] - sx[col]) * dpr,
                                (sx[row + 1] - sx[row]) * dpr);
            if (target.width() > 0 && target.height() > 0) {
                painter->drawImage(target, m_patch, source);
            }
        }
    }
}

} // namespace wordlumen
