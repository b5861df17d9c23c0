// Matching a query against the built-in dictionary, the name index beside the
// literal rule (every alias normalised on every call), in one run; and parsing
// a dictionary text with a long white-space run, which must stay linear.
#include "core/glossarystore.h"
#include "tests/support/literalrules.h"

#include <QRandomGenerator>
#include <QStringList>

#include <benchmark/benchmark.h>

using namespace wordlumen;
using wordlumen::testing::literalMatch;

namespace {

// Dictionary-shaped synthetic entries: a Chinese name with an English name in
// full-width parentheses, plus a few extra spellings, as the real files have.
GlossaryStore syntheticStore(int count)
{
    static const QStringList syllables{
        QStringLiteral("检索"), QStringLiteral("增强"), QStringLiteral("模型"),
        QStringLiteral("向量"), QStringLiteral("上下"), QStringLiteral("推理"),
        QStringLiteral("微调"), QStringLiteral("数据"), QStringLiteral("闭环"),
        QStringLiteral("对齐"), QStringLiteral("智能"), QStringLiteral("嵌入")};
    QRandomGenerator random(42);
    QList<GlossaryEntry> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString chinese = syllables[random.bounded(syllables.size())] +
                                syllables[random.bounded(syllables.size())] + QString::number(i);
        const QString english = QStringLiteral("Term %1 Name").arg(i);
        const QString abbreviation = QStringLiteral("T%1N").arg(i);
        const QString title = chinese + QStringLiteral("（") + english + QStringLiteral(" / ") +
                              abbreviation + QStringLiteral("）");
        QStringList aliases = GlossaryStore::namesDerivedFromTitle(title);
        aliases << abbreviation.toLower() + QStringLiteral("检索")
                << QStringLiteral("ＴＥＲＭ%1").arg(i);
        entries.append({i + 1, title, QStringLiteral("解释"), aliases});
    }
    return GlossaryStore(entries);
}

const QStringList &queries()
{
    static const QStringList list{
        QStringLiteral("什么是 T17N？"),       QStringLiteral("term 42 name"),
        QStringLiteral("检索增强7"),           QStringLiteral("完全不存在的词"),
        QStringLiteral("t150n检索是什么意思"), QStringLiteral("这种能力叫什么"),
        QStringLiteral("ＴＥＲＭ199")};
    return list;
}

template<bool Literal>
void BM_Match(benchmark::State &state)
{
    const GlossaryStore store = syntheticStore(int(state.range(0)));
    qsizetype index = 0;
    for (auto _ : state) {
        const QString &query = queries()[index++ % queries().size()];
        if constexpr (Literal)
            benchmark::DoNotOptimize(literalMatch(store, query));
        else
            benchmark::DoNotOptimize(store.match(query));
    }
    state.SetLabel(Literal ? "literal rule" : "name index");
}

// A dictionary text of 200 entries where one explanation holds a long run of
// white space, as a file damaged by a careless edit or a hostile one would.
// Loading must stay linear in the text's length; the run is cut by an inner
// word so that the text after it still reaches the next entry.
QString dictionaryWithWhiteSpaceRun(qsizetype runLength)
{
    QString text = QStringLiteral("# 词典\n\n");
    for (int i = 1; i <= 200; ++i) {
        text += QStringLiteral("%1. **词条%1（Term %1）**\n白话：第 %1 条的解释").arg(i);
        if (i == 100)
            text += QString(runLength, u' ') + QStringLiteral("续") + QString(runLength, u'\n');
        text += QStringLiteral("。\n\n");
    }
    return text;
}

void BM_ParseWhiteSpaceRun(benchmark::State &state)
{
    const QString text = dictionaryWithWhiteSpaceRun(state.range(0));
    for (auto _ : state) {
        const auto entries = GlossaryStore::parse(text, {});
        if (!entries)
            state.SkipWithError(qPrintable(entries.error().message()));
        benchmark::DoNotOptimize(entries);
    }
    state.SetLabel("one explanation with a white-space run of this length, twice");
}

} // namespace

BENCHMARK(BM_ParseWhiteSpaceRun)
    ->Name("GlossaryParse/whiteSpaceRun")
    ->Arg(0)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Match<false>)
    ->Name("GlossaryMatch/precomputed")
    ->Arg(200)
    ->Arg(20000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Match<true>)
    ->Name("GlossaryMatch/literal")
    ->Arg(200)
    ->Arg(20000)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
