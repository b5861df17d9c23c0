#include "qtpanelhints.h"

#include <QRegion>
#include <QWindow>

namespace wordlumen {

namespace {

void setMask(QWindow *window, const QRegion &region)
{
    if (window && window->mask() != region) {
        window->setMask(region);
    }
}

} // namespace

QtPanelHints::QtPanelHints(MaskUse maskUse)
    : m_maskUse(maskUse)
{}

void QtPanelHints::prepareForMap(QWindow *)
{}

void QtPanelHints::setResizeGravity(QWindow *, bool, bool)
{}

void QtPanelHints::setShape(QWindow *window, const QRegion &shape)
{
    if (m_maskUse == MaskUse::Shape) {
        setMask(window, shape);
    }
}

void QtPanelHints::setInputShape(QWindow *window, const QRegion &input)
{
    if (m_maskUse == MaskUse::Input) {
        setMask(window, input);
    }
}

void QtPanelHints::setBlurBehind(QWindow *, const QRegion &)
{}

} // namespace wordlumen
