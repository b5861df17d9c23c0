#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace wordlumen {

/**
 * A rectangle in desktop coordinates: the origin at the bottom left of the
 * primary screen and y growing upward, so `minY` is the bottom edge and `maxY`
 * the top. The placement rules are written in these coordinates; the one
 * conversion from and to Qt's top-left-origin coordinates is DesktopSpace.
 */
struct DesktopRect
{
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    [[nodiscard]] double minX() const { return x; }
    [[nodiscard]] double maxX() const { return x + width; }
    [[nodiscard]] double minY() const { return y; }
    [[nodiscard]] double maxY() const { return y + height; }
    [[nodiscard]] double midX() const { return x + width / 2; }
    [[nodiscard]] QPointF origin() const { return {x, y}; }
    [[nodiscard]] QSizeF size() const { return {width, height}; }
    [[nodiscard]] DesktopRect insetBy(double d) const
    {
        return {x + d, y + d, width - 2 * d, height - 2 * d};
    }
    /// Area shared with another rectangle; 0 when they do not overlap.
    [[nodiscard]] double intersectionArea(const DesktopRect &other) const;

    bool operator==(const DesktopRect &) const = default;
};

/// A screen's whole area and its area without panels and docks.
struct DesktopScreen
{
    DesktopRect frame;
    DesktopRect visibleFrame;

    bool operator==(const DesktopScreen &) const = default;
};

/**
 * Where the floating panel goes. Pure functions: the window controller gathers
 * the screens and frames and applies what these return.
 */
namespace FloatingWindowPlacement {

/// How far the panel keeps from the edges of the visible frame.
inline constexpr double kScreenInset = 8;
/// A panel whose top is at most this far below the inset top keeps its top edge when resizing.
inline constexpr double kTopAnchorGap = 36;

/// The bottom-right corner of the visible frame, 8 points in from the right and bottom.
[[nodiscard]] QPointF defaultOrigin(QSizeF size, const DesktopRect &visibleFrame);

/**
 * Pulls an origin into the visible frame inset by 8 points. The upper bounds
 * are applied last, so a panel larger than that area aligns with its right and
 * top edges.
 */
[[nodiscard]] QPointF clampedOrigin(QPointF origin, QSizeF size, const DesktopRect &visibleFrame);

/**
 * The origin of a newly created panel: the saved origin clamped into the main
 * screen when both coordinates were saved, else the default corner.
 */
[[nodiscard]] QPointF initialOrigin(QSizeF size, const DesktopRect &mainVisibleFrame,
                                    std::optional<double> savedX, std::optional<double> savedY);

/**
 * The screen a dragged panel belongs to: the largest intersection with the
 * candidate frame, ties to the earlier screen. -1 when there are no screens.
 */
[[nodiscard]] qsizetype screenIndexForFrame(const DesktopRect &frame,
                                            const QList<DesktopScreen> &screens);

/**
 * The panel's screen: the one the window system reports, else the first whose
 * frame meets the panel, else the main screen, else the first. -1 without screens.
 */
[[nodiscard]] qsizetype screenIndexForWindow(std::optional<qsizetype> reportedIndex,
                                             const DesktopRect &panelFrame,
                                             const QList<DesktopScreen> &screens,
                                             std::optional<qsizetype> mainIndex);

/// Which edges stay in place when the panel changes size.
struct ResizeAnchor
{
    bool right = false; ///< else the left edge stays
    bool top = false;   ///< else the bottom edge stays

    bool operator==(const ResizeAnchor &) const = default;
};

[[nodiscard]] ResizeAnchor resizeAnchor(const DesktopRect &current,
                                        const DesktopRect &visibleFrame);

/**
 * The frame after a resize: the edges nearest the screen edge the panel is
 * parked at stay (the right edge in the right half, the top edge within 36
 * points of the inset top), then the frame is clamped into the inset visible frame.
 */
[[nodiscard]] DesktopRect resizedFrame(const DesktopRect &current, QSizeF targetSize,
                                       const DesktopRect &visibleFrame);

/// Reset position: the default corner of the panel's screen, not clamped further.
[[nodiscard]] QPointF resetOrigin(QSizeF size, const DesktopRect &visibleFrame);

} // namespace FloatingWindowPlacement
} // namespace wordlumen
