// The lookup history at 10,000 rows: recording one answer on the calling
// thread (a repeat of a known term, and a new term that evicts the oldest at
// the limit), the same handed to the card's background writer (what the card's
// thread pays), searching, exporting, and the control center's first page. A
// summary after the table sets the figures against their targets; recording
// is reported as median and 99th percentile of single calls.
#include "history/historyexport.h"
#include "history/historylistmodel.h"
#include "history/historystore.h"
#include "history/historywriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <time.h>
#include <vector>

using namespace wordlumen;

namespace {

constexpr int kRows = 10000;

const QStringList &syllables()
{
    static const QStringList list{
        QStringLiteral("检索"), QStringLiteral("增强"), QStringLiteral("模型"),
        QStringLiteral("向量"), QStringLiteral("上下"), QStringLiteral("推理"),
        QStringLiteral("微调"), QStringLiteral("数据"), QStringLiteral("闭环"),
        QStringLiteral("对齐"), QStringLiteral("智能"), QStringLiteral("嵌入")};
    return list;
}

// Answer `i`, shaped like the card's: a Chinese term, sometimes an English
// one, an explanation of about a hundred characters with a few Latin words.
HistoryRecord syntheticRecord(int i)
{
    const QStringList &s = syllables();
    const QString term = i % 3 == 0
                             ? QStringLiteral("Synthetic Term %1").arg(i)
                             : s[i % s.size()] + s[(i / s.size()) % s.size()] + QString::number(i);
    const QString answer =
        QStringLiteral("第 %1 条答案：%2是把%3和%4连起来用的一种做法，常见于 AI 产品的需求文档和"
                       "周报里。它让模型先找到相关资料（比如 PDF 或知识库），再据此组织回答，"
                       "减少凭空编造。")
            .arg(i)
            .arg(term, s[(i + 3) % s.size()], s[(i + 7) % s.size()]);
    HistoryRecord record{term, term, answer, ExplanationOrigin::Local, AnswerSource::dictionary(),
                         {}};
    if (i % 4 == 0) {
        record.origin = ExplanationOrigin::DeepSeek;
        record.source =
            AnswerSource::online(QStringLiteral("https://api.example.com/v1"),
                                 QStringLiteral("chat-model"), QStringLiteral("白话 · 标准"));
    }
    return record;
}

// One database of 10,000 rows at a limit of 10,000, shared by every benchmark.
struct Fixture
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Zintaro/History.sqlite3"));
    std::unique_ptr<HistoryStore> store;
    int nextTerm = kRows;

    Fixture()
    {
        store = std::make_unique<HistoryStore>(path, HistoryStore::Options{true, kRows, {}});
        for (int i = 0; i < kRows; ++i) {
            if (!store->record(syntheticRecord(i)))
                std::fprintf(stderr, "cannot fill the history\n");
            if (i % 50 == 0)
                static_cast<void>(store->star(syntheticRecord(i).term));
        }
    }
    static Fixture &instance()
    {
        static Fixture fixture;
        return fixture;
    }
};

// Single-call times of the recording benchmarks, in milliseconds, for the percentiles.
std::map<std::string, std::vector<double>> &samples()
{
    static std::map<std::string, std::vector<double>> map;
    return map;
}

// The calling thread's CPU time: tells work done from time spent waiting for
// the disk or for the two cores, which other programs share.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<size_t>(fraction * double(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// Times single recordings. With a pause (the benchmark's argument, in
// milliseconds) between them, untimed, they come as a user's lookups do, and
// the background checkpoint finishes between two; without one they come in a
// burst, which no person produces but a script might.
void recordTimed(benchmark::State &state, const char *name,
                 const std::function<HistoryRecord()> &next,
                 const std::function<bool(const HistoryRecord &)> &write = {})
{
    HistoryStore &store = *Fixture::instance().store;
    const auto pauseMs = int(state.range(0));
    const std::string key = std::string(name) + (pauseMs > 0 ? ", paced" : ", in a burst");
    std::vector<double> &times = samples()[key];
    std::vector<double> &cpuTimes = samples()[key + " (CPU of this thread)"];
    QElapsedTimer timer;
    for (auto _ : state) {
        if (pauseMs > 0) {
            state.PauseTiming();
            // The pause runs the event loop, as the card's thread does between lookups.
            QElapsedTimer paused;
            paused.start();
            while (paused.elapsed() < pauseMs) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                QThread::msleep(1);
            }
            state.ResumeTiming();
        }
        const HistoryRecord record = next();
        const double cpuStart = threadCpuMs();
        timer.start();
        std::optional<HistoryError> failed;
        if (write) {
            if (!write(record))
                failed = HistoryError::StorageFailed;
        } else if (const auto recorded = store.record(record); !recorded) {
            failed = recorded.error();
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        cpuTimes.push_back(threadCpuMs() - cpuStart);
        state.SetIterationTime(ms / 1000.0);
        times.push_back(ms);
        if (failed)
            state.SkipWithError(qPrintable(historyErrorMessage(*failed)));
    }
}

// A new term: one row inserted, and at the limit the oldest unstarred evicted.
void BM_RecordNewTerm(benchmark::State &state)
{
    recordTimed(state, "RecordNewTerm",
                [] { return syntheticRecord(Fixture::instance().nextTerm++); });
}

// A term looked up again: its row updated.
void BM_RecordRepeatedTerm(benchmark::State &state)
{
    int i = 0;
    recordTimed(state, "RecordRepeatedTerm", [&i] {
        HistoryRecord record = syntheticRecord(Fixture::instance().nextTerm - 1 - (i++ % 5000));
        record.answer += QStringLiteral("（重新生成）");
        return record;
    });
}

// A new term as the card records it: handed to the writer, which writes it
// on its own thread into the same file while this thread goes on.
void BM_RecordThroughWriter(benchmark::State &state)
{
    HistoryWriter writer(Fixture::instance().store.get());
    recordTimed(
        state, "RecordThroughWriter",
        [] { return syntheticRecord(Fixture::instance().nextTerm++); },
        [&writer](const HistoryRecord &record) { return writer.record(record); });
    writer.waitForWritten();
}

const QStringList &searches()
{
    // Chinese and Latin of three characters and more go to the index, one
    // and two characters are matched row by row; a text found in every row
    // (「PDF」) and one found in none (「zq」, 「不存在的说法」) are the ends.
    static const QStringList list{QStringLiteral("检索增强"),    QStringLiteral("PDF"),
                                  QStringLiteral("term 12"),     QStringLiteral("闭环"),
                                  QStringLiteral("向"),          QStringLiteral("zq"),
                                  QStringLiteral("不存在的说法")};
    return list;
}

// A search as the control center's page runs it: the first page of 50.
void BM_Search(benchmark::State &state)
{
    HistoryStore &store = *Fixture::instance().store;
    const QString search = searches()[state.range(0)];
    state.SetLabel(search.toStdString());
    HistoryQuery query;
    query.search = search;
    query.limit = HistoryListModel::kPageSize;
    for (auto _ : state) {
        const auto page = store.list(query);
        if (!page)
            state.SkipWithError("search failed");
        benchmark::DoNotOptimize(page->entries.size());
    }
}

void BM_Export(benchmark::State &state)
{
    HistoryStore &store = *Fixture::instance().store;
    const auto format = HistoryExport::Format(state.range(0));
    state.SetLabel(HistoryExport::toString(format).toStdString());
    const QString file = Fixture::instance().dir.filePath(QStringLiteral("export"));
    for (auto _ : state) {
        const auto summary = HistoryExport::exportToFile(store, format, false, file);
        if (!summary || summary->entryCount < kRows - 10)
            state.SkipWithError("export failed");
    }
}

// The control center's page: a model over a store that is not open yet (the
// first visit), and over one that is.
void BM_FirstPage(benchmark::State &state)
{
    Fixture &fixture = Fixture::instance();
    const bool opened = state.range(0) != 0;
    state.SetLabel(opened ? "store open" : "store opened by the page");
    for (auto _ : state) {
        std::unique_ptr<HistoryStore> fresh;
        if (!opened)
            fresh = std::make_unique<HistoryStore>(fixture.path,
                                                   HistoryStore::Options{true, kRows, {}});
        HistoryListModel model(opened ? fixture.store.get() : fresh.get());
        model.fetchMore({});
        if (model.rowCount() != HistoryListModel::kPageSize)
            state.SkipWithError("no first page");
        benchmark::DoNotOptimize(model.index(0).data(HistoryListModel::LastSeenTextRole));
    }
}

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
        std::printf("\nHistory at %d rows against its targets\n", kRows);
        std::printf("  recording one answer (target < 2 ms, median and p99):\n");
        for (const auto &[name, times] : samples()) {
            std::printf("  %s: median %.3f ms, p90 %.3f ms, p99 %.3f ms, max %.3f ms over %zu "
                        "calls\n",
                        name.c_str(), percentile(times, 0.5), percentile(times, 0.9),
                        percentile(times, 0.99), percentile(times, 1.0), times.size());
        }
        double slowest = 0;
        for (const auto &[name, ms] : m_millis) {
            if (name.rfind("Search/", 0) == 0)
                slowest = std::max(slowest, ms);
        }
        std::printf("  search, first page: slowest %.2f ms (target < 20 ms)\n", slowest);
        std::printf("  export %d rows: pack %.1f ms, tsv %.1f ms, csv %.1f ms (target < 500 ms)\n",
                    kRows, figure("Export/0/iterations:5"), figure("Export/1/iterations:5"),
                    figure("Export/2/iterations:5"));
        std::printf("  the page's first %d rows: %.2f ms when the page opens the store, "
                    "%.2f ms when it is open\n",
                    HistoryListModel::kPageSize, figure("FirstPage/0"), figure("FirstPage/1"));
    }

private:
    double figure(const char *name) const
    {
        const auto it = m_millis.find(name);
        return it == m_millis.end() ? -1.0 : it->second;
    }
    std::map<std::string, double> m_millis;
};

} // namespace

BENCHMARK(BM_RecordNewTerm)
    ->Name("RecordNewTerm")
    ->UseManualTime()
    ->Arg(0)
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordNewTerm)
    ->Name("RecordNewTerm")
    ->UseManualTime()
    ->Arg(100)
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordRepeatedTerm)
    ->Name("RecordRepeatedTerm")
    ->UseManualTime()
    ->Arg(0)
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordRepeatedTerm)
    ->Name("RecordRepeatedTerm")
    ->UseManualTime()
    ->Arg(100)
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordThroughWriter)
    ->Name("RecordThroughWriter")
    ->UseManualTime()
    ->Arg(0)
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordThroughWriter)
    ->Name("RecordThroughWriter")
    ->UseManualTime()
    ->Arg(100)
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Search)->Name("Search")->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Name("Export")->DenseRange(0, 2)->Iterations(5)->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_FirstPage)->Name("FirstPage")->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // The model's refresh after a change is queued on the event loop's machinery.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
