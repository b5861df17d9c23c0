#include "queryintentdetector.h"

#include "textmetrics.h"

namespace wordlumen::QueryIntentDetector {

namespace {
// A term is short; anything longer than this reads as a description.
constexpr qsizetype kLongestTerm = 17;
} // namespace

const QStringList &reverseLookupSignals()
{
    static const QStringList phrases{
        QStringLiteral("叫什么"),   QStringLiteral("什么术语"), QStringLiteral("什么黑话"),
        QStringLiteral("专业说法"), QStringLiteral("专业叫法"), QStringLiteral("这种能力"),
        QStringLiteral("这个能力"), QStringLiteral("这种做法"), QStringLiteral("这个过程"),
        QStringLiteral("有个词"),   QStringLiteral("用什么词"), QStringLiteral("英文怎么说"),
        QStringLiteral("对应的词"), QStringLiteral("术语是"),
    };
    return phrases;
}

bool shouldReverseLookup(QStringView query)
{
    const QString trimmed = TextMetrics::trimmed(query);
    if (trimmed.isEmpty())
        return false;
    for (const QString &phrase : reverseLookupSignals()) {
        if (trimmed.contains(phrase))
            return true;
    }
    return TextMetrics::graphemeCount(trimmed) > kLongestTerm;
}

} // namespace wordlumen::QueryIntentDetector
