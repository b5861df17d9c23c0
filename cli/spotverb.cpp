// The spot verb: every known term in a passage, with its place, its source and
// its short explanation, from the same spotter the card uses.
#include "cardmodel/passagespotter.h"
#include "cliverb.h"
#include "core/glossarystore.h"
#include "packs/customglossarystore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <cstdio>
#include <optional>

namespace wordlumen::cli {

namespace {

/// The passage from standard input; nothing when it is not UTF-8 text.
std::optional<QString> readStandardInput()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = input.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString sourceName(ExplanationOrigin origin)
{
    return origin == ExplanationOrigin::Custom ? QStringLiteral("行业补充包")
                                               : QStringLiteral("本地词典");
}

void printJson(const QList<SpottedTerm> &terms, CliContext &context)
{
    QJsonArray array;
    for (const SpottedTerm &term : terms) {
        array.append(QJsonObject{
            {QStringLiteral("text"), term.text},
            {QStringLiteral("start"), term.characterStart},
            {QStringLiteral("length"), term.characterLength},
            {QStringLiteral("term"), term.term},
            {QStringLiteral("origin"), toString(term.origin)},
            {QStringLiteral("explanation"), term.explanation},
        });
    }
    context.out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)) << '\n';
    context.out.flush();
}

// One block per term: where it is, what it names and where that comes from,
// then the short explanation.
void printText(const QList<SpottedTerm> &terms, CliContext &context)
{
    for (const SpottedTerm &term : terms) {
        context.out << term.text << "  （第 " << term.characterStart + 1 << " 字起，共 "
                    << term.characterLength << " 字）";
        if (term.term != term.text)
            context.out << " → " << term.term;
        context.out << " · " << sourceName(term.origin) << '\n'
                    << "    " << term.explanation << '\n';
    }
    context.out.flush();
}

} // namespace

int runSpot(const QStringList &arguments, CliContext &context)
{
    const QString verb = QStringLiteral("spot");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("找出一段文字里所有认得的术语：已启用的补充包和本地词典里的词。\n"
                       "没有 TEXT 或 TEXT 是“-”时从标准输入读（UTF-8）。多个参数用空格连成一段。\n"
                       "位置按字计（表情、带附加符号的字母都算一个字）；JSON 里的 start 从 0 "
                       "数起，文字输出从第 1 字数起。"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("输出一个 JSON 数组，每个术语一个对象。"));
    const QCommandLineOption dictionary(QStringLiteral("dictionary"),
                                        QStringLiteral("从 DIR 读取 Glossary.md 和 Aliases.json。"),
                                        QStringLiteral("DIR"));
    const QCommandLineOption library(QStringLiteral("library"),
                                     QStringLiteral("使用 FILE 作为补充包库，而不是默认位置。"),
                                     QStringLiteral("FILE"));
    parser.addOptions({json, dictionary, library});
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("要找术语的文字。"),
                                 QStringLiteral("[TEXT...]"));
    int exitCode = Success;
    if (!parseVerbArguments(parser, verb, arguments, context, &exitCode))
        return exitCode;

    const QStringList words = parser.positionalArguments();
    const bool fromStandardInput = words.isEmpty() || words == QStringList{QStringLiteral("-")};
    if (!fromStandardInput && words.contains(QStringLiteral("-")))
        return usageError(parser, verb, QStringLiteral("“-”（从标准输入读）只能单独使用。"),
                          context);

    QString passage;
    if (fromStandardInput) {
        const auto input = readStandardInput();
        if (!input) {
            context.err << "读不了输入的文字：请用 UTF-8 编码。\n";
            context.err.flush();
            return ShownError;
        }
        passage = *input;
    } else {
        passage = words.join(u' ');
    }

    // A dictionary or library that fails to load is reported and left out, as in a lookup.
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

    const PassageSpotter spotter(std::move(glossary), &packs);
    const QList<SpottedTerm> terms = spotter.spot(passage);
    if (terms.isEmpty()) {
        context.err << "这段文字里没有认得的术语。\n";
        context.err.flush();
        return Success;
    }
    if (parser.isSet(json))
        printJson(terms, context);
    else
        printText(terms, context);
    return Success;
}

} // namespace wordlumen::cli
