// The entry points a desktop shortcut calls, timed against a running Wordlumen
// on a virtual display:
//
//   - how long a second `wordlumen --selection` process lives (target < 50 ms);
//   - from that process's start to the first frame that shows the answer for
//     the primary selection on the card (target < 150 ms for a local answer),
//     with the card folded before each run, as when the user is at work;
//   - the same from the key press of the global shortcut (xdotool's own start
//     is included, so this overstates the time);
//   - the shortcut with a passage selected, to the passage view's first frame
//     (target < 150 ms).
//
//   bench_entrypoints [--runs N]
//
// The running instance reports the frame that shows an answer on its standard
// output (WORDLUMEN_REPORT_ANSWER_FRAME); the first lookup after start-up,
// which also compiles the open card's faces, is reported on its own.

#include "bench/support/benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

QProcessEnvironment sessionEnvironment(const QTemporaryDir &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/.local/share"));
    const QString runtime = home.path() + QStringLiteral("/run");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("QSG_RENDER_LOOP"), QStringLiteral("basic"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("XDG_SESSION_TYPE"));
    return env;
}

/// Waits until the running instance prints `line`; false after `timeoutMs`.
bool awaitLine(QProcess &instance, QByteArray &buffer, const QByteArray &line, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!buffer.contains(line)) {
        if (clock.elapsed() > timeoutMs || instance.state() != QProcess::Running) {
            return false;
        }
        instance.waitForReadyRead(2);
        buffer += instance.readAllStandardOutput();
    }
    buffer.remove(0, buffer.indexOf(line) + line.size());
    return true;
}

void run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(10000);
}

void select(const QString &text, const QProcessEnvironment &env)
{
    QProcess xclip;
    xclip.setProcessEnvironment(env);
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("primary")});
    xclip.write(text.toUtf8());
    xclip.closeWriteChannel();
    xclip.waitForFinished(5000); // it forks to serve the selection, then returns
}

struct Summary
{
    double median = 0;
    double p90 = 0;
    double worst = 0;
};

Summary summarise(std::vector<double> values)
{
    if (values.empty()) {
        return {};
    }
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        return values[std::min(values.size() - 1, size_t(q * double(values.size())))];
    };
    return {at(0.5), at(0.9), values.back()};
}

void report(const char *what, const std::vector<double> &values, double target)
{
    const Summary s = summarise(values);
    std::printf(
        "%-44s %3zu runs  median %6.1f ms  p90 %6.1f ms  worst %6.1f ms  target < %.0f ms: %s\n",
        what, values.size(), s.median, s.p90, s.worst, target,
        s.median < target ? "met" : "NOT met");
}

} // namespace

int main(int argc, char *argv[])
{
    wordlumen::bench::runOnVirtualDisplay(argc, argv);
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int runs = wordlumen::bench::intOption(arguments, QStringLiteral("--runs"), 30);
    const QString wordlumen =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/wordlumen");

    QTemporaryDir home;
    QProcessEnvironment env = sessionEnvironment(home);
    QProcessEnvironment instanceEnv = env;
    instanceEnv.insert(QStringLiteral("WORDLUMEN_REPORT_FIRST_FRAME"), QStringLiteral("1"));
    instanceEnv.insert(QStringLiteral("WORDLUMEN_REPORT_ANSWER_FRAME"), QStringLiteral("1"));
    QProcess instance;
    instance.setProcessEnvironment(instanceEnv);
    instance.setProcessChannelMode(QProcess::SeparateChannels);
    instance.start(wordlumen, {QStringLiteral("--background")});
    if (!instance.waitForStarted(5000)) {
        std::fprintf(stderr, "%s does not start\n", qPrintable(wordlumen));
        return 2;
    }
    QByteArray out;
    if (!awaitLine(instance, out, "first-frame", 20000)) {
        std::fprintf(stderr, "the running instance did not show its trigger:\n%s\n",
                     instance.readAllStandardError().constData());
        return 2;
    }
    QThread::msleep(500); // the shortcut, tray and menu come right after the first frame

    // Each lookup asks for another term than the one before, so each brings a new answer.
    const QString terms[] = {QStringLiteral("RAG"), QStringLiteral("LoRA")};
    int lookups = 0;
    const auto nextTerm = [&] {
        return terms[lookups++ % 2];
    };
    std::vector<double> exits, roundTrips, keyPresses;
    std::optional<double> firstLookup;
    // From the start of `wordlumen --selection` to the answer's frame; the
    // second process's own end is waited for afterwards.
    for (int i = 0; i <= runs; ++i) {
        select(nextTerm(), env);
        QElapsedTimer clock;
        clock.start();
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(wordlumen, {QStringLiteral("--selection")});
        const bool shown = awaitLine(instance, out, "answer-frame", 10000);
        const double shownAt = double(clock.nsecsElapsed()) / 1e6;
        second.waitForFinished(5000);
        if (!shown) {
            std::fprintf(stderr, "no answer reached the card\n");
            return 2;
        }
        if (i == 0) {
            firstLookup = shownAt;
        } else {
            roundTrips.push_back(shownAt);
        }
        run(wordlumen, {QStringLiteral("--toggle")}, env); // fold the card again
        QThread::msleep(400);
        out.clear();
        instance.readAllStandardOutput();
    }

    // How long the second process lives, timed by waiting for its end alone.
    for (int i = 0; i < runs; ++i) {
        select(nextTerm(), env);
        QElapsedTimer clock;
        clock.start();
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(wordlumen, {QStringLiteral("--selection")});
        if (!second.waitForFinished(5000)) {
            std::fprintf(stderr, "the second process did not end\n");
            return 2;
        }
        exits.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (!awaitLine(instance, out, "answer-frame", 5000)) {
            std::fprintf(stderr, "no answer reached the card\n");
            return 2;
        }
        run(wordlumen, {QStringLiteral("--toggle")}, env);
        QThread::msleep(400);
        out.clear();
        instance.readAllStandardOutput();
    }

    // A program that only starts and ends, for the floor of process start-up here.
    std::vector<double> floor;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        run(QStringLiteral("/bin/true"), {}, env);
        floor.push_back(double(clock.nsecsElapsed()) / 1e6);
    }

    for (int i = 0; i < runs; ++i) {
        select(nextTerm(), env);
        QElapsedTimer clock;
        clock.start();
        QProcess::startDetached(QStringLiteral("xdotool"),
                                {QStringLiteral("key"), QStringLiteral("ctrl+alt+e")});
        if (!awaitLine(instance, out, "answer-frame", 5000)) {
            std::fprintf(stderr, "a key press brought no answer\n");
            return 2;
        }
        keyPresses.push_back(double(clock.nsecsElapsed()) / 1e6);
        run(wordlumen, {QStringLiteral("--toggle")}, env);
        QThread::msleep(400);
        out.clear();
        instance.readAllStandardOutput();
    }

    // A passage selected: the shortcut opens the passage view. Two passages
    // in turn, so each press brings a new one.
    const QString passages[] = {
        QStringLiteral("这周要把 RAG 的链路拉通，对齐颗粒度，用 Agent 和 context 形成闭环，"
                       "再看 ROI 和抓手。下周例会上每个人讲一下自己负责的部分。"),
        QStringLiteral("上线前先做灰度，盯住转化率和留存，复盘时把抓手和颗粒度讲清楚，"
                       "别再各说各的，拉通以后形成闭环。")};
    std::vector<double> passageKeyPresses;
    for (int i = 0; i <= runs; ++i) {
        select(passages[i % 2], env);
        QElapsedTimer clock;
        clock.start();
        QProcess::startDetached(QStringLiteral("xdotool"),
                                {QStringLiteral("key"), QStringLiteral("ctrl+alt+e")});
        if (!awaitLine(instance, out, "passage-frame", 5000)) {
            std::fprintf(stderr, "a key press with a passage selected brought no passage view\n");
            return 2;
        }
        if (i > 0) { // the first compiles the passage view
            passageKeyPresses.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        run(wordlumen, {QStringLiteral("--toggle")}, env);
        QThread::msleep(400);
        out.clear();
        instance.readAllStandardOutput();
    }

    instance.terminate();
    instance.waitForFinished(5000);

    std::printf("first lookup after start-up (compiles the card): %.1f ms\n",
                firstLookup.value_or(-1));
    std::printf("%-44s %3zu runs  median %6.1f ms\n", "a process that does nothing (/bin/true)",
                floor.size(), summarise(floor).median);
    report("second `wordlumen --selection` process lives", exits, 50);
    report("--selection start to answer on the card", roundTrips, 150);
    report("Ctrl+Alt+E (xdotool start) to answer", keyPresses, 150);
    report("Ctrl+Alt+E on a passage to the passage view", passageKeyPresses, 150);
    return 0;
}
