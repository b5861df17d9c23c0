#pragma once

#include "card/controls/shapemask.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRegion>

class QQuickWindow;

namespace wordlumen {

class PanelHints;

/**
 * How the panel's window shows what it holds. Where a compositing manager
 * blends windows over the desktop, the window is transparent around the card
 * and its shadows. Without one, transparent pixels would show as a black box:
 * the window is then opaque paper, cut to the outlines of what it shows (the
 * ShapeMask items: the trigger's capsule, the card, a tooltip) with an X shape
 * mask, and follows them frame by frame while they move and scale.
 *
 * The same outlines are where the pointer reaches the window (the X input
 * shape; the input region on Wayland), so that a click on the see-through
 * shadow goes to the window below, and where a compositor that offers it
 * blurs the desktop behind the window (KWin's blur-behind region). The
 * window system hears of each through the panel's hints.
 */
class PanelSurface final : public QObject, public ShapeMaskHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelSurface)

public:
    /// Looks after `window`, whose child it becomes, telling `hints` of its regions.
    PanelSurface(QQuickWindow *window, PanelHints &hints);
    ~PanelSurface() override;

    /// The surface of a window; null for windows without one.
    [[nodiscard]] static PanelSurface *of(const QQuickWindow *window);

    void add(ShapeMask *shape) override;
    void remove(ShapeMask *shape) override;

    /// The shape the window needs now: empty (no shape) while windows may be see-through.
    [[nodiscard]] QRegion shapeRegion() const;
    /// Where the pointer reaches the window now; empty means everywhere.
    [[nodiscard]] QRegion inputRegion() const;
    /// Where the compositor should blur behind the window; empty for nowhere.
    [[nodiscard]] QRegion blurRegion() const;

private:
    struct Regions
    {
        QRegion shape;
        QRegion input;
        QRegion blur;
    };
    /// The three regions from the outlines shown now, in window coordinates.
    [[nodiscard]] Regions regions() const;
    void apply();

    QQuickWindow *m_window;
    PanelHints &m_hints;
    QList<QPointer<ShapeMask>> m_shapes;
    // What the platform window was last given; a re-created window starts afresh.
    const void *m_platformWindow = nullptr;
    QRegion m_input;
    QRegion m_blur;
};

} // namespace wordlumen
