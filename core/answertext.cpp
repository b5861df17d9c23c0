#include "answertext.h"

#include "textmetrics.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace wordlumen::AnswerText {

QString readableExplanation(const QString &text, int maximumCharacterCount)
{
    const int max = maximumCharacterCount;
    const QString t = TextMetrics::trimmed(text);
    if (TextMetrics::graphemeCount(t) <= max)
        return t;

    // Work on whole grapheme clusters so that a cut never splits one.
    const QString p = TextMetrics::leftGraphemes(t, max);
    QStringList clusters;
    {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, p);
        qsizetype start = 0;
        for (qsizetype end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
            clusters.append(p.mid(start, end - start));
            start = end;
        }
    }

    static const QStringList sentenceEnds{
        QStringLiteral("。"), QStringLiteral("！"), QStringLiteral("？"), QStringLiteral("!"),
        QStringLiteral("?"),  QStringLiteral("；"), QStringLiteral(";")};
    for (qsizetype i = clusters.size() - 1; i >= 0; --i) {
        if (!sentenceEnds.contains(clusters[i]))
            continue;
        const qsizetype keep = i + 1;
        // A sentence end too early would throw away most of the answer.
        const qsizetype threshold = max > 47 ? max / 2 : 24;
        if (keep >= threshold)
            return clusters.mid(0, keep).join(QString());
        break;
    }
    const qsizetype head = std::max(max - 1, 1);
    return TextMetrics::trimmed(clusters.mid(0, head).join(QString())) + QStringLiteral("…");
}

QString displayTitle(const QString &term)
{
    static const QRegularExpression fullWidthParenthesised(QStringLiteral("（.*?）"));
    QString title = term;
    title.remove(fullWidthParenthesised);
    return TextMetrics::trimmed(title);
}

} // namespace wordlumen::AnswerText
