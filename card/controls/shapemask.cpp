#include "shapemask.h"

#include "card/paint/cardshapes.h"

#include <QQuickWindow>

namespace wordlumen {

ShapeMask::ShapeMask(QQuickItem *parent)
    : QQuickItem(parent)
{
    // Any change of the outline shows in the next frame, which updates the shape.
    connect(this, &ShapeMask::outlineChanged, this, [this] {
        m_regionValid = false;
        if (m_window) {
            m_window->update();
        }
    });
}

ShapeMask::~ShapeMask()
{
    attach(nullptr);
}

void ShapeMask::setShape(Shape shape)
{
    if (m_shape == shape) {
        return;
    }
    m_shape = shape;
    emit outlineChanged();
}

void ShapeMask::setCornerRadius(double radius)
{
    if (qFuzzyCompare(m_cornerRadius, radius)) {
        return;
    }
    m_cornerRadius = radius;
    emit outlineChanged();
}

void ShapeMask::setFoldSize(double fold)
{
    if (qFuzzyCompare(m_foldSize, fold)) {
        return;
    }
    m_foldSize = fold;
    emit outlineChanged();
}

void ShapeMask::setInputCoversWindow(bool covers)
{
    if (m_inputCoversWindow == covers) {
        return;
    }
    m_inputCoversWindow = covers;
    emit outlineChanged();
}

void ShapeMask::setBlursBehind(bool blurs)
{
    if (m_blursBehind == blurs) {
        return;
    }
    m_blursBehind = blurs;
    emit outlineChanged();
}

QPainterPath ShapeMask::outline() const
{
    const QRectF rect(0, 0, width(), height());
    switch (m_shape) {
    case Shape::Capsule:
        return CardShapes::continuousRoundedRect(rect, rect.height() / 2);
    case Shape::RoundedRect:
        return CardShapes::continuousRoundedRect(rect, m_cornerRadius);
    case Shape::FoldedCard:
        return CardShapes::foldedCardPath(rect, m_cornerRadius, m_foldSize);
    case Shape::FoldTriangle:
        return CardShapes::foldTriangle(rect);
    }
    return {};
}

QRegion ShapeMask::region(QPointF offset) const
{
    const QSizeF size(width(), height());
    if (!m_regionValid || offset != m_regionOffset || size != m_regionSize) {
        const QTransform move = QTransform::fromTranslate(offset.x(), offset.y());
        m_region = QRegion(outline().toFillPolygon(move).toPolygon(), Qt::WindingFill);
        m_regionOffset = offset;
        m_regionSize = size;
        m_regionValid = true;
    }
    return m_region;
}

bool ShapeMask::isShown() const
{
    if (!isVisible() || width() <= 0 || height() <= 0) {
        return false;
    }
    double opacity = 1;
    for (const QQuickItem *item = this; item; item = item->parentItem()) {
        opacity *= item->opacity();
    }
    return opacity > 0.001;
}

void ShapeMask::itemChange(ItemChange change, const ItemChangeData &value)
{
    if (change == ItemSceneChange) {
        attach(value.window);
    }
    QQuickItem::itemChange(change, value);
}

ShapeMaskHost *ShapeMaskHost::of(const QQuickWindow *window)
{
    if (!window) {
        return nullptr;
    }
    return dynamic_cast<ShapeMaskHost *>(window->property(kWindowProperty).value<QObject *>());
}

void ShapeMask::attach(QQuickWindow *window)
{
    if (m_window == window) {
        return;
    }
    if (ShapeMaskHost *host = ShapeMaskHost::of(m_window)) {
        host->remove(this);
    }
    m_window = window;
    if (ShapeMaskHost *host = ShapeMaskHost::of(m_window)) {
        host->add(this);
    }
}

} // namespace wordlumen
