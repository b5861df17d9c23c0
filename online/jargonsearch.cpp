#include "jargonsearch.h"

#include "chatprotocol.h"
#include "core/answertext.h"
#include "core/glossarytextmatcher.h"
#include "core/termkey.h"
#include "core/textmetrics.h"
#include "deepseekclient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace wordlumen::JargonSearch {

namespace {

const QString kRules = QStringLiteral(
    "你帮一位不熟悉行业术语的上班族读懂一段工作中的文字。\n"
    "\n"
    "规则：\n"
    "- 找出这段文字里的行业黑话、缩写和专业术语，最多 8 个，按在文中出现的先后排列。\n"
    "- term 照原文写，必须是这段文字里原样出现的词。\n"
    "- 下面“已经解释过的词”不要再列。普通词语不算黑话。\n"
    "- explanation 用一句白话说明这个词在这段话里指什么，控制在 40 个汉字内。\n"
    "- 没有其余黑话时返回 {\"terms\":[]}。\n"
    "- 不寒暄，不输出 Markdown。只返回下面结构的合法 JSON：\n"
    "{\"terms\":[{\"term\":\"拉通\",\"explanation\":\"把相关的人和部门叫到一起，"
    "统一信息和做法\"}]}\n"
    "\n"
    "已经解释过的词：\n");

QString singleLine(QString text)
{
    return text.replace(u'\n', u' ').replace(u'\r', u' ');
}

} // namespace

QString sentPassage(QStringView passage)
{
    return TextMetrics::leftGraphemes(passage, kPassageLimit);
}

bool isCut(QStringView passage)
{
    return TextMetrics::graphemeCount(passage) > kPassageLimit;
}

QString prompt(const QStringList &knownNames)
{
    QStringList lines;
    for (const QString &name : knownNames.first(qMin(knownNames.size(), kKnownNameLimit)))
        lines.append(QStringLiteral("- ") + singleLine(name));
    if (lines.isEmpty())
        lines.append(QStringLiteral("（无）"));
    return kRules + lines.join(u'\n');
}

QList<FoundJargon> cleaned(const QList<FoundJargon> &terms, QStringView sentPassage,
                           const QStringList &knownNames)
{
    QSet<QString> skipped;
    for (const QString &name : knownNames)
        skipped.insert(termKey(name));
    const QString passageKey = termKey(sentPassage);

    QList<FoundJargon> kept;
    for (const FoundJargon &found : terms) {
        const QString term = TextMetrics::trimmed(found.term);
        const QString explanation = TextMetrics::trimmed(found.explanation);
        const QString key = termKey(term);
        if (key.isEmpty() || explanation.isEmpty() || skipped.contains(key))
            continue;
        if (!GlossaryTextMatcher::contains(key, passageKey))
            continue;
        skipped.insert(key);
        kept.append({term, AnswerText::readableExplanation(explanation, kExplanationLength)});
        if (kept.size() == kMaximumTerms)
            break;
    }
    return kept;
}

Result<QList<FoundJargon>, DeepSeekError>
decodeReply(const QByteArray &body, QStringView sentPassage, const QStringList &knownNames)
{
    const ChatProtocol::ChatResponseContent response = ChatProtocol::decodeChatResponse(body);
    if (response.error)
        return DeepSeekError::decoding(*response.error);
    if (!response.content)
        return DeepSeekError::invalidResponse();
    const std::optional<QByteArray> json = DeepSeekClient::extractJSONObject(*response.content);
    if (!json)
        return DeepSeekError::invalidResponse();
    const QJsonDocument document = QJsonDocument::fromJson(*json);
    const QJsonValue items =
        document.isObject() ? document.object().value(QStringLiteral("terms")) : QJsonValue();
    if (!items.isArray())
        return DeepSeekError::invalidResponse();

    QList<FoundJargon> named;
    for (const QJsonValue item : items.toArray()) {
        const QJsonValue term = item.toObject().value(QStringLiteral("term"));
        const QJsonValue explanation = item.toObject().value(QStringLiteral("explanation"));
        if (term.isString() && explanation.isString())
            named.append({term.toString(), explanation.toString()});
    }
    return cleaned(named, sentPassage, knownNames);
}

} // namespace wordlumen::JargonSearch
