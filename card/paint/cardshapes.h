#pragma once

#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace wordlumen {

/// One dot of the paper grain: the top-left corner of its bounding square and its side.
struct GrainDot
{
    QPointF topLeft;
    double size = 0;

    bool operator==(const GrainDot &) const = default;
};

/**
 * The drawings of the card that are geometry rather than colour: the grain
 * pattern, the outline with its folded corner, the fold-corner graphic and the
 * logo. Coordinates are view coordinates (origin top left, y downward).
 */
namespace CardShapes {

inline constexpr double kGrainCell = 11;

/**
 * The fixed grain pattern for an area: a dot in a cell when (71j + 149i + 3ij)
 * mod 101 is below 24, placed inside the cell by the same number. Identical on
 * every render and every launch.
 */
[[nodiscard]] QList<GrainDot> grainDots(QSizeF area);

/// The corner radius and fold a card outline actually uses in a rectangle.
struct FoldMetrics
{
    double radius = 0;
    double fold = 0;
};
[[nodiscard]] FoldMetrics foldMetrics(QSizeF size, double cornerRadius, double foldSize);

/**
 * The card outline: a rounded rectangle whose top-right corner is cut by the
 * diagonal fold edge; a plain rounded rectangle when `foldSize` is 0 or less.
 */
[[nodiscard]] QPainterPath foldedCardPath(const QRectF &rect, double cornerRadius, double foldSize);

/// A rounded rectangle with smoothed ("continuous") corners.
[[nodiscard]] QPainterPath continuousRoundedRect(const QRectF &rect, double radius);

/// The fold-corner graphic's parts, each in its own square.
[[nodiscard]] QPainterPath foldTriangle(const QRectF &square);
[[nodiscard]] QPainterPath foldedPaperFlap(const QRectF &square);

} // namespace CardShapes
} // namespace wordlumen
