#pragma once

#include <QList>

#include <functional>

namespace wordlumen {

/**
 * How many chips of a one-line row are shown: as many as fit, in order, with
 * room kept for the chip that ends the row ("+N" when some are left out, or
 * the one that opens the whole list when none are). Widths in points.
 */
namespace ChipFit {

/**
 * The largest count k of `widths`' first chips such that they, the trailing
 * chip for the n − k left out (`trailingWidth(n − k)`) and a `spacing` between
 * any two fit in `available`; 0 when not even the first fits beside it.
 */
[[nodiscard]] qsizetype shownCount(const QList<double> &widths, double available, double spacing,
                                   const std::function<double(qsizetype hidden)> &trailingWidth);

} // namespace ChipFit
} // namespace wordlumen
