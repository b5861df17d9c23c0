#include "foldcornergraphic.h"

#include "cardshapes.h"
#include "softshadow.h"
#include "theme.h"

#include <QLinearGradient>
#include <QPainter>

namespace wordlumen {

FoldCornerGraphic::FoldCornerGraphic(QQuickItem *parent)
    : ThemedItem(parent)
{}

FoldCornerGraphic::~FoldCornerGraphic() = default;

void FoldCornerGraphic::setHover(double hover)
{
    if (assign(m_hover, hover)) {
        emit hoverChanged();
    }
}

void FoldCornerGraphic::paint(QPainter *painter)
{
    const Theme *theme = Theme::instance();
    const bool dark = theme->isDark();
    const double dpr = devicePixelRatio();
    const double scale = 1 + 0.025 * m_hover;
    const QRectF square(width() - kGraphicSize, 0, kGraphicSize, kGraphicSize);

    painter->translate(width(), 0);
    painter->scale(scale, scale);
    painter->translate(-width(), 0);

    // Shadow of the whole graphic, 1.5 left and 2 down.
    const double shadowOpacity = dark ? 0.28 : 0.11 + 0.05 * m_hover;
    const double blur = 2 + m_hover;
    QImage mask((QSizeF(width(), height()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(dpr, dpr);
        p.translate(-1.5, 2);
        p.fillPath(CardShapes::foldTriangle(square), Qt::black);
        // The shadow follows the graphic's own coverage: the opaque triangle
        // casts it fully, the translucent flap only faintly.
        QLinearGradient flapAlpha(square.topLeft(), square.bottomRight());
        flapAlpha.setColorAt(0, Theme::alpha(Qt::black, dark ? 0.04 : 0.22));
        flapAlpha.setColorAt(1, Qt::transparent);
        p.fillPath(CardShapes::foldedPaperFlap(square), flapAlpha);
    }
    SoftShadow::blurAlpha(mask, blur / 2 * dpr);
    mask.setDevicePixelRatio(dpr);
    painter->setOpacity(shadowOpacity);
    painter->drawImage(QPointF(0, 0), mask);
    painter->setOpacity(1);

    painter->fillPath(CardShapes::foldTriangle(square), theme->paperUnderside());
    QLinearGradient sheen(square.topLeft(), square.bottomRight());
    sheen.setColorAt(0, Theme::alpha(Qt::white, dark ? 0.04 : 0.22));
    sheen.setColorAt(1, Qt::transparent);
    painter->fillPath(CardShapes::foldedPaperFlap(square), sheen);

    QPen crease(Theme::alpha(theme->ink(), dark ? 0.22 : 0.13), 1);
    crease.setCapStyle(Qt::RoundCap);
    painter->setPen(crease);
    painter->drawLine(square.topLeft(), square.bottomRight());
}

} // namespace wordlumen
