// The control center's history page over a history of 10,000 entries: the
// time from choosing 「历史与收藏」 in the sidebar to the first frame that shows
// the page. Each run is a first visit, as the user meets it after a start:
// a fresh window whose page is not built yet over a history whose file is not
// open yet. Target: under 100 ms.
//
//   bench_historypage [--repeats N]

#include "app/controlcenter/controlcentermodel.h"
#include "app/controlcenter/controlcenterwindow.h"
#include "app/shell/platformsetup.h"
#include "app/staticqmlmodules.h"
#include "bench/support/benchsupport.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "desktop/desktopservices.h"
#include "history/historystore.h"
#include "packs/customglossarystore.h"
#include "tests/support/fakesecretstore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQmlEngine>
#include <QQuickView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace wordlumen;

namespace {

constexpr int kRows = 10000;
constexpr double kTargetMs = 100.0;

HistoryRecord entry(int i)
{
    const QString term =
        i % 3 == 0 ? QStringLiteral("Term %1").arg(i) : QStringLiteral("检索增强%1").arg(i);
    return HistoryRecord{term,
                         term,
                         QStringLiteral("第 %1 条答案：先到资料里找出相关段落，再让模型只根据"
                                        "这些段落回答，答案能说清出处。")
                             .arg(i),
                         ExplanationOrigin::Local,
                         AnswerSource::dictionary(),
                         {}};
}

} // namespace

int main(int argc, char *argv[])
{
    bench::runOnVirtualDisplay(argc, argv);
    PlatformSetup::beforeApplication();
    QApplication app(argc, argv);
    PlatformSetup::afterApplication();
    QCoreApplication::setApplicationName(QStringLiteral("WordlumenHistoryPageBench"));
    QSettings().clear();
    const int repeats = std::max(
        1, bench::intOption(QCoreApplication::arguments(), QStringLiteral("--repeats"), 7));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("History.sqlite3"));
    {
        HistoryStore filling(path, HistoryStore::Options{true, kRows, {}});
        for (int i = 0; i < kRows; ++i) {
            if (!filling.record(entry(i))) {
                std::puts("cannot fill the history");
                return 2;
            }
        }
    }

    CustomGlossaryStore library(dir.filePath(QStringLiteral("MyGlossary.json")));
    FloatingCardWindowController card(DesktopServices::panelHints());
    testing::FakeSecretStore secrets;
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));

    std::vector<double> firstFrames;
    int rowsShown = 0;
    for (int run = 0; run < repeats; ++run) {
        HistoryStore history(path, HistoryStore::Options{true, kRows, {}});
        ControlCenterModel model(&card, library, 200, &secrets, &history);
        ControlCenterWindow window(&engine, &model);
        window.show(true);
        QQuickView *view = window.window();
        if (!view || !QTest::qWaitForWindowExposed(view)) {
            std::puts("the control center did not show");
            return 2;
        }
        QTest::qWait(400);

        QElapsedTimer clock;
        qint64 firstFrame = -1;
        auto connection = QObject::connect(
            view, &QQuickWindow::frameSwapped, view,
            [&] {
                if (firstFrame < 0)
                    firstFrame = clock.nsecsElapsed();
            },
            Qt::DirectConnection);
        clock.start();
        model.setSelection(ControlCenterModel::Section::History);
        QTest::qWait(300);
        QObject::disconnect(connection);
        rowsShown = model.history()->entries()->rowCount();
        firstFrames.push_back(firstFrame < 0 ? 1e9 : double(firstFrame) / 1e6);
        window.window()->hide();
    }

    std::printf("first frames in visit order (ms):");
    for (double ms : firstFrames)
        std::printf(" %.1f", ms);
    std::printf("\n");
    std::sort(firstFrames.begin(), firstFrames.end());
    const double median = bench::median(firstFrames);
    std::printf("history page over %d entries, %d first visits: first frame median %.1f ms, "
                "fastest %.1f ms, slowest %.1f ms; %d rows read for the first screen\n",
                kRows, repeats, median, firstFrames.front(), firstFrames.back(), rowsShown);
    std::printf("target: first frame under %.0f ms: %s\n", kTargetMs,
                median < kTargetMs ? "met" : "NOT met");
    return median < kTargetMs ? 0 : 1;
}
