#include "cardpaper.h"

#include "cardshapes.h"
#include "theme.h"

#include <QLinearGradient>
#include <QPainter>

namespace wordlumen {

CardPaper::CardPaper(QQuickItem *parent)
    : FoldedSheetItem(parent)
{}

CardPaper::~CardPaper() = default;

void CardPaper::paint(QPainter *painter)
{
    const Theme *theme = Theme::instance();
    const bool dark = theme->isDark();
    const QRectF area(0, 0, width(), height());
    const QPainterPath shape = outline(area);

    painter->fillPath(shape, theme->paper());
    QLinearGradient sheen(area.topLeft(), area.bottomRight());
    sheen.setColorAt(0, Theme::alpha(Qt::white, dark ? 0.075 : 0.94));
    sheen.setColorAt(0.5, Qt::transparent);
    sheen.setColorAt(1, Theme::alpha(theme->accent(), dark ? 0.014 : 0.006));
    painter->fillPath(shape, sheen);

    // The 1-point edge sits inside the outline so the clip never halves it.
    const QPainterPath edgePath = outline(area.adjusted(0.5, 0.5, -0.5, -0.5));
    QLinearGradient edge(area.topLeft(), area.bottomRight());
    edge.setColorAt(0, theme->edge());
    edge.setColorAt(0.5, dark ? Theme::alpha(theme->accent(), 0.10) : theme->edge());
    edge.setColorAt(1, theme->edge());
    painter->strokePath(edgePath, QPen(QBrush(edge), 1));
}

} // namespace wordlumen
