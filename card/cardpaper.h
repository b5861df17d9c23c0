#pragma once

#include "themeditem.h"

#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The open card's sheet: the paper colour, a diagonal sheen, the outline with
 * the folded corner stroked in the edge gradient.
 */
class CardPaper : public ThemedItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardPaper)
    QML_ELEMENT
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY shapeChanged)
    Q_PROPERTY(double foldSize READ foldSize WRITE setFoldSize NOTIFY shapeChanged)

public:
    explicit CardPaper(QQuickItem *parent = nullptr);
    ~CardPaper() override;

    [[nodiscard]] double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    [[nodiscard]] double foldSize() const { return m_foldSize; }
    void setFoldSize(double fold);

    void paint(QPainter *painter) override;

signals:
    void shapeChanged();

private:
    double m_cornerRadius = 16;
    double m_foldSize = 36;
};

} // namespace wordlumen
