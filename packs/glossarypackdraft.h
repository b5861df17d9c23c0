#pragma once

#include "customglossaryentry.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace wordlumen {

/// The label a pack gets for depth or perspective when its file names none.
inline constexpr QStringView kUnlabelled = u"未标注";

/// What the parser made of one pack file, before the library stores it.
struct GlossaryPackDraft
{
    /// Never empty: falls back to the title or file name, then "自定义行业".
    QString industry;
    /// "未标注" when the file names none.
    QString vocabularyDepth;
    /// "未标注" when the file names none.
    QString explanationPerspective;
    /// The file name as the caller gave it, extension included.
    QString sourceFileName;
    /// Accepted entries in file order; never empty.
    QList<CustomGlossaryEntry> entries;
    /// Entries that were started but failed their checks.
    qsizetype ignoredEntryCount = 0;

    bool operator==(const GlossaryPackDraft &) const = default;
};

} // namespace wordlumen
