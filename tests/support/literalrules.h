#pragma once

#include "core/glossaryentry.h"
#include "packs/customglossaryentry.h"

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

} // namespace wordlumen::testing
