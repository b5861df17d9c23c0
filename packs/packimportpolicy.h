#pragma once

#include "glossaryimportsummary.h"
#include "glossarypack.h"
#include "glossarypackdraft.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>

namespace wordlumen {

/**
 * What importing a parsed pack does to the library's pack list.
 *
 * A pack is known by its industry, depth and perspective, compared as term
 * keys; importing a pack the library already holds replaces the older version
 * in place of it, keeping its id and whether it is switched on. Terms that
 * other packs already explain are counted for the summary, never dropped.
 *
 * Pure functions over a pack list and a draft; the library applies the result
 * to the file under its lock.
 */
namespace PackImportPolicy {

/// The term keys of a pack's entry terms, one per entry in order (the library passes its cache).
using TermKeysOf = std::function<QStringList(const GlossaryPack &)>;

/// The packs and the summary after an import.
struct Outcome
{
    /// Newest import first; the imported pack leads.
    QList<GlossaryPack> packs;
    GlossaryImportSummary summary;

    bool operator==(const Outcome &) const = default;
};

/// Two packs are the same pack when these keys are equal.
[[nodiscard]] QString identityKey(const QString &industry, const QString &depth,
                                  const QString &perspective);

/// Where in `packs` an older version of the draft's pack stands; -1 when there is none.
[[nodiscard]] qsizetype olderVersionOf(const QList<GlossaryPack> &packs,
                                       const GlossaryPackDraft &draft);

/**
 * How many of the draft's entries have a term (as a term key) that a pack of
 * `packs` already has, switched on or not, leaving out the pack the draft
 * replaces (`replacedId`). Only terms count, not aliases. Without `keysOf`,
 * the keys are computed here.
 */
[[nodiscard]] qsizetype duplicateTermCount(const GlossaryPackDraft &draft,
                                           const QList<GlossaryPack> &packs,
                                           const std::optional<QUuid> &replacedId,
                                           const TermKeysOf &keysOf = {});

/**
 * `packs` with the draft imported at `importedAt`: an older version is
 * replaced, keeping its id and switch; a new pack gets `newId` and is
 * switched on. The imported pack comes first, also before packs imported
 * within the same second, since it is the newest.
 */
[[nodiscard]] Outcome importInto(const QList<GlossaryPack> &packs, const GlossaryPackDraft &draft,
                                 const QUuid &newId, const QDateTime &importedAt,
                                 const TermKeysOf &keysOf = {});

} // namespace PackImportPolicy
} // namespace wordlumen
