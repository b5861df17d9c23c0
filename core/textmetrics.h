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

/// Whether a code point takes two columns (East Asian Width W or F): Chinese,
/// Japanese and Korean characters, full-width forms, most emoji.
[[nodiscard]] bool isWide(char32_t codePoint);

/**
 * The columns a text takes in a terminal, one grapheme cluster at a time: two
 * for a cluster that starts with a wide character, none for control and
 * format characters, one otherwise. A combining mark never adds a column,
 * since it belongs to the cluster before it.
 */
[[nodiscard]] qsizetype displayWidth(QStringView text);

} // namespace TextMetrics
} // namespace wordlumen
