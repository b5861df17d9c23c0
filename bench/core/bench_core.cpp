// Matching a query against the built-in dictionary, the precomputed way beside
// the literal rule (every alias normalised on every call), in one run.
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

} // namespace

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
