#include "glossarypackwriter.h"

#include "core/answertext.h"
#include "core/termkey.h"
#include "core/textmetrics.h"
#include "glossarypackageparser.h"
#include "glossarypackdraft.h"

#include <QSet>

namespace wordlumen::GlossaryPackWriter {

namespace {

const QString kCustomIndustry = QStringLiteral("自定义行业");

bool breaksTheLine(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control ||
           c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
}

// The parser strips 「**」 and every backtick from terms and aliases as Markdown
// emphasis. Their full-width forms look alike, fold to the same term key, and
// survive: a run of two or more asterisks and every backtick are replaced.
QString withoutEmphasisMarks(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'`') {
            result += u'｀';
        } else if (c == u'*') {
            qsizetype end = i;
            while (end < text.size() && text[end] == u'*')
                ++end;
            const qsizetype run = end - i;
            result += run >= 2 ? QString(run, u'＊') : QStringLiteral("*");
            i = end - 1;
        } else {
            result += c;
        }
    }
    return result;
}

bool isAliasSeparator(QChar c)
{
    return c == u',' || c == u'，' || c == u'、' || c == u';' || c == u'；';
}

QString cleanedTerm(const QString &term)
{
    return withoutEmphasisMarks(singleLine(term));
}

// One alias as a piece of the 「别名：a、b」 line: separators inside it would
// split it, so they become spaces (the term key treats both alike).
QString cleanedAlias(const QString &alias)
{
    QString text = alias;
    for (QChar &c : text) {
        if (isAliasSeparator(c))
            c = u' ';
    }
    return withoutEmphasisMarks(singleLine(text));
}

QString cleanedExplanation(const QString &explanation, bool *shortened)
{
    const QString text = singleLine(explanation);
    *shortened =
        TextMetrics::graphemeCount(text) > GlossaryPackageParser::kMaximumExplanationLength;
    if (!*shortened)
        return text;
    return AnswerText::readableExplanation(
        text, static_cast<int>(GlossaryPackageParser::kMaximumExplanationLength));
}

QString headerValue(const QString &value, const QString &fallback)
{
    const QString text = singleLine(value);
    return text.isEmpty() ? fallback : text;
}

} // namespace

QString singleLine(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool pendingSpace = false;
    for (const QChar c : text) {
        if (breaksTheLine(c)) {
            pendingSpace = !result.isEmpty();
            continue;
        }
        if (pendingSpace) {
            result += u' ';
            pendingSpace = false;
        }
        result += c;
    }
    return result;
}

GlossaryPackText write(const GlossaryPackHeader &header, const QList<CustomGlossaryEntry> &entries)
{
    GlossaryPackText pack;
    pack.header.industry = headerValue(header.industry, kCustomIndustry);
    pack.header.vocabularyDepth = headerValue(header.vocabularyDepth, kUnlabelled.toString());
    pack.header.explanationPerspective =
        headerValue(header.explanationPerspective, kUnlabelled.toString());

    // The title is only a fallback for the industry, which the line below names.
    const QString &industry = pack.header.industry;
    QString text = QStringLiteral("# ") + industry +
                   (industry.endsWith(u"补充包") ? QString() : QStringLiteral("补充包")) +
                   QStringLiteral("\n\n行业：") + industry + QStringLiteral("\n词表深度：") +
                   pack.header.vocabularyDepth + QStringLiteral("\n解释视角：") +
                   pack.header.explanationPerspective + u'\n';

    QSet<QString> writtenKeys;
    for (const CustomGlossaryEntry &entry : entries) {
        CustomGlossaryEntry written = entry;
        written.term = cleanedTerm(entry.term);
        bool shortened = false;
        written.explanation = cleanedExplanation(entry.explanation, &shortened);
        if (written.term.isEmpty() || written.explanation.isEmpty()) {
            ++pack.emptyCount;
            continue;
        }
        // The parser keeps the first entry of a term key, even an empty key.
        QString key = termKey(written.term);
        if (writtenKeys.contains(key)) {
            ++pack.duplicateCount;
            continue;
        }
        writtenKeys.insert(std::move(key));
        if (shortened)
            ++pack.shortenedCount;

        QStringList aliases;
        for (const QString &alias : entry.aliases)
            aliases.append(cleanedAlias(alias));
        written.aliases = GlossaryPackageParser::cleanedAliases(aliases, written.term);

        // The number keeps a term that starts with one (「3.5 Sonnet」) whole.
        text += QStringLiteral("\n## ") + QString::number(pack.entries.size() + 1) +
                QStringLiteral(". ") + written.term + u'\n';
        if (!written.aliases.isEmpty())
            text += QStringLiteral("- 别名：") + written.aliases.join(u'、') + u'\n';
        text += QStringLiteral("- 解释：") + written.explanation + u'\n';
        pack.entries.append(std::move(written));
    }
    pack.text = std::move(text);
    return pack;
}

} // namespace wordlumen::GlossaryPackWriter
