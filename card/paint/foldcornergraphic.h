#pragma once

#include "themeditem.h"

#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The folded top-right corner of the card: the paper's underside in the cut
 * triangle, the curled flap with its sheen, the crease and a small shadow.
 * The item is the corner button's 48-point hit area; the 36-point graphic sits
 * in its top-right corner and grows to 1.025 about that corner as `hover` goes
 * from 0 to 1 (the view animates it).
 */
class FoldCornerGraphic : public wordlumen::ThemedItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FoldCornerGraphic)
    QML_ELEMENT
    Q_PROPERTY(double hover READ hover WRITE setHover NOTIFY hoverChanged)

public:
    static constexpr double kGraphicSize = 36;

    explicit FoldCornerGraphic(QQuickItem *parent = nullptr);
    ~FoldCornerGraphic() override;

    [[nodiscard]] double hover() const { return m_hover; }
    void setHover(double hover);

    void paint(QPainter *painter) override;

signals:
    void hoverChanged();

private:
    double m_hover = 0;
};

} // namespace wordlumen
