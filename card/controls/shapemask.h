#pragma once

#include <QPainterPath>
#include <QPointer>
#include <QQuickItem>
#include <QRegion>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

class ShapeMask;

/**
 * What a window does with the outlines it shows (the floating panel cuts
 * itself to them and takes the pointer only there). Shape masks find the host
 * of their window through a property of the window; a window without one
 * ignores them.
 */
class ShapeMaskHost
{
public:
    /// The window property through which a host is found (a QObject that is a host).
    static constexpr auto kWindowProperty = "_wordlumen_shapeMaskHost";

    ShapeMaskHost() = default;
    virtual ~ShapeMaskHost() = default;
    ShapeMaskHost(const ShapeMaskHost &) = delete;
    ShapeMaskHost &operator=(const ShapeMaskHost &) = delete;

    virtual void add(ShapeMask *shape) = 0;
    virtual void remove(ShapeMask *shape) = 0;

    /// The host of a window; null for windows without one.
    [[nodiscard]] static ShapeMaskHost *of(const QQuickWindow *window);
};

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
