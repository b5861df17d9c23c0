// How smoothly the control center answers its two everyday actions: switching
// pages (the pages cross-fade) and toggling a pack (the switch slides and the
// list, badge and sidebar update). For each action it reports the time to the
// first frame drawn, the frames shown while the change plays and the longest
// gap between two of them. A gap within two frame intervals (33 ms at 60 Hz)
// drops at most one frame.
//
//   bench_controlcenter [--repeats N]
//
// Runs on the program's own renderer choice (QT_QUICK_BACKEND or
// QSG_RHI_BACKEND choose another).

#include "app/controlcenter/controlcentermodel.h"
#include "app/controlcenter/controlcenterwindow.h"
#include "app/shell/platformsetup.h"
#include "app/staticqmlmodules.h"
#include "bench/support/benchsupport.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "desktop/desktopservices.h"
#include "packs/customglossarystore.h"
#include "tests/support/fakesecretstore.h"
#include "tests/support/packfiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQmlEngine>
#include <QQuickView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace wordlumen;

namespace {

constexpr double kTwoFramesMs = 1000.0 / 60.0 * 2.0;

struct Figures
{
    std::vector<double> firstFrameMs;
    std::vector<double> longestGapMs;
    std::vector<int> frames;
};

// Runs `action` and records frames for `milliseconds`: the gap from the action
// to the first frame counts as a gap too, so a frame held up by the change
// itself shows.
void record(QQuickView *view, const std::function<void()> &action, int milliseconds,
            Figures &figures)
{
    QElapsedTimer clock;
    std::vector<qint64> stamps;
    auto connection = QObject::connect(
        view, &QQuickWindow::frameSwapped, view, [&] { stamps.push_back(clock.nsecsElapsed()); },
        Qt::DirectConnection);
    clock.start();
    action();
    QTest::qWait(milliseconds);
    QObject::disconnect(connection);
    if (stamps.empty()) {
        figures.firstFrameMs.push_back(-1);
        figures.longestGapMs.push_back(-1);
        figures.frames.push_back(0);
        return;
    }
    double longest = double(stamps.front()) / 1e6;
    for (size_t i = 1; i < stamps.size(); ++i) {
        longest = std::max(longest, double(stamps[i] - stamps[i - 1]) / 1e6);
    }
    figures.firstFrameMs.push_back(double(stamps.front()) / 1e6);
    figures.longestGapMs.push_back(longest);
    figures.frames.push_back(int(stamps.size()));
}

template<typename T>
T largest(const std::vector<T> &values)
{
    return values.empty() ? T{} : *std::max_element(values.begin(), values.end());
}

bool report(const char *name, const Figures &figures)
{
    const double worst = largest(figures.longestGapMs);
    std::printf("  %-12s first frame %5.1f ms (median), %3d frames (median), longest gap %5.1f ms "
                "(median %5.1f)\n",
                name, bench::median(figures.firstFrameMs), bench::median(figures.frames), worst,
                bench::median(figures.longestGapMs));
    return worst >= 0 && worst <= kTwoFramesMs;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::runOnVirtualDisplay(argc, argv);
    PlatformSetup::beforeApplication();
    QApplication app(argc, argv);
    PlatformSetup::afterApplication();
    QCoreApplication::setApplicationName(QStringLiteral("WordlumenControlCenterBench"));
    QSettings().clear();
    const int repeats = std::max(
        1, bench::intOption(QCoreApplication::arguments(), QStringLiteral("--repeats"), 20));

    QTemporaryDir dir;
    CustomGlossaryStore library(dir.filePath(QStringLiteral("MyGlossary.json")));
    FloatingCardWindowController card(DesktopServices::panelHints());
    testing::FakeSecretStore secrets;
    ControlCenterModel model(&card, library, 200, &secrets);
    for (const QString &industry :
         {QStringLiteral("金融"), QStringLiteral("医疗"), QStringLiteral("法律")}) {
        model.vocabulary()->importFile(QUrl::fromLocalFile(testing::writeTextFile(
            dir, industry + QStringLiteral(".md"), testing::numberedPackText(industry, 40))));
    }
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    ControlCenterWindow window(&engine, &model);
    window.show(true);
    QQuickView *view = window.window();
    if (!view || !QTest::qWaitForWindowExposed(view)) {
        std::puts("the control center did not show");
        return 2;
    }
    QTest::qWait(500);

    // Every page once before measuring, so each page's first build is not
    // what is timed (the user meets that once, on the first visit).
    using Section = ControlCenterModel::Section;
    const Section order[] = {Section::Scripts, Section::Api, Section::Floating};
    for (Section section : order) {
        model.setSelection(section);
        QTest::qWait(300);
    }

    Figures pages;
    Figures toggles;
    for (int i = 0; i < repeats; ++i) {
        for (Section section : order) {
            record(
                view, [&] { model.setSelection(section); }, 300, pages);
        }
    }
    model.setSelection(Section::Scripts);
    QTest::qWait(300);
    for (int i = 0; i < repeats; ++i) {
        const bool enable = i % 2 == 1;
        record(
            view, [&] { model.vocabulary()->setPackEnabled(1, enable); }, 300, toggles);
    }

    std::printf("%s renderer, %d repeats\n",
                qEnvironmentVariable("QT_QUICK_BACKEND", QStringLiteral("default")).toUtf8().data(),
                repeats);
    const bool pagesSmooth = report("page switch", pages);
    const bool togglesSmooth = report("pack toggle", toggles);
    std::printf("target: no gap above %.1f ms (at most one dropped frame): %s\n", kTwoFramesMs,
                pagesSmooth && togglesSmooth ? "met" : "NOT met");
    return pagesSmooth && togglesSmooth ? 0 : 1;
}
