#include "accentdot.h"

#include "theme.h"

#include <QPainter>
#include <QRadialGradient>

namespace wordlumen {

AccentDot::AccentDot(QQuickItem *parent)
    : ThemedItem(parent)
{}

AccentDot::~AccentDot() = default;

void AccentDot::setDiameter(double diameter)
{
    if (assign(m_diameter, diameter)) {
        emit diameterChanged();
    }
}

void AccentDot::setGlow(double glow)
{
    if (assign(m_glow, glow)) {
        emit glowChanged();
    }
}

void AccentDot::setFlat(bool flat)
{
    if (assign(m_flat, flat)) {
        emit flatChanged();
    }
}

void AccentDot::paint(QPainter *painter)
{
    const Theme *theme = Theme::instance();
    const QPointF centre(width() / 2, height() / 2);
    const double r = m_diameter / 2;
    painter->setPen(Qt::NoPen);
    if (m_glow > 0) {
        // A shadow of the accent at 0.45 opacity, radius 7.
        QRadialGradient halo(centre, r + 7);
        halo.setColorAt(0, Theme::alpha(theme->accent(), 0.45 * m_glow));
        halo.setColorAt(r / (r + 7), Theme::alpha(theme->accent(), 0.3 * m_glow));
        halo.setColorAt(1, Qt::transparent);
        painter->setBrush(halo);
        painter->drawEllipse(centre, r + 7, r + 7);
    }
    const QRectF dot(centre.x() - r, centre.y() - r, m_diameter, m_diameter);
    if (m_flat) {
        painter->setBrush(theme->accent());
    } else {
        QRadialGradient fill(dot.topLeft(), 7);
        fill.setColorAt(0, Theme::alpha(theme->accent(), 0.82));
        fill.setColorAt(1, theme->accentInk());
        painter->setBrush(fill);
    }
    painter->drawEllipse(dot);
}

} // namespace wordlumen
