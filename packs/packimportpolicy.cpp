#include "packimportpolicy.h"

#include "core/termkey.h"

#include <QSet>

namespace wordlumen::PackImportPolicy {

QString identityKey(const QString &industry, const QString &depth, const QString &perspective)
{
    // A term key holds no '|' (it turns punctuation into spaces), so the joined
    // key cannot be read two ways.
    return termKey(industry) + u'|' + termKey(depth) + u'|' + termKey(perspective);
}

qsizetype olderVersionOf(const QList<GlossaryPack> &packs, const GlossaryPackDraft &draft)
{
    const QString key =
        identityKey(draft.industry, draft.vocabularyDepth, draft.explanationPerspective);
    for (qsizetype i = 0; i < packs.size(); ++i) {
        const GlossaryPack &pack = packs[i];
        if (identityKey(pack.industry, pack.vocabularyDepth, pack.explanationPerspective) == key)
            return i;
    }
    return -1;
}

qsizetype duplicateTermCount(const GlossaryPackDraft &draft, const QList<GlossaryPack> &packs,
                             const std::optional<QUuid> &replacedId, const TermKeysOf &keysOf)
{
    QSet<QString> otherKeys;
    for (const GlossaryPack &pack : packs) {
        // The version being replaced is no "other" pack.
        if (replacedId && pack.id == *replacedId)
            continue;
        if (keysOf) {
            for (const QString &key : keysOf(pack))
                otherKeys.insert(key);
        } else {
            for (const CustomGlossaryEntry &entry : pack.entries)
                otherKeys.insert(termKey(entry.term));
        }
    }
    qsizetype duplicates = 0;
    for (const CustomGlossaryEntry &entry : draft.entries) {
        if (otherKeys.contains(termKey(entry.term)))
            ++duplicates;
    }
    return duplicates;
}

Outcome importInto(const QList<GlossaryPack> &packs, const GlossaryPackDraft &draft,
                   const QUuid &newId, const QDateTime &importedAt, const TermKeysOf &keysOf)
{
    const qsizetype existing = olderVersionOf(packs, draft);
    const GlossaryPack *older = existing >= 0 ? &packs[existing] : nullptr;

    GlossaryPack pack = GlossaryPack::fromDraft(draft, older ? older->id : newId, importedAt);
    // A pack the user switched off stays off when a newer version arrives.
    pack.isEnabled = older ? older->isEnabled : true;

    Outcome outcome;
    outcome.summary = GlossaryImportSummary{
        pack, older != nullptr,
        duplicateTermCount(draft, packs, older ? std::optional(older->id) : std::nullopt, keysOf),
        draft.ignoredEntryCount};

    // The new version goes first and the sort keeps it there among packs of
    // the same second: timestamps are whole seconds, and the pack imported
    // last is still the newest.
    outcome.packs = packs;
    if (older)
        outcome.packs.remove(existing);
    outcome.packs.prepend(std::move(pack));
    GlossaryPack::sortNewestFirst(outcome.packs);
    return outcome;
}

} // namespace wordlumen::PackImportPolicy
