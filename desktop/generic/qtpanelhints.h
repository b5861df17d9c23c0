#pragma once

#include "desktop/panelhints.h"

namespace wordlumen {

/**
 * The panel's hints with nothing but Qt: the window's mask. Where the window
 * system reads a mask as the window's visible cut (the default), it carries
 * the shape; where it reads it as the input region (Wayland, whose windows are
 * always composited and never need a cut), it carries the input shape. The
 * other hints have no Qt counterpart and are left out.
 */
class QtPanelHints final : public PanelHints
{
public:
    enum class MaskUse
    {
        Shape,
        Input
    };

    explicit QtPanelHints(MaskUse maskUse);

    void prepareForMap(QWindow *window) override;
    void setResizeGravity(QWindow *window, bool anchoredRight, bool anchoredTop) override;
    void setShape(QWindow *window, const QRegion &shape) override;
    void setInputShape(QWindow *window, const QRegion &input) override;
    void setBlurBehind(QWindow *window, const QRegion &region) override;

private:
    MaskUse m_maskUse;
};

} // namespace wordlumen
