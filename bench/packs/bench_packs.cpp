// The supplement pack library under load: matching against 20,000 enabled
// entries (cached term keys beside the literal rule, in one run), importing
// and persisting a 5,000-entry pack, and loading a 50,000-entry library.
// A summary after the table sets the figures against their targets.
#include "packs/customglossarystore.h"
#include "packs/glossarylibraryfile.h"
#include "packs/isotimestamp.h"
#include "tests/support/literalrules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

using namespace wordlumen;
using wordlumen::testing::literalMatch;

namespace {

const QStringList &syllables()
{
    static const QStringList list{
        QStringLiteral("检索"), QStringLiteral("增强"), QStringLiteral("模型"),
        QStringLiteral("向量"), QStringLiteral("上下"), QStringLiteral("推理"),
        QStringLiteral("微调"), QStringLiteral("数据"), QStringLiteral("闭环"),
        QStringLiteral("对齐"), QStringLiteral("智能"), QStringLiteral("嵌入")};
    return list;
}

// Entry `i` of a synthetic pack, shaped like what the pack prompt produces: a
// Chinese term, its English name first among the aliases, an abbreviation.
CustomGlossaryEntry syntheticEntry(int i, const QDateTime &time)
{
    const QStringList &s = syllables();
    const QString term = s[i % s.size()] + s[(i / s.size()) % s.size()] + QString::number(i);
    return {QUuid::createUuid(),
            term,
            {QStringLiteral("Synthetic Term %1").arg(i), QStringLiteral("ST%1").arg(i)},
            QStringLiteral("第 %1 条补充词条的白话解释，长度和真实词条差不多，不超过一百八十个字。")
                .arg(i),
            time,
            time};
}

QList<GlossaryPack> syntheticPacks(int entryCount, int packCount)
{
    const QDateTime start = IsoTimestamp::now();
    QList<GlossaryPack> packs;
    int next = 0;
    for (int p = 0; p < packCount; ++p) {
        GlossaryPack pack;
        pack.id = QUuid::createUuid();
        pack.industry = QStringLiteral("行业%1").arg(p);
        pack.vocabularyDepth = QStringLiteral("入门");
        pack.explanationPerspective = QStringLiteral("给新人");
        pack.sourceFileName = pack.industry + QStringLiteral(".md");
        pack.importedAt = start.addSecs(-60 * p);
        const int end = entryCount * (p + 1) / packCount;
        for (; next < end; ++next)
            pack.entries.append(syntheticEntry(next, start));
        packs.append(std::move(pack));
    }
    return packs;
}

QString packFileText(int entryCount)
{
    QString text =
        QStringLiteral("# 基准黑话补充包\n行业：基准\n词表深度：入门\n解释视角：给新人\n\n");
    for (int i = 0; i < entryCount; ++i) {
        const CustomGlossaryEntry entry = syntheticEntry(100000 + i, {});
        text += QStringLiteral("## %1. %2\n- 英文：%3\n- 别名：%4\n- 解释：%5\n\n")
                    .arg(QString::number(i + 1), entry.term, entry.aliases[0], entry.aliases[1],
                         entry.explanation);
    }
    return text;
}

void writeLibrary(const QString &path, const QList<GlossaryPack> &packs)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(GlossaryLibraryFile::encode(packs)) < 0)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// One library of 20,000 enabled entries shared by both match benchmarks.
struct MatchFixture
{
    QTemporaryDir dir;
    std::unique_ptr<CustomGlossaryStore> store;

    MatchFixture()
    {
        const QString path = dir.filePath(QStringLiteral("MyGlossary.json"));
        writeLibrary(path, syntheticPacks(20000, 8));
        store = std::make_unique<CustomGlossaryStore>(path);
    }
    static MatchFixture &instance()
    {
        static MatchFixture fixture;
        return fixture;
    }
};

const QStringList &queries()
{
    // Hits by exact name and by containment, near misses and plain misses.
    static const QStringList list{
        QStringLiteral("什么是 ST17？"),
        QStringLiteral("synthetic term 4242"),
        QStringLiteral("检索增强12"),
        QStringLiteral("完全不存在的词"),
        QStringLiteral("这个模型对齐1999是什么意思"),
        QStringLiteral("st150 和 st151 哪个好"),
        QStringLiteral("ＳＴ１９９９９"),
        QStringLiteral("paragraph"),
    };
    return list;
}

template<bool Literal>
void BM_PackMatch(benchmark::State &state)
{
    const CustomGlossaryStore &store = *MatchFixture::instance().store;
    // The keys are built on the first query after a change; that cost is
    // measured by BM_LoadThenFirstMatch, not here.
    benchmark::DoNotOptimize(store.match(u"warm up"));
    qsizetype index = 0;
    for (auto _ : state) {
        const QString &query = queries()[index++ % queries().size()];
        if constexpr (Literal)
            benchmark::DoNotOptimize(literalMatch(store, query));
        else
            benchmark::DoNotOptimize(store.match(query));
    }
}

void BM_ImportAndPersist(benchmark::State &state)
{
    const QString text = packFileText(5000);
    const QList<GlossaryPack> existing =
        state.range(0) > 0 ? syntheticPacks(int(state.range(0)), 4) : QList<GlossaryPack>();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Zintaro/MyGlossary.json"));
        if (!existing.isEmpty())
            writeLibrary(path, existing);
        auto store = std::make_unique<CustomGlossaryStore>(path);
        state.ResumeTiming();

        const auto summary = store->importText(text, QStringLiteral("基准黑话补充包.md"));
        if (!summary)
            state.SkipWithError(qPrintable(summary.error().message()));

        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}

struct LoadFixture
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("MyGlossary.json"));
    LoadFixture() { writeLibrary(path, syntheticPacks(50000, 10)); }
    static LoadFixture &instance()
    {
        static LoadFixture fixture;
        return fixture;
    }
};

void BM_Load(benchmark::State &state)
{
    const QString &path = LoadFixture::instance().path;
    for (auto _ : state) {
        CustomGlossaryStore store(path);
        if (store.packs().size() != 10)
            state.SkipWithError("library did not load");
        benchmark::DoNotOptimize(store.packs().size());
    }
}

void BM_LoadThenFirstMatch(benchmark::State &state)
{
    const QString &path = LoadFixture::instance().path;
    for (auto _ : state) {
        CustomGlossaryStore store(path);
        benchmark::DoNotOptimize(store.match(u"什么是 ST17？"));
    }
}

// Collects mean real times so the summary can set them against the targets.
class SummaryReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                m_millis[run.benchmark_name()] = run.GetAdjustedRealTime() * 1000.0 /
                                                 benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto figure = [&](const char *name) {
            const auto it = m_millis.find(name);
            return it == m_millis.end() ? -1.0 : it->second;
        };
        const double fast = figure("PackMatch/cachedKeys");
        const double literal = figure("PackMatch/literalRule");
        std::printf("\nSupplement packs against their targets (mean per operation)\n");
        std::printf(
            "  match, 20,000 enabled entries: %.4f ms (target < 1 ms); literal rule %.3f ms; "
            "%.0fx faster (target >= 20x)\n",
            fast, literal, fast > 0 ? literal / fast : 0.0);
        std::printf("  import and persist a 5,000-entry pack: %.1f ms into an empty library, "
                    "%.1f ms beside 20,000 entries (target < 250 ms)\n",
                    figure("ImportAndPersist/0"), figure("ImportAndPersist/20000"));
        std::printf("  load a 50,000-entry library: %.1f ms (target < 500 ms); with the first "
                    "match, which builds the keys: %.1f ms\n",
                    figure("LoadLibrary/50000"), figure("LoadLibraryThenFirstMatch/50000"));
    }

private:
    std::map<std::string, double> m_millis;
};

} // namespace

BENCHMARK(BM_PackMatch<false>)->Name("PackMatch/cachedKeys")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PackMatch<true>)->Name("PackMatch/literalRule")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportAndPersist)
    ->Name("ImportAndPersist")
    ->Arg(0)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Name("LoadLibrary/50000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadThenFirstMatch)
    ->Name("LoadLibraryThenFirstMatch/50000")
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // As in the programs: the library watches its file through the event loop's machinery.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
