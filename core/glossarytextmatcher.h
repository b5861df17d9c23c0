#pragma once

#include <QStringView>

namespace wordlumen {

/**
 * Whether one term key occurs inside another. Latin-script names count only as
 * whole words (so "rag" is not found in "paragraph"), while any name with a
 * non-ASCII character is found as a plain substring, since Chinese has no word
 * boundaries to test.
 */
namespace GlossaryTextMatcher {

/// Both arguments are term keys; `alias` is not empty.
[[nodiscard]] bool contains(QStringView alias, QStringView text);

/// Whether every code unit of `text` is ASCII; decides which rule applies.
[[nodiscard]] bool isAscii(QStringView text);

/// The same test when the caller already knows whether the alias is ASCII.
[[nodiscard]] bool contains(QStringView alias, bool aliasIsAscii, QStringView text);

/**
 * The whole-word rule of a Latin name found at `at` in `text` (a term key),
 * `size` code units long: neither neighbour is a lower-case ASCII letter or an
 * ASCII digit. Spaces, hyphens, Chinese characters and the ends of the text
 * are boundaries. Every place that finds Latin names in text asks this.
 */
[[nodiscard]] bool isWholeWord(QStringView text, qsizetype at, qsizetype size);

} // namespace GlossaryTextMatcher
} // namespace wordlumen
