#pragma once

#include <QPainterPath>
#include <QPointer>
#include <QQuickItem>
#include <QRegion>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The outline of something the panel shows, for the window's shape where
 * windows cannot be see-through (see PanelSurface). An invisible item laid
 * over the visual it outlines; its scale and position count as the visual's.
 *
 * The outlines are also where the pointer reaches the panel: a click on the
 * see-through margin around them goes to the window below.
 */
class ShapeMask : public QQuickItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShapeMask)
    QML_ELEMENT

public:
    enum class Shape
    {
        Capsule,
        RoundedRect,
        FoldedCard,
        /// The fold-corner graphic's triangle, in the item's top-right corner.
        FoldTriangle
    };
    Q_ENUM(Shape)

private:
    Q_PROPERTY(Shape shape READ shape WRITE setShape NOTIFY outlineChanged)
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY outlineChanged)
    Q_PROPERTY(double foldSize READ foldSize WRITE setFoldSize NOTIFY outlineChanged)
    /// While it is shown, the pointer reaches the whole window, margin included.
    Q_PROPERTY(bool inputCoversWindow READ inputCoversWindow WRITE setInputCoversWindow NOTIFY
                   outlineChanged)
    /// The compositor is asked to blur the desktop behind the outline, where it can.
    Q_PROPERTY(bool blursBehind READ blursBehind WRITE setBlursBehind NOTIFY outlineChanged)

public:
    explicit ShapeMask(QQuickItem *parent = nullptr);
    ~ShapeMask() override;

    [[nodiscard]] Shape shape() const { return m_shape; }
    void setShape(Shape shape);
    [[nodiscard]] double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    [[nodiscard]] double foldSize() const { return m_foldSize; }
    void setFoldSize(double fold);
    [[nodiscard]] bool inputCoversWindow() const { return m_inputCoversWindow; }
    void setInputCoversWindow(bool covers);
    [[nodiscard]] bool blursBehind() const { return m_blursBehind; }
    void setBlursBehind(bool blurs);

    /// The outline in the item's own coordinates.
    [[nodiscard]] QPainterPath outline() const;
    /// The outline in whole pixels, moved by `offset`; kept until it changes.
    [[nodiscard]] QRegion region(QPointF offset) const;
    /// Whether anything of it is on screen: visible and not faded out.
    [[nodiscard]] bool isShown() const;

signals:
    void outlineChanged();

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void attach(QQuickWindow *window);

    Shape m_shape = Shape::RoundedRect;
    double m_cornerRadius = 0;
    double m_foldSize = 0;
    bool m_inputCoversWindow = false;
    bool m_blursBehind = false;
    // The last region asked for: the panel asks before every frame.
    mutable QRegion m_region;
    mutable QPointF m_regionOffset;
    mutable QSizeF m_regionSize;
    mutable bool m_regionValid = false;
    QPointer<QQuickWindow> m_window;
};

} // namespace wordlumen
