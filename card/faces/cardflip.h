#pragma once

#include <QMatrix4x4>
#include <QSizeF>

namespace wordlumen {

/**
 * The card's turn: a rotation about the vertical axis through the face's
 * centre, seen in perspective. `perspective` scales the depth cue relative to
 * the face's larger side (0.68 for the card), so the near edge grows and the
 * far edge shrinks as the face turns.
 */
[[nodiscard]] QMatrix4x4 cardFlipTransform(double radians, QSizeF size, double perspective = 0.68);

} // namespace wordlumen
