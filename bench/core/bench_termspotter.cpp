// Spotting every known term in a passage: building the automaton over 20,000
// names, and spotting in a 2,000-character passage with 200 and with 20,000
// names, beside the literal rule (every stretch of the passage keyed afresh).
//
// Memory is counted two ways: the bytes the automaton's arrays hold
// (TermSpotter::memoryUsage, their capacity), and the growth of the heap in
// use that a built spotter keeps (glibc's mallinfo2, before the build and
// after it with the spotter alive, so what the build freed is not counted).
#include "core/termkey.h"
#include "core/termspotter.h"
#include "core/textmetrics.h"
#include "tests/support/literalrules.h"

#include <QRandomGenerator>
#include <QStringList>

#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace wordlumen;

namespace {

constexpr qsizetype kPassageLength = 2000;

/**
 * Names shaped like a large pack library's: most are two to six Chinese
 * characters, a third Latin words or abbreviations (some of two words, some
 * with a hyphen and a version), all distinct.
 */
const QStringList &syntheticNames()
{
    static const QStringList names = [] {
        QRandomGenerator random(2026);
        QStringList result;
        QSet<QString> seen;
        while (result.size() < 20000) {
            QString name;
            if (random.bounded(3) != 0) {
                const int length = 2 + int(random.bounded(5));
                for (int i = 0; i < length; ++i)
                    name += QChar(char16_t(0x4E00 + random.bounded(3000)));
            } else {
                const int length = 2 + int(random.bounded(8));
                for (int i = 0; i < length; ++i)
                    name += QChar(char16_t(u'a' + random.bounded(26)));
                if (random.bounded(4) == 0)
                    name += QStringLiteral(" ") +
                            QString(QChar(char16_t(u'a' + random.bounded(26)))) +
                            QStringLiteral("ing");
                if (random.bounded(6) == 0)
                    name += QStringLiteral("-%1").arg(random.bounded(10));
            }
            const QString key = termKey(name);
            if (!seen.contains(key)) {
                seen.insert(key);
                result.append(name);
            }
        }
        return result;
    }();
    return names;
}

QList<testing::SpotName> spotNames(qsizetype count)
{
    QList<testing::SpotName> names;
    const QStringList &all = syntheticNames();
    for (qsizetype i = 0; i < count; ++i)
        names.append({termKey(all[i]), i});
    return names;
}

TermSpotter build(const QList<testing::SpotName> &names)
{
    TermSpotter::Builder builder;
    for (const testing::SpotName &name : names)
        builder.add(name.key, name.target);
    return builder.build();
}

/**
 * A 2,000-character passage as a chat message reads: Chinese prose with
 * punctuation of both widths, English words, some in upper case, an emoji
 * now and then, and one of the first `nameCount` names every dozen
 * characters or so.
 */
QString passage(qsizetype nameCount)
{
    static const QStringList filler{
        QStringLiteral("我们"), QStringLiteral("今天"), QStringLiteral("需要"),
        QStringLiteral("，"),   QStringLiteral("。"),   QStringLiteral(" the "),
        QStringLiteral("把"),   QStringLiteral("做"),   QStringLiteral("Review "),
        QStringLiteral("（"),   QStringLiteral("）"),   QStringLiteral("👍🏽"),
        QStringLiteral("一下"), QStringLiteral("进度"), QStringLiteral("、")};
    QRandomGenerator random(7);
    const QStringList &names = syntheticNames();
    QString text;
    while (TextMetrics::graphemeCount(text) < kPassageLength) {
        if (random.bounded(4) == 0) {
            const QString name = names[random.bounded(nameCount)];
            text += random.bounded(3) == 0 ? name.toUpper() : name;
        } else {
            text += filler[random.bounded(filler.size())];
        }
    }
    return TextMetrics::leftGraphemes(text, kPassageLength);
}

void BM_Build(benchmark::State &state)
{
    const QList<testing::SpotName> names = spotNames(state.range(0));
    qsizetype bytes = 0;
    qsizetype states = 0;
    for (auto _ : state) {
        const TermSpotter spotter = build(names);
        bytes = spotter.memoryUsage();
        states = spotter.stateCount();
        benchmark::DoNotOptimize(spotter);
    }
    qsizetype keyUnits = 0;
    for (const testing::SpotName &name : names)
        keyUnits += name.key.size();
    state.counters["states"] = double(states);
    state.counters["key_units"] = double(keyUnits);
    state.counters["automaton_MB"] = double(bytes) / 1e6;

    // The heap a built spotter keeps, measured once outside the timing.
    const size_t before = mallinfo2().uordblks;
    {
        const TermSpotter spotter = build(names);
        state.counters["heap_kept_MB"] = double(mallinfo2().uordblks - before) / 1e6;
        benchmark::DoNotOptimize(spotter);
    }
    state.SetLabel("automaton from term keys");
}

void BM_KeyNames(benchmark::State &state)
{
    const QStringList &all = syntheticNames();
    for (auto _ : state) {
        for (qsizetype i = 0; i < state.range(0); ++i)
            benchmark::DoNotOptimize(termKey(all[i]));
    }
    state.SetLabel("term keys of the names, made when the sources change");
}

template<bool Literal>
void BM_Spot(benchmark::State &state)
{
    const QList<testing::SpotName> names = spotNames(state.range(0));
    const TermSpotter spotter = build(names);
    const QString text = passage(state.range(0));
    qsizetype hits = 0;
    for (auto _ : state) {
        const auto found = Literal ? testing::literalSpot(names, text) : spotter.spot(text);
        hits = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["hits"] = double(hits);
    state.SetLabel(Literal ? "literal rule" : "automaton");
}

void BM_SourcedKey(benchmark::State &state)
{
    const QString text = passage(200);
    for (auto _ : state)
        benchmark::DoNotOptimize(sourcedTermKey(text));
    state.SetLabel("the passage's key with places, part of every spot");
}

} // namespace

BENCHMARK(BM_Build)->Name("TermSpotter/build")->Arg(200)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyNames)->Name("TermSpotter/keyNames")->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Spot<false>)
    ->Name("TermSpotter/spot2000")
    ->Arg(200)
    ->Arg(20000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Spot<true>)
    ->Name("TermSpotter/literal2000")
    ->Arg(200)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SourcedKey)->Name("TermSpotter/sourcedKey2000")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
