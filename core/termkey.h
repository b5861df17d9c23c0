#pragma once

#include <QList>
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
 * A term key that remembers where each of its characters came from.
 *
 * The text is read in pieces of whole grapheme clusters, nearly always one
 * cluster each (a cluster that folding would join to the one before it, such
 * as a Hangul vowel jamo after a consonant with a dropped accent between them,
 * joins that piece). Every key character but a space comes from exactly one
 * piece, and a piece's characters stand together in the key, so a stretch of
 * the key that begins and ends on piece boundaries is a stretch of whole
 * characters of the text, however folding changed lengths on the way.
 */
struct SourcedTermKey
{
    /// Exactly `termKey(text)`.
    QString key;
    /// For each code unit of `key`: the piece it came from, or -1 for a space
    /// (which stands for a run of separators).
    QList<qsizetype> pieceOf;
    /// Where each piece starts in the text, in UTF-16 code units; one more
    /// element at the end holds the text's size.
    QList<qsizetype> pieceStart;
    /// The same in grapheme clusters; the last element is the text's length.
    QList<qsizetype> pieceCharacterStart;
};

/// The term key of `text` with the places its characters came from.
[[nodiscard]] SourcedTermKey sourcedTermKey(QStringView text);

/**
 * Case-, diacritic- and width-insensitive folding: canonical decomposition,
 * wide and narrow compatibility forms mapped to their plain forms, combining
 * marks dropped, full Unicode case folding, then canonical composition.
 */
[[nodiscard]] QString foldForComparison(QStringView text);

} // namespace wordlumen
