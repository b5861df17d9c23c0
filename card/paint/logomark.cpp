#include "logomark.h"

#include "cardshapes.h"

#include <QPainter>

#include <algorithm>

namespace wordlumen {

WordlumenLogoMark::WordlumenLogoMark(QQuickItem *parent)
    : ThemedItem(parent)
{}

WordlumenLogoMark::~WordlumenLogoMark() = default;

void WordlumenLogoMark::paint(QPainter *painter)
{
    paintMark(painter, QRectF(0, 0, width(), height()));
}

void WordlumenLogoMark::paintMark(QPainter *painter, const QRectF &area)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const double s = std::min(area.width(), area.height());
    const QPointF centre = area.center();
    const QColor tile = QColor::fromRgbF(0.075f, 0.105f, 0.17f);
    const QColor sheet = QColor::fromRgbF(0.95f, 0.94f, 0.90f);
    const QColor accentBar = QColor::fromRgbF(0.79f, 0.29f, 0.12f);
    const QColor accentMark = QColor::fromRgbF(0.86f, 0.36f, 0.16f);

    const QRectF tileRect(centre.x() - s / 2, centre.y() - s / 2, s, s);
    painter->fillPath(CardShapes::continuousRoundedRect(tileRect, 0.28 * s), tile);

    painter->save();
    painter->translate(centre);
    painter->rotate(-5); // counter-clockwise on screen
    const QRectF sheetRect(-0.29 * s, -0.33 * s, 0.58 * s, 0.66 * s);
    painter->setPen(Qt::NoPen);
    painter->setBrush(sheet);
    painter->drawRoundedRect(sheetRect, 0.13 * s, 0.13 * s);
    const double thickness = std::max(0.055 * s, 1.5);
    const double left = sheetRect.left() + 0.1 * s;
    painter->setBrush(tile);
    painter->drawRoundedRect(QRectF(left, -0.06 * s - thickness, 0.28 * s, thickness),
                             thickness / 2, thickness / 2);
    painter->setBrush(accentBar);
    painter->drawRoundedRect(QRectF(left, 0.06 * s, 0.38 * s, thickness), thickness / 2,
                             thickness / 2);
    painter->restore();

    // The accent mark: a small dot tucked into the tile's top-right corner.
    const double inset = 0.08 * s;
    const double mark = 0.14 * s;
    painter->setPen(Qt::NoPen);
    painter->setBrush(accentMark);
    painter->drawEllipse(
        QRectF(tileRect.right() - inset - mark, tileRect.top() + inset, mark, mark));
}

} // namespace wordlumen
