#pragma once

#include "glossarypack.h"

#include <QString>

namespace wordlumen {

/// The outcome of one successful import.
struct GlossaryImportSummary
{
    /// The pack as stored after the import.
    GlossaryPack pack;
    /// An older version of the same pack was replaced (its id and switch kept).
    bool replacedExistingPack = false;
    /// Entries of the new pack whose term another pack already explains; they are kept.
    qsizetype duplicateTermCount = 0;
    /// Entries the parser rejected.
    qsizetype ignoredEntryCount = 0;

    /**
     * The line shown after the import, e.g.
     * 「已导入 金融补充包 · 35 条，已更新旧版本，2 条与其他补充包重名，跳过 1 条不合格内容」.
     */
    [[nodiscard]] QString message() const;

    bool operator==(const GlossaryImportSummary &) const = default;
};

} // namespace wordlumen
