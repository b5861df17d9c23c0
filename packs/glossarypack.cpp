#include "glossarypack.h"

#include <QStringList>

#include <algorithm>

namespace wordlumen {

QString GlossaryPack::displayName() const
{
    static const QString suffix = QStringLiteral("补充包");
    if (industry.endsWith(suffix))
        return industry;
    return industry + suffix;
}

QString GlossaryPack::detail() const
{
    QStringList parts;
    for (const QString *label : {&vocabularyDepth, &explanationPerspective}) {
        if (!label->isEmpty() && *label != kUnlabelled)
            parts.append(*label);
    }
    return parts.join(QStringLiteral(" · "));
}

GlossaryPack GlossaryPack::fromDraft(const GlossaryPackDraft &draft, QUuid id, QDateTime importedAt)
{
    GlossaryPack pack;
    pack.id = id;
    pack.industry = draft.industry;
    pack.vocabularyDepth = draft.vocabularyDepth;
    pack.explanationPerspective = draft.explanationPerspective;
    pack.sourceFileName = draft.sourceFileName;
    pack.entries = draft.entries;
    pack.importedAt = std::move(importedAt);
    return pack;
}

void GlossaryPack::sortNewestFirst(QList<GlossaryPack> &packs)
{
    std::stable_sort(packs.begin(), packs.end(), [](const GlossaryPack &a, const GlossaryPack &b) {
        return a.importedAt > b.importedAt;
    });
}

} // namespace wordlumen
