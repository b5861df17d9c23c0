#pragma once

#include <QStringList>
#include <QStringView>

namespace wordlumen {

/**
 * Tells a description ("这种能力叫什么") from a term to explain: a description
 * goes to the online reverse lookup instead of being explained.
 */
namespace QueryIntentDetector {

/// Phrases that mark a query as a description, in their fixed order.
[[nodiscard]] const QStringList &reverseLookupSignals();

/// True for a trimmed query that holds a signal phrase or has 18 or more characters.
[[nodiscard]] bool shouldReverseLookup(QStringView query);

} // namespace QueryIntentDetector
} // namespace wordlumen
