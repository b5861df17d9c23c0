#pragma once

#include "core/glossaryentry.h"
#include "core/termspotter.h"
#include "packs/customglossaryentry.h"

#include <QList>
#include <QStringView>

#include <optional>

namespace wordlumen {
class GlossaryStore;
class CustomGlossaryStore;
} // namespace wordlumen

namespace wordlumen::testing {

/**
 * The matching rule written out literally, as a reference for the indexed
 * matcher: every name normalised again on every call, containment tested by
 * its regular expression, scores compared one by one in walking order. Slow
 * by design; differential tests and benchmarks set the real matcher beside it.
 */
[[nodiscard]] std::optional<GlossaryEntry> literalMatch(const GlossaryStore &store,
                                                        QStringView query);

/// The same over the enabled pack entries: newest pack first, the term before its aliases.
[[nodiscard]] std::optional<CustomGlossaryEntry> literalMatch(const CustomGlossaryStore &store,
                                                              QStringView query);

/// Containment as its regular expression: a Latin name between non-[a-z0-9] neighbours.
[[nodiscard]] bool containsByPattern(const QString &alias, const QString &text);

/**
 * The term key as the rule states it: the whole text folded at once, lower
 * case, then the two regular-expression replacements and a trim.
 */
[[nodiscard]] QString literalTermKey(QStringView text);

/// A name for the literal spotting rule: a term key and its target.
struct SpotName
{
    QString key;
    qsizetype target = 0;
};

/**
 * Spotting written out literally, over the passage's characters (grapheme
 * clusters): at each character, every stretch of whole characters that starts
 * and ends with one that has a key is keyed afresh and looked up among the
 * names (the first name with a key keeps it); a Latin name also needs its
 * regular expression to match between the keys of its neighbouring
 * characters. From the left, the longest name at a place is taken and the
 * search goes on after it.
 */
[[nodiscard]] QList<TermSpotter::Hit> literalSpot(const QList<SpotName> &names, QStringView text);

} // namespace wordlumen::testing
