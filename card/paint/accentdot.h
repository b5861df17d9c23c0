#pragma once

#include "themeditem.h"

#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The small accent dot of titles and the compact trigger: a radial gradient
 * from the accent (at the dot's top-left) to the accent ink, with an optional
 * soft glow around it (`glow` 0 to 1, animated by the view).
 */
class AccentDot : public wordlumen::ThemedItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AccentDot)
    QML_ELEMENT
    Q_PROPERTY(double diameter READ diameter WRITE setDiameter NOTIFY diameterChanged)
    Q_PROPERTY(double glow READ glow WRITE setGlow NOTIFY glowChanged)
    /// Flat accent fill instead of the gradient (the faces' title dots).
    Q_PROPERTY(bool flat READ isFlat WRITE setFlat NOTIFY flatChanged)

public:
    explicit AccentDot(QQuickItem *parent = nullptr);
    ~AccentDot() override;

    [[nodiscard]] double diameter() const { return m_diameter; }
    void setDiameter(double diameter);
    [[nodiscard]] double glow() const { return m_glow; }
    void setGlow(double glow);
    [[nodiscard]] bool isFlat() const { return m_flat; }
    void setFlat(bool flat);

    void paint(QPainter *painter) override;

signals:
    void diameterChanged();
    void glowChanged();
    void flatChanged();

private:
    double m_diameter = 7;
    double m_glow = 0;
    bool m_flat = false;
};

} // namespace wordlumen
