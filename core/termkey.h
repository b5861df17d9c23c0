#pragma once

#include <QString>
#include <QStringView>

namespace wordlumen {

/**
 * The one normalised form in which queries, dictionary titles, aliases and pack
 * labels are compared. Everything that normalises text goes through here, so
 * the dictionary, the packs and the parser always agree on what "the same
 * name" means.
 *
 * Steps: fold case, accents and width (full-width Latin becomes ASCII), lower
 * case, turn every run of characters that are not letters, numbers or the
 * hyphen-minus into one space, collapse white space and trim. Empty when the
 * text holds no letter or digit.
 */
[[nodiscard]] QString termKey(QStringView text);

/**
 * Case-, diacritic- and width-insensitive folding: canonical decomposition,
 * wide and narrow compatibility forms mapped to their plain forms, combining
 * marks dropped, full Unicode case folding, then canonical composition.
 */
[[nodiscard]] QString foldForComparison(QStringView text);

} // namespace wordlumen
