#include "papergrain.h"

#include "cardshapes.h"
#include "theme.h"

#include <QPainter>

namespace wordlumen {

PaperGrain::PaperGrain(QQuickItem *parent)
    : FoldedSheetItem(parent)
{}

PaperGrain::~PaperGrain() = default;

void PaperGrain::paint(QPainter *painter)
{
    const Theme *theme = Theme::instance();
    if (theme->reduceTransparency()) {
        return;
    }
    const bool dark = theme->isDark();
    const double strength = dark ? 0.36 : 0.82;
    const QColor dot = Theme::alpha(theme->ink(), (dark ? 0.018 : 0.010) * strength);
    const QRectF area(0, 0, width(), height());
    painter->setClipPath(outline(area));
    painter->setPen(Qt::NoPen);
    painter->setBrush(dot);
    for (const GrainDot &grain : CardShapes::grainDots(area.size())) {
        painter->drawEllipse(QRectF(grain.topLeft, QSizeF(grain.size, grain.size)));
    }
}

} // namespace wordlumen
