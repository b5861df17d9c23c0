#pragma once

#include "core/glossaryentry.h"
#include "core/namematcher.h"
#include "customglossaryentry.h"
#include "glossarypack.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QStringView>
#include <QUuid>

#include <optional>

namespace wordlumen {

/**
 * What lookups read from the library: the enabled packs' entries, their
 * catalogue, and the best entry for a query.
 *
 * Matching works from term keys. They are kept per pack, so that a change to
 * one pack (or switching it) does not normalise the others again, and the
 * name index over the enabled packs is built on the first query after the
 * packs changed. Both are caches: every answer is what the literal rule gives
 * over `packs` as last set.
 *
 * Queries build caches, so the index belongs to one thread at a time.
 */
class PackMatchIndex final
{
public:
    /// Answers from `packs` from now on; the name index is rebuilt on the next query.
    void setPacks(const QList<GlossaryPack> &packs);

    /// The entries of the enabled packs: packs newest first, each in its stored order.
    [[nodiscard]] QList<CustomGlossaryEntry> entries() const;

    /// One item per element of `entries()`, with term and aliases as written.
    [[nodiscard]] QList<GlossaryCatalogItem> catalogItems() const;

    /**
     * The enabled entry that best matches `query`: a name equal to the whole
     * query beats every name found inside it, a longer found name beats a
     * shorter one, and on a tie the newer pack, the earlier entry and the term
     * before its aliases win.
     */
    [[nodiscard]] std::optional<CustomGlossaryEntry> match(QStringView query) const;

    /// Builds the name index now if a query would have to (to do it before the first one).
    void prepare() const;

    /// The term keys of `pack`'s entries in order, from the cache when the pack is unchanged.
    [[nodiscard]] QStringList termKeys(const GlossaryPack &pack) const;

private:
    // The names of one pack's entries, normalised.
    struct PackKeys
    {
        QList<CustomGlossaryEntry> entries; // what the keys below were computed from
        QStringList termKeys;               // one per entry, possibly empty
        // Filled on the first query: alias keys of all entries in a row, and
        // where each entry's run starts (one more element than entries).
        bool hasAliasKeys = false;
        QStringList aliasKeys;
        QList<qsizetype> aliasStart;
    };

    // Everything a query needs: the enabled entries in walking order and
    // their names, the term before its aliases.
    struct NameIndex
    {
        QList<CustomGlossaryEntry> entries;
        NameMatcher names; // targets are positions in `entries`
    };

    [[nodiscard]] const PackKeys &keysOf(const GlossaryPack &pack, bool withAliases) const;
    [[nodiscard]] const NameIndex &nameIndex() const;
    [[nodiscard]] QList<const GlossaryPack *> enabledPacksNewestFirst() const;

    QList<GlossaryPack> m_packs;
    // Keyed by pack id; switched-off packs keep theirs, packs that are gone lose them.
    mutable QHash<QUuid, PackKeys> m_packKeys;
    // Built on the first query after `setPacks`.
    mutable std::optional<NameIndex> m_nameIndex;
};

} // namespace wordlumen
