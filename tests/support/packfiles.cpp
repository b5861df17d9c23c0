#include "tests/support/packfiles.h"

#include <QFile>
#include <QTemporaryDir>

namespace wordlumen::testing {

QString numberedPackText(const QString &industry, int count, const QString &depth,
                         const QString &perspective)
{
    QString text = QStringLiteral("# 行业黑话补充包\n\n行业：%1\n").arg(industry);
    if (!depth.isEmpty())
        text += QStringLiteral("词表深度：%1\n").arg(depth);
    if (!perspective.isEmpty())
        text += QStringLiteral("解释视角：%1\n").arg(perspective);
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("\n## %1｜术语%1\n解释：第 %1 个术语的白话解释。\n").arg(i);
    return text;
}

QString writeTextFile(const QTemporaryDir &dir, const QString &fileName, const QString &text)
{
    const QString path = dir.filePath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return {};
    return path;
}

} // namespace wordlumen::testing
