#include "cliverb.h"
#include "core/explanationresult.h"
#include "core/glossarystore.h"
#include "core/queryintentdetector.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace wordlumen::cli {

namespace {

const QString kMissingTermNotice =
    QStringLiteral("本地词典还没收录这个词。接上在线 API 后，我可以继续把它翻成容易理解的白话。");
const QString kDescriptionNotice =
    QStringLiteral("这句话像是在描述一个专业术语。接上在线 API "
                   "后，我可以反查最可能的黑话，而且不会打断你正在工作的主对话。");

void printResult(const ExplanationResult &result, bool json, CliContext &context)
{
    if (json) {
        const QJsonObject object{
            {QStringLiteral("mode"), QStringLiteral("explanation")},
            {QStringLiteral("term"), result.term},
            {QStringLiteral("explanation"), result.explanation},
            {QStringLiteral("origin"), toString(result.origin)},
            {QStringLiteral("error"), QJsonValue::Null},
        };
        context.out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact))
                    << '\n';
    } else {
        context.out << result.term << '\n' << result.explanation << '\n';
    }
    context.out.flush();
}

} // namespace

int runLookup(const QStringList &arguments, CliContext &context)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("查一个词，或用一句话描述想找的词。多个参数用空格连成一句。"));
    const QCommandLineOption offline(QStringLiteral("offline"), QStringLiteral("不使用在线 API。"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("输出一个 JSON 对象。"));
    const QCommandLineOption dictionary(QStringLiteral("dictionary"),
                                        QStringLiteral("从 DIR 读取 Glossary.md 和 Aliases.json。"),
                                        QStringLiteral("DIR"));
    parser.addOptions({offline, json, dictionary});
    parser.addPositionalArgument(QStringLiteral("QUERY"), QStringLiteral("要查的词或描述。"),
                                 QStringLiteral("QUERY..."));
    int exitCode = Success;
    if (!parseVerbArguments(parser, QStringLiteral("lookup"), arguments, context, &exitCode))
        return exitCode;

    const QString query = parser.positionalArguments().join(u' ');
    if (query.trimmed().isEmpty())
        return usageError(parser, QStringLiteral("lookup"), QStringLiteral("缺少要查的词。"),
                          context);

    const auto store = parser.isSet(dictionary)
                           ? GlossaryStore::loadFromDirectory(parser.value(dictionary))
                           : GlossaryStore::loadInstalled();
    std::optional<GlossaryStore> glossary;
    if (store)
        glossary = store.value();
    else
        context.err << store.error().message() << '\n';
    context.err.flush();

    ExplanationResult result;
    const QString trimmed = query.trimmed();
    if (const auto entry = glossary ? glossary->match(trimmed) : std::nullopt) {
        result = {entry->term, entry->explanation, ExplanationOrigin::Local};
    } else {
        const bool description = QueryIntentDetector::shouldReverseLookup(trimmed);
        result = {trimmed, description ? kDescriptionNotice : kMissingTermNotice,
                  ExplanationOrigin::Unavailable};
    }
    printResult(result, parser.isSet(json), context);
    return result.origin == ExplanationOrigin::Unavailable ? ShownError : Success;
}

} // namespace wordlumen::cli
