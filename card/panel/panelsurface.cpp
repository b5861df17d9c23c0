#include "panelsurface.h"

#include "card/controls/shapemask.h"
#include "card/paint/theme.h"
#include "desktop/panelhints.h"

#include <QQuickWindow>

namespace wordlumen {

PanelSurface::PanelSurface(QQuickWindow *window, PanelHints &hints)
    : QObject(window)
    , m_window(window)
    , m_hints(hints)
{
    window->setProperty(kWindowProperty, QVariant::fromValue(static_cast<QObject *>(this)));
    // Before each frame: the shapes are where that frame draws them.
    connect(window, &QQuickWindow::afterAnimating, this, &PanelSurface::apply);
    connect(Theme::instance(), &Theme::changed, this, [this] {
        apply();
        m_window->update();
    });
    apply();
}

PanelSurface::~PanelSurface()
{
    m_window->setProperty(kWindowProperty, QVariant());
}

PanelSurface *PanelSurface::of(const QQuickWindow *window)
{
    if (!window) {
        return nullptr;
    }
    return qobject_cast<PanelSurface *>(window->property(kWindowProperty).value<QObject *>());
}

void PanelSurface::add(ShapeMask *shape)
{
    if (!m_shapes.contains(shape)) {
        m_shapes.append(shape);
        m_window->update();
    }
}

void PanelSurface::remove(ShapeMask *shape)
{
    m_shapes.removeAll(shape);
    m_shapes.removeAll(nullptr);
    m_window->update();
}

PanelSurface::Regions PanelSurface::regions() const
{
    // One pass over the shown outlines, before every frame.
    Regions regions;
    QRegion outlines;
    bool inputCoversWindow = false;
    for (const QPointer<ShapeMask> &shape : m_shapes) {
        if (!shape || !shape->isShown()) {
            continue;
        }
        // Where the outline lies at its items' own scale: opening and folding
        // scale the card by a few percent, and a shape that changed with every
        // frame would make the X server expose the window again each time, so
        // that every frame were drawn two or three times.
        QPointF offset;
        for (const QQuickItem *item = shape; item; item = item->parentItem()) {
            offset += item->position();
        }
        const QRegion region = shape->region(offset);
        outlines += region;
        inputCoversWindow = inputCoversWindow || shape->inputCoversWindow();
        if (shape->blursBehind()) {
            regions.blur += region;
        }
    }
    const Theme *theme = Theme::instance();
    // An empty shape would mean "no shape", the whole window: keep one pixel
    // rather than show a paper rectangle while nothing is drawn.
    if (!theme->translucentWindows()) {
        regions.shape = outlines.isEmpty() ? QRegion(0, 0, 1, 1) : outlines;
    }
    // Nothing shown yet: the window takes input everywhere rather than nowhere.
    if (!inputCoversWindow && outlines != QRegion(QRect(QPoint(), m_window->size()))) {
        regions.input = outlines;
    }
    if (!theme->blurBehind()) {
        regions.blur = QRegion();
    }
    return regions;
}

QRegion PanelSurface::shapeRegion() const
{
    return regions().shape;
}

QRegion PanelSurface::inputRegion() const
{
    return regions().input;
}

QRegion PanelSurface::blurRegion() const
{
    return regions().blur;
}

void PanelSurface::apply()
{
    // Paper behind the cut-out content, so that the edge pixels of the cut
    // blend with paper rather than with black. Not quite opaque: an opaque
    // colour makes Qt Quick drop the window's alpha channel for good, and the
    // window must turn see-through again when a compositor starts.
    const bool translucent = Theme::instance()->translucentWindows();
    const QColor colour = translucent ? QColor(Qt::transparent)
                                      : Theme::alpha(Theme::instance()->paper(), 254.0 / 255);
    if (m_window->color() != colour) {
        m_window->setColor(colour);
    }
    const Regions now = regions();
    m_hints.setShape(m_window, now.shape);
    if (m_window->handle() != m_platformWindow) {
        m_platformWindow = m_window->handle();
        m_input = QRegion();
        m_blur = QRegion();
    }
    if (now.input != m_input) {
        m_input = now.input;
        m_hints.setInputShape(m_window, m_input);
    }
    if (now.blur != m_blur) {
        m_blur = now.blur;
        m_hints.setBlurBehind(m_window, m_blur);
    }
}

} // namespace wordlumen
