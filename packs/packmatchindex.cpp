#include "packmatchindex.h"

#include "core/termkey.h"

#include <QSet>

#include <algorithm>

namespace wordlumen {

void PackMatchIndex::setPacks(const QList<GlossaryPack> &packs)
{
    m_packs = packs;
    m_nameIndex.reset();
}

QList<const GlossaryPack *> PackMatchIndex::enabledPacksNewestFirst() const
{
    QList<const GlossaryPack *> packs;
    for (const GlossaryPack &pack : m_packs) {
        if (pack.isEnabled)
            packs.append(&pack);
    }
    // The library keeps its list in this order already; sorting again keeps
    // the rule independent of how the list came about.
    std::stable_sort(packs.begin(), packs.end(), [](const GlossaryPack *a, const GlossaryPack *b) {
        return a->importedAt > b->importedAt;
    });
    return packs;
}

QList<CustomGlossaryEntry> PackMatchIndex::entries() const
{
    QList<CustomGlossaryEntry> result;
    for (const GlossaryPack *pack : enabledPacksNewestFirst())
        result.append(pack->entries);
    return result;
}

QList<GlossaryCatalogItem> PackMatchIndex::catalogItems() const
{
    QList<GlossaryCatalogItem> items;
    for (const GlossaryPack *pack : enabledPacksNewestFirst()) {
        for (const CustomGlossaryEntry &entry : pack->entries)
            items.append({entry.term, entry.aliases});
    }
    return items;
}

QStringList PackMatchIndex::termKeys(const GlossaryPack &pack) const
{
    return keysOf(pack, false).termKeys;
}

const PackMatchIndex::PackKeys &PackMatchIndex::keysOf(const GlossaryPack &pack,
                                                       bool withAliases) const
{
    auto it = m_packKeys.find(pack.id);
    // QList compares shared data by pointer first, so an unchanged pack costs nothing here.
    if (it == m_packKeys.end() || it->entries != pack.entries) {
        PackKeys keys;
        keys.entries = pack.entries;
        keys.termKeys.reserve(pack.entries.size());
        for (const CustomGlossaryEntry &entry : pack.entries)
            keys.termKeys.append(termKey(entry.term));
        it = m_packKeys.emplace(pack.id, std::move(keys));
    }
    if (withAliases && !it->hasAliasKeys) {
        it->aliasStart.reserve(pack.entries.size() + 1);
        for (const CustomGlossaryEntry &entry : pack.entries) {
            it->aliasStart.append(it->aliasKeys.size());
            for (const QString &alias : entry.aliases)
                it->aliasKeys.append(termKey(alias));
        }
        it->aliasStart.append(it->aliasKeys.size());
        it->hasAliasKeys = true;
    }
    return *it;
}

const PackMatchIndex::NameIndex &PackMatchIndex::nameIndex() const
{
    if (m_nameIndex)
        return *m_nameIndex;

    NameIndex index;
    for (const GlossaryPack *pack : enabledPacksNewestFirst()) {
        const PackKeys &keys = keysOf(*pack, true);
        const qsizetype offset = index.entries.size();
        index.entries.append(pack->entries);
        for (qsizetype i = 0; i < pack->entries.size(); ++i) {
            // The term before its aliases, as the rule walks them.
            index.names.add(keys.termKeys[i], offset + i);
            for (qsizetype a = keys.aliasStart[i]; a < keys.aliasStart[i + 1]; ++a)
                index.names.add(keys.aliasKeys[a], offset + i);
        }
    }

    // Forget the keys of packs that are gone; switched-off packs keep theirs.
    QSet<QUuid> present;
    for (const GlossaryPack &pack : m_packs)
        present.insert(pack.id);
    m_packKeys.removeIf([&](const auto &it) { return !present.contains(it.key()); });

    m_nameIndex = std::move(index);
    return *m_nameIndex;
}

void PackMatchIndex::prepare() const
{
    static_cast<void>(nameIndex());
}

std::optional<CustomGlossaryEntry> PackMatchIndex::match(QStringView query) const
{
    const QString q = termKey(query);
    if (q.isEmpty())
        return std::nullopt;
    const NameIndex &index = nameIndex();
    const auto best = index.names.bestMatch(q);
    if (!best)
        return std::nullopt;
    return index.entries[*best];
}

} // namespace wordlumen
