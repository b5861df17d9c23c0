#include "floatingwindowplacement.h"

#include <algorithm>

namespace wordlumen {

double DesktopRect::intersectionArea(const DesktopRect &other) const
{
    const double w = std::min(maxX(), other.maxX()) - std::max(minX(), other.minX());
    const double h = std::min(maxY(), other.maxY()) - std::max(minY(), other.minY());
    return (w > 0 && h > 0) ? w * h : 0;
}

namespace FloatingWindowPlacement {

QPointF defaultOrigin(QSizeF size, const DesktopRect &visibleFrame)
{
    return {visibleFrame.maxX() - size.width() - kScreenInset, visibleFrame.minY() + kScreenInset};
}

QPointF clampedOrigin(QPointF origin, QSizeF size, const DesktopRect &visibleFrame)
{
    const DesktopRect inset = visibleFrame.insetBy(kScreenInset);
    // Lower bound first, upper bound last: an oversized panel sticks to the right and top.
    const double x = std::min(inset.maxX() - size.width(), std::max(inset.minX(), origin.x()));
    const double y = std::min(inset.maxY() - size.height(), std::max(inset.minY(), origin.y()));
    return {x, y};
}

QPointF initialOrigin(QSizeF size, const DesktopRect &mainVisibleFrame,
                      std::optional<double> savedX, std::optional<double> savedY)
{
    if (savedX && savedY) {
        return clampedOrigin({*savedX, *savedY}, size, mainVisibleFrame);
    }
    return defaultOrigin(size, mainVisibleFrame);
}

qsizetype screenIndexForFrame(const DesktopRect &frame, const QList<DesktopScreen> &screens)
{
    if (screens.isEmpty()) {
        return -1;
    }
    qsizetype best = 0;
    double bestArea = screens.first().frame.intersectionArea(frame);
    for (qsizetype i = 1; i < screens.size(); ++i) {
        const double area = screens[i].frame.intersectionArea(frame);
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return best;
}

qsizetype screenIndexForWindow(std::optional<qsizetype> reportedIndex,
                               const DesktopRect &panelFrame, const QList<DesktopScreen> &screens,
                               std::optional<qsizetype> mainIndex)
{
    if (reportedIndex && *reportedIndex >= 0 && *reportedIndex < screens.size()) {
        return *reportedIndex;
    }
    for (qsizetype i = 0; i < screens.size(); ++i) {
        if (screens[i].frame.intersectionArea(panelFrame) > 0) {
            return i;
        }
    }
    if (mainIndex && *mainIndex >= 0 && *mainIndex < screens.size()) {
        return *mainIndex;
    }
    return screens.isEmpty() ? -1 : 0;
}

ResizeAnchor resizeAnchor(const DesktopRect &current, const DesktopRect &visibleFrame)
{
    const DesktopRect inset = visibleFrame.insetBy(kScreenInset);
    const double gap = inset.maxY() - current.maxY();
    return {visibleFrame.midX() <= current.midX(), gap <= kTopAnchorGap};
}

DesktopRect resizedFrame(const DesktopRect &current, QSizeF targetSize,
                         const DesktopRect &visibleFrame)
{
    const ResizeAnchor anchor = resizeAnchor(current, visibleFrame);
    const double x = anchor.right ? current.maxX() - targetSize.width() : current.minX();
    const double y = anchor.top ? current.maxY() - targetSize.height() : current.minY();
    const QPointF origin = clampedOrigin({x, y}, targetSize, visibleFrame);
    return {origin.x(), origin.y(), targetSize.width(), targetSize.height()};
}

QPointF resetOrigin(QSizeF size, const DesktopRect &visibleFrame)
{
    return defaultOrigin(size, visibleFrame);
}

} // namespace FloatingWindowPlacement
} // namespace wordlumen
