// Launch-to-first-frame times and peak memory of Wordlumen, measured in the
// same run beside the toolkit's floor (minimal Qt Quick windows of the same
// renderer), for the software and the OpenGL renderer.
//
//   bench_card_startup [--runs N]
//
// Each launch gets a throw-away home and runtime folder, so the program starts
// as on a first launch: the trigger, then the control center, with a system
// tray running on the display when `trayer` is installed. Two times run from
// starting the process: to the trigger's first frame, and to the control
// center's. The memory is the process's peak resident set (VmHWM) one second
// after the control center's first frame.
// Targets: the trigger within 1.3× the one-window floor's time; the control
// center within 1.5× the two-window floor's time and 1.3× its memory.

#include "bench/support/benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

struct Sample
{
    double triggerMs = 0;
    double controlCenterMs = 0;
    double megabytes = 0;
};

double peakResidentMegabytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return 0;
}

std::optional<Sample> launch(const QString &program, const QStringList &arguments,
                             const QStringList &environment)
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/.local/share"));
    const QString runtime = home.path() + QStringLiteral("/run");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("WORDLUMEN_REPORT_FIRST_FRAME"), QStringLiteral("1"));
    for (const QString &assignment : environment) {
        env.insert(assignment.section(QLatin1Char('='), 0, 0),
                   assignment.section(QLatin1Char('='), 1));
    }
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) {
        return std::nullopt;
    }
    Sample sample;
    QByteArray out;
    // Each report is a line of its own; the control center's comes second.
    while (sample.controlCenterMs == 0 && clock.elapsed() < 20000) {
        process.waitForReadyRead(5);
        out += process.readAllStandardOutput();
        const double now = double(clock.nsecsElapsed()) / 1e6;
        const QList<QByteArray> lines = out.split('\n');
        if (sample.triggerMs == 0 && lines.contains("first-frame")) {
            sample.triggerMs = now;
        }
        if (lines.contains("control-center-first-frame")) {
            sample.controlCenterMs = now;
        }
        if (process.state() == QProcess::NotRunning) {
            break;
        }
    }
    if (sample.triggerMs == 0 || sample.controlCenterMs == 0) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    QThread::msleep(1000);
    sample.megabytes = peakResidentMegabytes(process.processId());
    process.kill();
    process.waitForFinished();
    return sample;
}

} // namespace

int main(int argc, char *argv[])
{
    wordlumen::bench::runOnVirtualDisplay(argc, argv);
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int runs = wordlumen::bench::intOption(arguments, QStringLiteral("--runs"), 15);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString floor = dir + QStringLiteral("/card_startup_floor");
    const QString wordlumen = dir + QStringLiteral("/../bin/wordlumen");

    struct Renderer
    {
        const char *name;
        QStringList environment;
    };
    const Renderer renderers[] = {
        {"software", {QStringLiteral("QT_QUICK_BACKEND=software")}},
        {"opengl", {QStringLiteral("QSG_RHI_BACKEND=opengl")}},
    };

    // A tray on the display, as on most desktops, so the program's tray icon
    // is created and embedded during the measured launches.
    QProcess tray;
    if (!QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty()) {
        tray.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top")});
        tray.waitForStarted(5000);
        QThread::msleep(500);
    }
    std::printf("tray: %s\n", tray.state() == QProcess::Running ? "trayer" : "none");

    std::printf("%-9s %-10s %14s %14s %12s\n", "renderer", "program", "trigger frame",
                "second window", "peak RSS");
    bool withinTargets = true;
    for (const Renderer &renderer : renderers) {
        QStringList env = renderer.environment;
        env << QStringLiteral("QSG_RENDER_LOOP=basic");
        std::vector<double> floorTrigger, floorSecond, floorMb, appTrigger, appSecond, appMb;
        for (int i = 0; i < runs; ++i) {
            // Alternate, so both see the same machine load.
            if (auto s = launch(floor, {QStringLiteral("--control-center")}, env)) {
                floorTrigger.push_back(s->triggerMs);
                floorSecond.push_back(s->controlCenterMs);
                floorMb.push_back(s->megabytes);
            }
            if (auto s = launch(wordlumen, {}, env)) {
                appTrigger.push_back(s->triggerMs);
                appSecond.push_back(s->controlCenterMs);
                appMb.push_back(s->megabytes);
            }
        }
        if (floorTrigger.empty() || appTrigger.empty()) {
            std::printf("%-9s could not measure (no first frame)\n", renderer.name);
            withinTargets = false;
            continue;
        }
        const double triggerRatio =
            wordlumen::bench::median(appTrigger) / wordlumen::bench::median(floorTrigger);
        const double secondRatio =
            wordlumen::bench::median(appSecond) / wordlumen::bench::median(floorSecond);
        const double memoryRatio =
            wordlumen::bench::median(appMb) / wordlumen::bench::median(floorMb);
        std::printf("%-9s %-10s %11.0f ms %11.0f ms %9.1f MB\n", renderer.name, "floor",
                    wordlumen::bench::median(floorTrigger), wordlumen::bench::median(floorSecond),
                    wordlumen::bench::median(floorMb));
        std::printf("%-9s %-10s %11.0f ms %11.0f ms %9.1f MB   (%.2fx, %.2fx time, %.2fx "
                    "memory)\n",
                    renderer.name, "wordlumen", wordlumen::bench::median(appTrigger),
                    wordlumen::bench::median(appSecond), wordlumen::bench::median(appMb),
                    triggerRatio, secondRatio, memoryRatio);
        if (std::string_view(renderer.name) == "software") {
            withinTargets =
                withinTargets && triggerRatio <= 1.3 && secondRatio <= 1.5 && memoryRatio <= 1.3;
        }
    }
    if (tray.state() == QProcess::Running) {
        tray.kill();
        tray.waitForFinished();
    }
    std::printf("targets (default renderer): trigger <= 1.30x, control center <= 1.50x time "
                "and <= 1.30x memory: %s\n",
                withinTargets ? "met" : "NOT met");
    return withinTargets ? 0 : 1;
}
