// Launch-to-first-frame time and peak memory of Wordlumen's trigger, measured
// in the same run beside the toolkit's floor (a minimal Qt Quick window of the
// same renderer), for the software and the OpenGL renderer.
//
//   bench_card_startup [--runs N]
//
// Each launch gets a throw-away home and runtime folder. The time runs from
// starting the process to its report of the first frame shown; the memory is
// the process's peak resident set (VmHWM) one second after that frame.
// Targets: at most 1.3× the floor's time and 1.25× its memory.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

struct Sample
{
    double milliseconds = 0;
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

std::optional<Sample> launch(const QString &program, const QStringList &environment)
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
    process.start(program, {});
    if (!process.waitForStarted(5000)) {
        return std::nullopt;
    }
    QByteArray out;
    while (!out.contains("first-frame") && clock.elapsed() < 20000) {
        process.waitForReadyRead(50);
        out += process.readAllStandardOutput();
        if (process.state() == QProcess::NotRunning) {
            break;
        }
    }
    if (!out.contains("first-frame")) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    Sample sample;
    sample.milliseconds = double(clock.nsecsElapsed()) / 1e6;
    QThread::msleep(1000);
    sample.megabytes = peakResidentMegabytes(process.processId());
    process.kill();
    process.waitForFinished();
    return sample;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        // Run on a virtual display of the usual size.
        std::vector<char *> args{const_cast<char *>("xvfb-run"), const_cast<char *>("-a"),
                                 const_cast<char *>("-s"),
                                 const_cast<char *>("-screen 0 1440x900x24")};
        for (int i = 0; i < argc; ++i) {
            args.push_back(argv[i]);
        }
        args.push_back(nullptr);
        execvp("xvfb-run", args.data());
        std::perror("xvfb-run");
        return 2;
    }
    QCoreApplication app(argc, argv);
    int runs = 15;
    const QStringList arguments = QCoreApplication::arguments();
    if (const qsizetype i = arguments.indexOf(QStringLiteral("--runs")); i > 0) {
        runs = arguments.value(i + 1).toInt();
    }
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

    std::printf("%-9s %-10s %12s %12s\n", "renderer", "program", "first frame", "peak RSS");
    bool withinTargets = true;
    for (const Renderer &renderer : renderers) {
        QStringList env = renderer.environment;
        env << QStringLiteral("QSG_RENDER_LOOP=basic");
        std::vector<double> floorMs, floorMb, appMs, appMb;
        for (int i = 0; i < runs; ++i) {
            // Alternate, so both see the same machine load.
            if (auto s = launch(floor, env)) {
                floorMs.push_back(s->milliseconds);
                floorMb.push_back(s->megabytes);
            }
            if (auto s = launch(wordlumen, env)) {
                appMs.push_back(s->milliseconds);
                appMb.push_back(s->megabytes);
            }
        }
        if (floorMs.empty() || appMs.empty()) {
            std::printf("%-9s could not measure (no first frame)\n", renderer.name);
            withinTargets = false;
            continue;
        }
        const double timeRatio = median(appMs) / median(floorMs);
        const double memoryRatio = median(appMb) / median(floorMb);
        std::printf("%-9s %-10s %9.0f ms %9.1f MB\n", renderer.name, "floor", median(floorMs),
                    median(floorMb));
        std::printf("%-9s %-10s %9.0f ms %9.1f MB   (%.2fx time, %.2fx memory)\n", renderer.name,
                    "wordlumen", median(appMs), median(appMb), timeRatio, memoryRatio);
        if (std::string_view(renderer.name) == "software") {
            withinTargets = withinTargets && timeRatio <= 1.3 && memoryRatio <= 1.25;
        }
    }
    std::printf("targets (default renderer): time <= 1.30x, memory <= 1.25x: %s\n",
                withinTargets ? "met" : "NOT met");
    return withinTargets ? 0 : 1;
}
