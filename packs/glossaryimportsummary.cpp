#include "glossaryimportsummary.h"

#include <QStringList>

namespace wordlumen {

QString GlossaryImportSummary::message() const
{
    QStringList parts{
        QStringLiteral("已导入 %1 · %2 条").arg(pack.displayName()).arg(pack.entryCount())};
    if (replacedExistingPack)
        parts.append(QStringLiteral("已更新旧版本"));
    if (duplicateTermCount >= 1)
        parts.append(QStringLiteral("%1 条与其他补充包重名").arg(duplicateTermCount));
    if (ignoredEntryCount >= 1)
        parts.append(QStringLiteral("跳过 %1 条不合格内容").arg(ignoredEntryCount));
    return parts.join(QStringLiteral("，"));
}

} // namespace wordlumen
