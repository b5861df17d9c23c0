#include "literalrules.h"

#include "core/glossarystore.h"
#include "core/termkey.h"
#include "core/textmetrics.h"
#include "packs/customglossarystore.h"

#include <QRegularExpression>

#include <algorithm>

namespace wordlumen::testing {

namespace {

// The best of `names(item)` over `items`, each scored from scratch; a later
// name replaces the best only with a strictly greater score.
template<typename Item, typename Names>
std::optional<Item> bestByScore(const QList<Item> &items, QStringView query, Names names)
{
    const QString q = termKey(query);
    if (q.isEmpty())
        return std::nullopt;
    const Item *best = nullptr;
    qsizetype bestScore = 0;
    for (const Item &item : items) {
        for (const QString &name : names(item)) {
            const QString k = termKey(name);
            if (k.isEmpty())
                continue;
            qsizetype score = 0;
            if (k == q)
                score = TextMetrics::graphemeCount(k) + 10000;
            else if (containsByPattern(k, q))
                score = TextMetrics::graphemeCount(k);
            else
                continue;
            if (!best || score > bestScore) {
                best = &item;
                bestScore = score;
            }
        }
    }
    if (!best)
        return std::nullopt;
    return *best;
}

} // namespace

bool containsByPattern(const QString &alias, const QString &text)
{
    const bool ascii =
        std::all_of(alias.begin(), alias.end(), [](QChar c) { return c.unicode() <= 0x7F; });
    // Without the plain substring the pattern cannot match either; checking
    // it first keeps the reference fast enough to run over large libraries.
    if (!ascii || !text.contains(alias))
        return text.contains(alias);
    const QRegularExpression pattern(QStringLiteral("(?<![a-z0-9])") +
                                     QRegularExpression::escape(alias) +
                                     QStringLiteral("(?![a-z0-9])"));
    return pattern.match(text).hasMatch();
}

std::optional<GlossaryEntry> literalMatch(const GlossaryStore &store, QStringView query)
{
    return bestByScore(store.entries(), query,
                       [](const GlossaryEntry &entry) { return entry.aliases; });
}

std::optional<CustomGlossaryEntry> literalMatch(const CustomGlossaryStore &store, QStringView query)
{
    return bestByScore(store.entries(), query, [](const CustomGlossaryEntry &entry) {
        return QStringList{entry.term} + entry.aliases;
    });
}

} // namespace wordlumen::testing
