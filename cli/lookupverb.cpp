#include "cardmodel/cardviewmodel.h"
#include "cardmodel/historyrecorder.h"
#include "cliverb.h"
#include "core/glossarystore.h"
#include "history/historystore.h"
#include "history/historywriter.h"
#include "online/keychainstore.h"
#include "packs/customglossarystore.h"
#include "terminalwriter.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <optional>

namespace wordlumen::cli {

namespace {

QJsonValue errorValue(const CardViewModel &model)
{
    if (model.errorMessage().isEmpty())
        return QJsonValue::Null;
    return model.errorMessage();
}

/// When the answer shown is a saved one: its time (UTC, ISO 8601); null otherwise.
QJsonValue savedValue(const CardViewModel &model)
{
    const HistoryRecorder *history = model.history();
    if (!history || !history->shownSaved())
        return QJsonValue::Null;
    return history->shownSaved()->lastSeen.toUTC().toString(Qt::ISODate);
}

void printJson(const CardViewModel &model, const QString &query, CliContext &context)
{
    QJsonObject object;
    if (model.answerMode() == CardViewModel::AnswerMode::ReverseLookup) {
        QJsonArray matches;
        for (const ReverseLookupMatch &match : model.reverseLookupMatches()) {
            matches.append(QJsonObject{
                {QStringLiteral("term"), match.term},
                {QStringLiteral("english"),
                 match.english ? QJsonValue(*match.english) : QJsonValue::Null},
                {QStringLiteral("reason"), match.reason},
                {QStringLiteral("confidence"),
                 match.confidence ? QJsonValue(*match.confidence) : QJsonValue::Null},
            });
        }
        object = {{QStringLiteral("mode"), QStringLiteral("reverseLookup")},
                  {QStringLiteral("matches"), matches},
                  {QStringLiteral("error"), errorValue(model)}};
    } else {
        const auto &result = model.result();
        object = {{QStringLiteral("mode"), QStringLiteral("explanation")},
                  {QStringLiteral("term"), result ? result->term : query},
                  {QStringLiteral("explanation"), result ? result->explanation : QString()},
                  {QStringLiteral("origin"),
                   toString(result ? result->origin : ExplanationOrigin::Unavailable)},
                  {QStringLiteral("saved"), savedValue(model)},
                  {QStringLiteral("error"), errorValue(model)}};
    }
    context.out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) << '\n';
    context.out.flush();
}

void printCandidates(const CardViewModel &model, CliContext &context)
{
    context.out << "你可能在找：\n";
    int number = 1;
    for (const ReverseLookupMatch &match : model.reverseLookupMatches())
        context.out << number++ << ". " << match.displayTerm() << " — " << match.reason << '\n';
    context.out.flush();
}

/// Whether the lookup ended in an answer. A message on the card is a failure
/// even beside text: the online explanation that failed shows its notice, or
/// the part that arrived before the failure, as the answer.
bool answered(const CardViewModel &model)
{
    if (!model.errorMessage().isEmpty())
        return false;
    if (model.answerMode() == CardViewModel::AnswerMode::ReverseLookup)
        return !model.reverseLookupMatches().isEmpty();
    const auto &result = model.result();
    return result && result->origin != ExplanationOrigin::Unavailable &&
           !result->explanation.isEmpty();
}

} // namespace

int runLookup(const QStringList &arguments, CliContext &context)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("查一个词，或用一句话描述想找的词。多个参数用空格连成一句。\n"
                       "先查已启用的补充包，再查本地词典；存有 API Key 时由在线 API 解释或反查。"));
    const QCommandLineOption offline(QStringLiteral("offline"),
                                     QStringLiteral("只查本地，不使用在线 API。"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("结束后输出一个 JSON 对象。"));
    const QCommandLineOption dictionary(QStringLiteral("dictionary"),
                                        QStringLiteral("从 DIR 读取 Glossary.md 和 Aliases.json。"),
                                        QStringLiteral("DIR"));
    const QCommandLineOption library(QStringLiteral("library"),
                                     QStringLiteral("使用 FILE 作为补充包库，而不是默认位置。"),
                                     QStringLiteral("FILE"));
    const QCommandLineOption noHistory(
        QStringLiteral("no-history"),
        QStringLiteral("不记入查询历史，也不使用历史里保存的在线答案。"));
    parser.addOptions({offline, json, dictionary, library, noHistory});
    parser.addPositionalArgument(QStringLiteral("QUERY"), QStringLiteral("要查的词或描述。"),
                                 QStringLiteral("QUERY..."));
    int exitCode = Success;
    if (!parseVerbArguments(parser, QStringLiteral("lookup"), arguments, context, &exitCode))
        return exitCode;

    const QString query = parser.positionalArguments().join(u' ');
    if (query.trimmed().isEmpty())
        return usageError(parser, QStringLiteral("lookup"), QStringLiteral("缺少要查的词。"),
                          context);

    // A dictionary that fails to load is reported and left out, as the card does.
    const auto store = parser.isSet(dictionary)
                           ? GlossaryStore::loadFromDirectory(parser.value(dictionary))
                           : GlossaryStore::loadInstalled();
    std::optional<GlossaryStore> glossary;
    if (store)
        glossary = store.value();
    else
        context.err << store.error().message() << '\n';

    CustomGlossaryStore packs(parser.isSet(library) ? parser.value(library)
                                                    : CustomGlossaryStore::defaultFilePath());
    if (!packs.loadError().isEmpty())
        context.err << packs.loadError() << '\n';
    context.err.flush();

    CardViewModel::KeyProvider keyProvider;
    if (parser.isSet(offline))
        keyProvider = [] {
            return QString();
        };
    CardViewModel model(glossary, &packs, {}, keyProvider);

    // The same history as the card's: the answer is recorded, and an online
    // answer saved from the same service in the same style is shown again.
    std::unique_ptr<HistoryStore> history;
    std::unique_ptr<HistoryWriter> writer;
    std::unique_ptr<HistoryRecorder> recorder;
    if (!parser.isSet(noHistory)) {
        history = std::make_unique<HistoryStore>(HistoryStore::defaultFilePath(),
                                                 HistoryStore::optionsFromSettings());
        writer = std::make_unique<HistoryWriter>(history.get());
        recorder = std::make_unique<HistoryRecorder>(history.get(), writer.get(), &packs);
        QObject::connect(writer.get(), &HistoryWriter::recordFailed, writer.get(),
                         [&context](const QString &, HistoryError error) {
                             context.err << QStringLiteral("这次查询没有记入历史：")
                                         << historyErrorMessage(error) << '\n';
                             context.err.flush();
                         });
        model.setHistory(recorder.get());
    }

    TerminalWriter terminal(context);
    const bool streaming = !parser.isSet(json) && context.outIsTerminal;
    QObject::connect(&model, &CardViewModel::resultChanged, &model, [&] {
        if (streaming && model.isLoading() && model.result())
            terminal.showStreaming(model.result()->term, model.result()->explanation);
    });

    model.setQuery(query);
    model.explain();
    if (model.isLoading()) {
        QEventLoop loop;
        QObject::connect(&model, &CardViewModel::isLoadingChanged, &loop, [&] {
            if (!model.isLoading())
                loop.quit();
        });
        loop.exec();
    }

    if (writer)
        writer->waitForWritten();
    if (history && !history->statusMessage().isEmpty()) {
        context.err << history->statusMessage() << '\n';
        context.err.flush();
    }

    if (parser.isSet(json)) {
        printJson(model, query.trimmed(), context);
    } else {
        if (model.answerMode() == CardViewModel::AnswerMode::ReverseLookup)
            printCandidates(model, context);
        else if (const auto &result = model.result())
            terminal.showFinal(result->term, result->explanation);
        if (recorder && recorder->showsSaved()) {
            context.out << recorder->savedLabel()
                        << QStringLiteral("（不想用保存的答案时加 --no-history）") << '\n';
            context.out.flush();
        }
        if (!model.errorMessage().isEmpty()) {
            context.err << model.errorMessage() << '\n';
            context.err.flush();
        }
    }
    return answered(model) ? Success : ShownError;
}

} // namespace wordlumen::cli
