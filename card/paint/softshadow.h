#pragma once

#include "themeditem.h"

#include <QImage>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * A soft black shadow of a capsule, a rounded rectangle or the folded card,
 * drawn from a pre-blurred nine-patch image so a growing card costs no blur per
 * frame. The item is larger than the shape by `spread` on every side; place it
 * with negative margins around the shape (the offset is the item's position).
 * The shadow's opacity is the item's opacity.
 */
class SoftShadow : public wordlumen::ThemedItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SoftShadow)
    QML_ELEMENT

public:
    enum class Shape
    {
        Capsule,
        RoundedRect,
        FoldedCard
    };
    Q_ENUM(Shape)

private:
    Q_PROPERTY(Shape shape READ shape WRITE setShape NOTIFY geometryKeyChanged)
    Q_PROPERTY(
        double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY geometryKeyChanged)
    Q_PROPERTY(double foldSize READ foldSize WRITE setFoldSize NOTIFY geometryKeyChanged)
    /// Blur radius in points (a Gaussian of half this deviation).
    Q_PROPERTY(double blur READ blur WRITE setBlur NOTIFY geometryKeyChanged)
    /// How far the blurred shadow reaches beyond the shape.
    Q_PROPERTY(double spread READ spread NOTIFY geometryKeyChanged)

public:
    explicit SoftShadow(QQuickItem *parent = nullptr);
    ~SoftShadow() override;

    [[nodiscard]] Shape shape() const { return m_shape; }
    void setShape(Shape shape);
    [[nodiscard]] double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    [[nodiscard]] double foldSize() const { return m_foldSize; }
    void setFoldSize(double fold);
    [[nodiscard]] double blur() const { return m_blur; }
    void setBlur(double blur);
    [[nodiscard]] double spread() const;

    void paint(QPainter *painter) override;

    /// Blurs the alpha channel of an image in place (three box passes ≈ Gaussian).
    static void blurAlpha(QImage &image, double sigma);

signals:
    void geometryKeyChanged();

private:
    void rebuild(double shapeHeight, double dpr);

    Shape m_shape = Shape::RoundedRect;
    double m_cornerRadius = 16;
    double m_foldSize = 0;
    double m_blur = 8;
    QImage m_patch;
    double m_patchCorner = 0; // logical size of each corner patch
    double m_patchHeight = -1;
    double m_patchDpr = 0;
    bool m_dirty = true;
};

} // namespace wordlumen
