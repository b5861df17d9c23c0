#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRegion>

class QQuickWindow;

namespace wordlumen {

class ShapeMask;

/**
 * How the panel's window shows what it holds. Where a compositing manager
 * blends windows over the desktop, the window is transparent around the card
 * and its shadows. Without one, transparent pixels would show as a black box:
 * the window is then opaque paper, cut to the outlines of what it shows (the
 * ShapeMask items: the trigger's capsule, the card, a tooltip) with an X shape
 * mask, and follows them frame by frame while they move and scale.
 */
class PanelSurface final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelSurface)

public:
    /// Looks after `window`, whose child it becomes.
    explicit PanelSurface(QQuickWindow *window);
    ~PanelSurface() override;

    /// The surface of a window; null for windows without one.
    [[nodiscard]] static PanelSurface *of(const QQuickWindow *window);

    void add(ShapeMask *shape);
    void remove(ShapeMask *shape);

    /// The shape the window needs now: empty (no shape) while windows may be see-through.
    [[nodiscard]] QRegion shapeRegion() const;

private:
    void apply();

    QQuickWindow *m_window;
    QList<QPointer<ShapeMask>> m_shapes;
};

} // namespace wordlumen
