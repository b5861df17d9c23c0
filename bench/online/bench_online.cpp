// How long a streamed line takes from the server's socket to the consumer:
// the local server writes one "data:" line on loopback and the clock stops
// when the explanation stream hands its piece over. Target: under 2 ms median.
#include "online/deepseekclient.h"
#include "tests/support/fakechatserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTimer>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

/**
 * Blocks in an event loop, as the application does, until a piece arrives or
 * a second has passed. The loop's quit() is what the piece handler calls.
 */
bool waitForPiece(QEventLoop *&waiting, const qint64 &latency)
{
    if (latency >= 0)
        return true;
    QEventLoop loop;
    waiting = &loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    waiting = nullptr;
    return latency >= 0;
}

double percentile(std::vector<double> samples, double fraction)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const auto index = static_cast<size_t>(fraction * static_cast<double>(samples.size() - 1));
    return samples[index];
}

void BM_StreamedLineToPiece(benchmark::State &state)
{
    FakeChatServer server;
    if (!server.listen()) {
        state.SkipWithError("cannot listen on 127.0.0.1");
        return;
    }
    ScriptedResponse response = ScriptedResponse::eventStream({});
    response.holdOpen = true;
    server.enqueue(response);

    QNetworkAccessManager session;
    DeepSeekClient client;
    client.endpoint = server.url();
    client.model = QStringLiteral("bench");
    client.apiKey = QStringLiteral("sk-bench");
    client.session = &session;

    ExplanationStream *stream = client.explain(QStringLiteral("RAG"));
    QElapsedTimer clock;
    clock.start();
    qint64 sentAt = 0;
    qint64 latency = -1;
    QEventLoop *waiting = nullptr;
    QObject::connect(stream, &ExplanationStream::pieceReceived, stream, [&](const QString &) {
        latency = clock.nsecsElapsed() - sentAt;
        if (waiting)
            waiting->quit();
    });
    if (!server.waitForRequests(1, 1000)) {
        state.SkipWithError("the request did not arrive");
        return;
    }

    const QByteArray line = R"(data: {"choices":[{"delta":{"content":"词"}}]})"
                            "\n";
    // The first line also carries the response head; leave it out of the timing.
    server.sendChunk(line);
    (void)waitForPiece(waiting, latency);

    std::vector<double> samples;
    for (auto _ : state) {
        latency = -1;
        sentAt = clock.nsecsElapsed();
        server.sendChunk(line);
        if (!waitForPiece(waiting, latency)) {
            state.SkipWithError("a piece did not arrive");
            break;
        }
        state.SetIterationTime(static_cast<double>(latency) / 1e9);
        samples.push_back(static_cast<double>(latency) / 1e6);
    }
    stream->cancel();
    delete stream;

    state.counters["median_ms"] = percentile(samples, 0.5);
    state.counters["p90_ms"] = percentile(samples, 0.9);
    state.counters["max_ms"] = percentile(samples, 1.0);
}
BENCHMARK(BM_StreamedLineToPiece)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
