// How smoothly the card animates on each Qt Quick renderer: opens the card
// from the trigger, turns it over to an answer and folds it back, counting
// the frames shown and the longest gap between two of them.
//
//   bench_card_animation [--save-frames DIR]
//
// Each renderer runs in a child process (the renderer is chosen once per
// process). With --save-frames, a frame from the middle of the turn is saved.

#include "card/theme.h"
#include "tests/card/cardfixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QQuickWindow>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

struct Run
{
    int frames = 0;
    double longestGapMs = 0;
    double seconds = 0;
};

Run measure(CardFixture &card, const std::function<void()> &action, int milliseconds)
{
    Run run;
    QElapsedTimer clock;
    qint64 last = -1;
    auto connection = QObject::connect(
        card.panel(), &QQuickWindow::frameSwapped, card.panel(),
        [&] {
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0) {
                run.longestGapMs = std::max(run.longestGapMs, double(now - last) / 1e6);
            }
            last = now;
            ++run.frames;
        },
        Qt::DirectConnection);
    clock.start();
    action();
    QTest::qWait(milliseconds);
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    QObject::disconnect(connection);
    return run;
}

int child(const QString &saveDir)
{
    CardFixture card;
    if (!card.show()) {
        return 2;
    }
    card.settle(300);
    const Run open = measure(
        card, [&] { card.viewModel()->expand(); }, 400);
    card.viewModel()->setQuery(QStringLiteral("RAG"));
    QImage middle;
    const Run turn = measure(
        card,
        [&] {
            card.viewModel()->explain();
            if (!saveDir.isEmpty()) {
                QTest::qWait(90);
                middle = card.panel()->grabWindow();
            }
        },
        400);
    const Run fold = measure(
        card, [&] { card.viewModel()->collapse(); }, 400);
    for (const auto &[name, run] : {std::pair{"open", open}, {"turn", turn}, {"fold", fold}}) {
        std::printf("  %-5s %3d frames in %.2f s, longest gap %5.1f ms\n", name, run.frames,
                    run.seconds, run.longestGapMs);
    }
    if (!middle.isNull()) {
        middle.save(saveDir +
                    QStringLiteral("/turn-middle-%1.png")
                        .arg(qEnvironmentVariable("QT_QUICK_BACKEND", QStringLiteral("opengl"))));
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
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
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    QString saveDir;
    if (const qsizetype i = arguments.indexOf(QStringLiteral("--save-frames")); i > 0) {
        saveDir = arguments.value(i + 1);
    }
    if (arguments.contains(QStringLiteral("--child"))) {
        return child(saveDir);
    }
    int status = 0;
    for (const char *renderer : {"software", "opengl"}) {
        std::printf("%s\n", renderer);
        std::fflush(stdout);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QSG_RENDER_LOOP"), QStringLiteral("basic"));
        if (std::string_view(renderer) == "software") {
            env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
        }
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        QStringList childArguments{QStringLiteral("--child")};
        if (!saveDir.isEmpty()) {
            childArguments << QStringLiteral("--save-frames") << saveDir;
        }
        process.start(QApplication::applicationFilePath(), childArguments);
        process.waitForFinished(60000);
        status |= process.exitCode();
    }
    return status;
}
