#pragma once

#include <QString>

namespace wordlumen {

/**
 * The text rules of an answer as the card shows it. Pure functions; lengths
 * are grapheme clusters.
 */
namespace AnswerText {

/**
 * Cuts a text to a readable length: whole when it fits; else at the last
 * sentence end within the limit when that keeps at least half of it (24
 * characters for limits of 47 and less); else one character short of the
 * limit with "…" appended.
 */
[[nodiscard]] QString readableExplanation(const QString &text, int maximumCharacterCount);

/// The title shown on the answer face: the term without full-width parenthesised parts.
[[nodiscard]] QString displayTitle(const QString &term);

} // namespace AnswerText
} // namespace wordlumen
