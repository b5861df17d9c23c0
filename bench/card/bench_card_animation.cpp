// How smoothly the card animates on each Qt Quick renderer: opens the card
// from the trigger, turns it over to an answer and folds it back, counting
// the frames shown and the longest gap between two of them, and the frames in
// which opening or folding turned the card (they must only fade and scale).
//
//   bench_card_animation [--save-frames DIR] [--record DIR]
//
// Each renderer runs in a child process (the renderer is chosen once per
// process). With --save-frames, a frame from the middle of the turn is saved.
// With --record, what the screen shows around the panel is saved after every
// frame (DIR/<renderer>/<phase>-<frame>.png) and each frame is checked for a
// card drawn away from the panel's corner. Recording slows the frames down.
// Exits non-zero when a frame turned or was displaced.

#include "bench/support/benchsupport.h"
#include "card/faces/cardviewcontroller.h"
#include "card/paint/theme.h"
#include "card/panel/floatingtriggerstyle.h"
#include "card/panel/floatingwindowplacement.h"
#include "tests/card/cardfixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QTest>

#include <cstdio>

using namespace wordlumen;

namespace {

struct Run
{
    int frames = 0;
    double longestGapMs = 0;
    double seconds = 0;
    /// Frames in which the open card had turned from where the phase began.
    int turnedFrames = 0;
    /// Recorded frames whose card or trigger was not at the panel's anchored corner.
    int displacedFrames = 0;
};

// The open card's turn: 0 on the front face, 1 on the answer face; none while
// nothing of the open card exists.
std::optional<double> cardTurn(CardFixture &card)
{
    const auto *open = card.root()->findChild<QObject *>(QStringLiteral("openCard"));
    return open ? std::optional(open->property("turn").toDouble()) : std::nullopt;
}

// With --record DIR: what the screen shows around the panel after every frame,
// saved as DIR/<phase>-<frame>.png for looking at frame by frame. Each frame is
// also checked: what differs from the empty desktop must end at the corner the
// panel is anchored to (the bottom-right one here), where both the trigger and
// the card keep their right edge and, within their scale, their bottom edge.
struct Recorder
{
    QString dir;
    QRect area;
    QImage desktop;
    QString phase;
    int index = 0;

    [[nodiscard]] QImage grab(QScreen *screen) const
    {
        return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // The bounding box of what differs clearly from the empty desktop (a
    // faint shadow does not count).
    [[nodiscard]] QRect drawn(const QImage &shot) const
    {
        QRect box;
        for (int y = 0; y < shot.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(shot.constScanLine(y));
            const auto *empty = reinterpret_cast<const QRgb *>(desktop.constScanLine(y));
            for (int x = 0; x < shot.width(); ++x) {
                const int d = std::max({std::abs(qRed(line[x]) - qRed(empty[x])),
                                        std::abs(qGreen(line[x]) - qGreen(empty[x])),
                                        std::abs(qBlue(line[x]) - qBlue(empty[x]))});
                if (d > 40) {
                    box |= QRect(x, y, 1, 1);
                }
            }
        }
        return box;
    }

    /// Saves the frame; true when it is drawn where it belongs.
    bool capture(QScreen *screen)
    {
        const QImage shot = grab(screen);
        shot.save(
            QStringLiteral("%1/%2-%3.png").arg(dir, phase).arg(index++, 3, 10, QLatin1Char('0')));
        const QRect box = drawn(shot);
        if (box.isEmpty()) {
            return true;
        }
        // The panel sits 8 points in from the screen's corner, the trigger 12
        // more and the card its shadow's room more; scaling about the right
        // edge moves the bottom a few points. The right edge is one of the
        // two; while one fades into the other (the trigger's ink shows before
        // its paper), the bottom lies between theirs.
        const QSizeF trigger = collapsedPanelSize(FloatingTriggerStyle::Compact);
        const QSizeF capsule = triggerCapsuleSize(FloatingTriggerStyle::Compact);
        const QPointF corners[] = {
            {(trigger.width() - capsule.width()) / 2, (trigger.height() - capsule.height()) / 2},
            {CardViewController::shadowRight(), CardViewController::shadowBottom()}};
        bool right = false;
        int lowest = area.height();
        int highest = 0;
        for (const QPointF &corner : corners) {
            const int r = area.width() - int(FloatingWindowPlacement::kScreenInset + corner.x());
            const int b = area.height() - int(FloatingWindowPlacement::kScreenInset + corner.y());
            right = right || std::abs(box.right() + 1 - r) <= 1;
            lowest = std::min(lowest, b - 10);
            highest = std::max(highest, b + 1);
        }
        const bool bottom = box.bottom() + 1 >= lowest && box.bottom() + 1 <= highest;
        if (!(right && bottom)) {
            std::fprintf(stderr, "  %s-%03d drawn at %d,%d %dx%d in %dx%d\n", qPrintable(phase),
                         index - 1, box.x(), box.y(), box.width(), box.height(), area.width(),
                         area.height());
        }
        return right && bottom;
    }
};

Run measure(CardFixture &card, const std::function<void()> &action, int milliseconds,
            Recorder *recorder, const char *phase)
{
    Run run;
    QElapsedTimer clock;
    qint64 last = -1;
    const std::optional<double> startTurn = cardTurn(card);
    if (recorder) {
        recorder->phase = QString::fromLatin1(phase);
        recorder->index = 0;
        recorder->capture(card.panel()->screen());
    }
    auto connection = QObject::connect(
        card.panel(), &QQuickWindow::frameSwapped, card.panel(),
        [&] {
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0) {
                run.longestGapMs = std::max(run.longestGapMs, double(now - last) / 1e6);
            }
            last = now;
            ++run.frames;
            const std::optional<double> turn = cardTurn(card);
            if (startTurn && turn && std::abs(*turn - *startTurn) > 1e-6) {
                ++run.turnedFrames;
            }
            if (recorder) {
                // After the frame is on screen, not inside its swap.
                QMetaObject::invokeMethod(
                    card.panel(),
                    [&card, recorder, &run] {
                        if (!recorder->capture(card.panel()->screen())) {
                            ++run.displacedFrames;
                        }
                    },
                    Qt::QueuedConnection);
            }
        },
        Qt::DirectConnection);
    clock.start();
    action();
    QTest::qWait(milliseconds);
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    QObject::disconnect(connection);
    return run;
}

int child(const QString &saveDir, const QString &recordDir)
{
    CardFixture card;
    std::optional<Recorder> recorder;
    if (!recordDir.isEmpty()) {
        QDir().mkpath(recordDir);
        // The bottom-right corner of the screen, where the card opens; the
        // desktop there is taken before the panel appears.
        QScreen *screen = QGuiApplication::primaryScreen();
        const QRect geometry = screen->geometry();
        recorder = Recorder{
            recordDir, QRect(geometry.right() - 479, geometry.bottom() - 599, 480, 600), {}, {}, 0};
        recorder->desktop = recorder->grab(screen);
    }
    if (!card.show()) {
        return 2;
    }
    card.settle(300);
    Recorder *record = recorder ? &*recorder : nullptr;
    const Run open = measure(
        card, [&] { card.viewModel()->expand(); }, 400, record, "open");
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
        400, record, "turn");
    const Run fold = measure(
        card, [&] { card.viewModel()->collapse(); }, 400, record, "fold");
    int status = 0;
    for (const auto &[name, run] : {std::pair{"open", open}, {"turn", turn}, {"fold", fold}}) {
        std::printf("  %-5s %3d frames in %.2f s, longest gap %5.1f ms", name, run.frames,
                    run.seconds, run.longestGapMs);
        // Opening and folding fade and scale the card; they never turn it. (The
        // turn's near edge grows in perspective, past the corner.)
        if (name != std::string_view("turn")) {
            std::printf(", turned %d", run.turnedFrames);
            status |= run.turnedFrames > 0 ? 1 : 0;
            if (recorder) {
                std::printf(", displaced %d", run.displacedFrames);
                status |= run.displacedFrames > 0 ? 1 : 0;
            }
        }
        std::printf("\n");
    }
    if (!middle.isNull()) {
        middle.save(saveDir +
                    QStringLiteral("/turn-middle-%1.png")
                        .arg(qEnvironmentVariable("QT_QUICK_BACKEND", QStringLiteral("opengl"))));
    }
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    wordlumen::bench::runOnVirtualDisplay(argc, argv);
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    QString saveDir;
    if (const qsizetype i = arguments.indexOf(QStringLiteral("--save-frames")); i > 0) {
        saveDir = arguments.value(i + 1);
    }
    QString recordDir;
    if (const qsizetype i = arguments.indexOf(QStringLiteral("--record")); i > 0) {
        recordDir = arguments.value(i + 1);
    }
    if (arguments.contains(QStringLiteral("--child"))) {
        return child(saveDir, recordDir);
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
        if (!recordDir.isEmpty()) {
            childArguments << QStringLiteral("--record")
                           << QStringLiteral("%1/%2").arg(recordDir, QLatin1StringView(renderer));
        }
        process.start(QApplication::applicationFilePath(), childArguments);
        process.waitForFinished(60000);
        status |= process.exitCode();
    }
    return status;
}
