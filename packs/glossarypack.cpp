#include "glossarypack.h"

#include <QStringList>

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

} // namespace wordlumen
