#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace wordlumen {

/**
 * Text lengths as the user sees them: every count and cut in Wordlumen works on
 * grapheme clusters, so an emoji with modifiers or a letter with a combining
 * accent counts as one character.
 */
namespace TextMetrics {

[[nodiscard]] qsizetype graphemeCount(QStringView text);

/// The grapheme clusters of `text`, in order.
[[nodiscard]] QStringList graphemes(QStringView text);

/// The first `count` grapheme clusters of `text` (all of it when shorter).
[[nodiscard]] QString leftGraphemes(QStringView text, qsizetype count);

/// Trims white space and line breaks at both ends (Unicode white space).
[[nodiscard]] QString trimmed(QStringView text);

/// Trims only spaces and tabs (horizontal white space) at both ends.
[[nodiscard]] QString trimmedBlanks(QStringView text);

} // namespace TextMetrics
} // namespace wordlumen
