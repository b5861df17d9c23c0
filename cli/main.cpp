#include "cliverb.h"
#include "core/identity.h"
#include "terminal.h"

#include <QCoreApplication>

using namespace wordlumen::cli;

namespace {

struct Verb
{
    const char *name;
    VerbFunction run;
    const char *summary;
};

// One line per verb; the order is the order of the usage text.
constexpr Verb kVerbs[] = {
    {"lookup", runLookup, "查一个词或一句描述：补充包、本地词典，有 API Key 时在线解释"},
    {"spot", runSpot, "找出一段文字里所有认得的术语，附位置、来源和简短解释"},
    {"check-pack", runCheckPack, "读一个补充包文件，显示能识别出的词条，不导入"},
    {"import", runImport, "导入一个补充包文件，或用 --bundled 添加附带词库"},
    {"packs", runPacks, "列出补充包（--bundled：附带词库），或启用、停用、删除其中一个"},
    {"config", runConfig, "读取或修改一项设置，例如 config explanationLength brief"},
    {"set-key", runSetKey, "从标准输入读 API Key 并保存"},
    {"clear-key", runClearKey, "删除已保存的 API Key"},
    {"history", runHistory, "列出查询历史，收藏、导出或清空"},
};

void printUsage(QTextStream &stream)
{
    stream << "Wordlumen 终端伴侣：在终端里查黑话、管理补充包和设置。\n\n"
           << "用法：wordlumen-cli <动作> [选项] [参数]\n\n动作：\n";
    for (const Verb &verb : kVerbs)
        stream << "  " << QString::fromLatin1(verb.name).leftJustified(12)
               << QString::fromUtf8(verb.summary) << '\n';
    stream << "\n每个动作都支持 --help。\n";
    stream.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    wordlumen::Identity::applyToApplication();

    QTextStream out(stdout);
    QTextStream err(stderr);
    CliContext context{out, err, Terminal::outputIsTerminal()};

    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        printUsage(err);
        return UsageError;
    }
    const QString verbName = arguments.takeFirst();
    if (verbName == QLatin1String("--help") || verbName == QLatin1String("-h") ||
        verbName == QLatin1String("help")) {
        printUsage(out);
        return Success;
    }
    for (const Verb &verb : kVerbs) {
        if (verbName == QLatin1String(verb.name))
            return verb.run(arguments, context);
    }
    err << "wordlumen-cli: 不认识的动作“" << verbName << "”。\n\n";
    printUsage(err);
    return UsageError;
}
