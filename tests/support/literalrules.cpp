#include "literalrules.h"

#include "core/glossarystore.h"
#include "core/termkey.h"
#include "core/textmetrics.h"
#include "packs/customglossarystore.h"

#include <QHash>
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

QString literalTermKey(QStringView text)
{
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}\\-]+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    QString key = foldForComparison(text).toLower();
    key.replace(separators, QStringLiteral(" "));
    key.replace(whiteSpace, QStringLiteral(" "));
    return key.trimmed();
}

QList<TermSpotter::Hit> literalSpot(const QList<SpotName> &names, QStringView text)
{
    QHash<QString, qsizetype> known;
    qsizetype longestName = 0;
    for (const SpotName &name : names) {
        if (name.key.isEmpty() || known.contains(name.key))
            continue;
        known.insert(name.key, name.target);
        longestName = std::max(longestName, name.key.size());
    }

    const QStringList characters = TextMetrics::graphemes(text);
    QList<qsizetype> offsets{0};
    QStringList keys;
    for (const QString &character : characters) {
        offsets.append(offsets.constLast() + character.size());
        keys.append(literalTermKey(character));
    }

    // The key of the passage around a stretch: what the character before
    // contributes up to the stretch, and what the one after contributes from
    // it, separators included (a letter on the far side keeps them).
    const QString sentinel = QStringLiteral("\u4E00");
    auto wholeWord = [&](qsizetype begin, qsizetype end, const QString &key) {
        const QString before =
            begin > 0 ? literalTermKey(characters[begin - 1] + sentinel).chopped(1) : QString();
        const QString after =
            end < characters.size() ? literalTermKey(sentinel + characters[end]).mid(1) : QString();
        const QRegularExpression pattern(QStringLiteral("(?<![a-z0-9])") +
                                         QRegularExpression::escape(key) +
                                         QStringLiteral("(?![a-z0-9])"));
        return pattern
            .match(before + key + after, before.size(), QRegularExpression::NormalMatch,
                   QRegularExpression::AnchorAtOffsetMatchOption)
            .hasMatch();
    };

    QList<TermSpotter::Hit> hits;
    qsizetype begin = 0;
    while (begin < characters.size()) {
        qsizetype bestEnd = -1;
        qsizetype bestTarget = 0;
        QString stretch;
        for (qsizetype end = begin + 1; !keys[begin].isEmpty() && end <= characters.size(); ++end) {
            stretch += characters[end - 1];
            if (keys[end - 1].isEmpty())
                continue;
            const QString key = literalTermKey(stretch);
            if (key.size() > longestName)
                break;
            const auto found = known.constFind(key);
            if (found == known.constEnd())
                continue;
            const bool latin =
                std::all_of(key.begin(), key.end(), [](QChar c) { return c.unicode() <= 0x7F; });
            if (latin && !wholeWord(begin, end, key))
                continue;
            bestEnd = end;
            bestTarget = *found;
        }
        if (bestEnd < 0) {
            ++begin;
            continue;
        }
        hits.append({bestTarget, offsets[begin], offsets[bestEnd] - offsets[begin], begin,
                     bestEnd - begin});
        begin = bestEnd;
    }
    return hits;
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
