// Renders every page of the control center in the light and the dark scheme
// to PNG files, for looking at: the floating page (with its shortcut and
// start-at-login rows in each state), the vocabulary page without
// packs, with three packs, with shipped packs added (one switched off), with
// the delete dialog and with a library that did not load, and the API page
// with and without a status message, with the custom audience and its field,
// and with a length hovered; the history page empty, filled, searching, with
// only starred entries, asking to clear, and with recording off.
//
//   controlcenter_screenshots [output-directory]     (default: ./screenshots)

#include "app/controlcenter/apipagemodel.h"
#include "app/controlcenter/controlcentermodel.h"
#include "app/controlcenter/controlcenterwindow.h"
#include "app/integration/globalshortcut.h"
#include "app/integration/startatlogin.h"
#include "app/staticqmlmodules.h"
#include "card/paint/theme.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "desktop/desktopservices.h"
#include "history/historystore.h"
#include "packs/bundledpacks.h"
#include "packs/customglossarystore.h"
#include "tests/app/fakeloginitem.h"
#include "tests/app/fakeshortcutbackend.h"
#include "tests/support/fakesecretstore.h"
#include "tests/support/packfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

struct Scene
{
    QTemporaryDir dir;
    std::unique_ptr<CustomGlossaryStore> library;
    FloatingCardWindowController card{DesktopServices::panelHints()};
    FakeSecretStore secrets;
    std::unique_ptr<HistoryStore> history;
    std::unique_ptr<ControlCenterModel> model;

    QString libraryPath() const { return dir.filePath(QStringLiteral("MyGlossary.json")); }

    void importPack(const QString &fileName, const QString &text)
    {
        model->vocabulary()->importFile(QUrl::fromLocalFile(writeTextFile(dir, fileName, text)));
    }
};

QString pack(const QString &industry, const QString &depth, const QString &perspective, int count)
{
    return numberedPackText(industry, count, depth, perspective);
}

// Scrolls the shown page to its end, where the explanation style sits.
void scrollPageToEnd(QQuickView *view)
{
    for (QQuickItem *item : view->rootObject()->findChildren<QQuickItem *>()) {
        if (!item->inherits("QQuickFlickable") || !item->isVisible())
            continue;
        const double end = item->property("contentHeight").toDouble() - item->height();
        item->setProperty("contentY", std::max(0.0, end));
    }
}

// Scrolls the shown page so that the panel titled `title` starts at its top.
void scrollPageToPanel(QQuickView *view, const QString &title)
{
    QQuickItem *panel = nullptr;
    for (QQuickItem *item : view->rootObject()->findChildren<QQuickItem *>()) {
        if (item->isVisible() && item->property("title").toString() == title &&
            item->property("icon").isValid())
            panel = item;
    }
    for (QQuickItem *up = panel; up; up = up->parentItem()) {
        if (!up->inherits("QQuickFlickable"))
            continue;
        const double top =
            panel->mapToItem(up->property("contentItem").value<QQuickItem *>(), QPointF(0, 0)).y();
        const double end = up->property("contentHeight").toDouble() - up->height();
        up->setProperty("contentY", std::clamp(top - 8, 0.0, std::max(0.0, end)));
        return;
    }
}

struct Shot
{
    const char *name;
    std::function<void(Scene &)> prepare;
    std::function<void(Scene &, QQuickView *)> afterShow = {};
};

using Section = ControlCenterModel::Section;

// A week of lookups as an office worker makes them, the newest last.
void fillHistory(Scene &scene)
{
    struct Lookup
    {
        const char *term;
        const char *answer;
        ExplanationOrigin origin;
        bool starred;
    };
    const Lookup lookups[] = {
        {"KPI", "关键绩效指标：用几个数字衡量一个人或一个团队做得好不好，比如销售额、回款天数。",
         ExplanationOrigin::Local, true},
        {"颗粒度", "把事情拆得多细。“颗粒度再细一点”就是要把计划或汇报写得更具体。",
         ExplanationOrigin::Custom, false},
        {"RAG", "检索增强生成：先到可信资料里找出相关段落，再让 AI 只根据这些段落回答。",
         ExplanationOrigin::Local, true},
        {"对齐", "让几方对目标、做法或口径达成一致，常见于“我们先对齐一下”。",
         ExplanationOrigin::Local, false},
        {"Agent", "能自己拆解任务、调用工具、一步步把事情做完的 AI 程序。",
         ExplanationOrigin::DeepSeek, false},
    };
    for (const Lookup &lookup : lookups) {
        const QString term = QString::fromUtf8(lookup.term);
        AnswerSource source = AnswerSource::dictionary();
        if (lookup.origin == ExplanationOrigin::Custom)
            source = AnswerSource::pack(QStringLiteral("互联网职场黑话"));
        else if (lookup.origin == ExplanationOrigin::DeepSeek)
            source = AnswerSource::online(QStringLiteral("https://api.deepseek.com/v1"),
                                          QStringLiteral("deepseek-chat"),
                                          QStringLiteral("通俗白话 · 标准"));
        static_cast<void>(scene.history->record(HistoryRecord{
            term, term, QString::fromUtf8(lookup.answer), lookup.origin, source, {}}));
        if (lookup.starred)
            static_cast<void>(scene.history->star(term));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Zintaro"));
    QApplication::setApplicationName(QStringLiteral("WordlumenControlCenterScreenshots"));
    QQuickWindow::setTextRenderType(QQuickWindow::NativeTextRendering);
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());

    const QString outDir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    Theme::instance()->setReduceMotion(true);

    const QList<Shot> shots = {
        {"control-center-floating",
         [](Scene &) {
         }},
        {"control-center-floating-hidden-wide",
         [](Scene &scene) {
             scene.card.setTriggerStyle(FloatingTriggerStyle::Wide);
         }},
        // The shortcut and start-at-login rows: registered with start at login on,
        // being changed, a combination another program holds, and the manual way.
        {"control-center-floating-shortcut",
         [](Scene &scene) {
             auto *autostart =
                 new StartAtLogin(std::make_unique<FakeLoginItem>(true), scene.model.get());
             auto *shortcut = new GlobalShortcut(
                 std::make_unique<FakeShortcutBackend>(std::nullopt), scene.model.get());
             shortcut->start();
             scene.model->floating()->setDesktopIntegration(shortcut, autostart);
         },
         [](Scene &, QQuickView *view) {
             scrollPageToEnd(view);
         }},
        {"control-center-floating-shortcut-recording",
         [](Scene &scene) {
             auto *shortcut = new GlobalShortcut(
                 std::make_unique<FakeShortcutBackend>(std::nullopt), scene.model.get());
             shortcut->start();
             scene.model->floating()->setDesktopIntegration(
                 shortcut, new StartAtLogin(std::make_unique<FakeLoginItem>(), scene.model.get()));
         },
         [](Scene &scene, QQuickView *view) {
             scrollPageToEnd(view);
             scene.model->floating()->shortcut()->startRecording();
             scene.model->floating()->shortcut()->recordKey(Qt::Key_E, 0);
         }},
        {"control-center-floating-shortcut-taken",
         [](Scene &scene) {
             auto *shortcut = new GlobalShortcut(
                 std::make_unique<FakeShortcutBackend>(ShortcutBackend::Failure::Taken),
                 scene.model.get());
             shortcut->start();
             scene.model->floating()->setDesktopIntegration(
                 shortcut, new StartAtLogin(std::make_unique<FakeLoginItem>(), scene.model.get()));
         },
         [](Scene &, QQuickView *view) {
             scrollPageToEnd(view);
         }},
        {"control-center-floating-shortcut-manual",
         [](Scene &scene) {
             auto *shortcut = new GlobalShortcut(nullptr, scene.model.get());
             shortcut->start();
             scene.model->floating()->setDesktopIntegration(
                 shortcut, new StartAtLogin(std::make_unique<FakeLoginItem>(), scene.model.get()));
         },
         [](Scene &, QQuickView *view) {
             scrollPageToEnd(view);
         }},
        {"control-center-vocabulary-empty",
         [](Scene &scene) {
             scene.model->setSelection(Section::Scripts);
         }},
        {"control-center-vocabulary-packs",
         [](Scene &scene) {
             scene.model->setSelection(Section::Scripts);
             scene.importPack(QStringLiteral("金融.md"),
                              pack(QStringLiteral("金融"), QStringLiteral("入门"),
                                   QStringLiteral("零基础"), 35));
             scene.importPack(QStringLiteral("法律补充包.txt"),
                              pack(QStringLiteral("法律补充包"), QString(), QString(), 12));
             scene.importPack(QStringLiteral("跨境电商-专业-业内人士-黑话补充包.txt"),
                              pack(QStringLiteral("跨境电商"), QStringLiteral("专业"),
                                   QStringLiteral("业内人士"), 80));
             scene.model->vocabulary()->setPackEnabled(1, false);
         }},
        // The shipped packs: one added, one added and switched off, the
        // status line of the last add further down.
        {"control-center-vocabulary-bundled",
         [](Scene &scene) {
             scene.model->setSelection(Section::Scripts);
             scene.model->vocabulary()->addBundledPack(2);
             scene.model->vocabulary()->setPackEnabled(0, false);
             scene.model->vocabulary()->addBundledPack(0);
         },
         [](Scene &, QQuickView *view) {
             scrollPageToPanel(view, QStringLiteral("推荐词库"));
         }},
        {"control-center-vocabulary-bundled-status",
         [](Scene &scene) {
             scene.model->setSelection(Section::Scripts);
             scene.model->vocabulary()->addBundledPack(2);
             scene.model->vocabulary()->addBundledPack(2);
         },
         [](Scene &, QQuickView *view) {
             scrollPageToPanel(view, QStringLiteral("行业补充包 · 完全本地"));
         }},
        {"control-center-vocabulary-delete",
         [](Scene &scene) {
             scene.model->setSelection(Section::Scripts);
             scene.importPack(QStringLiteral("金融.md"),
                              pack(QStringLiteral("金融"), QStringLiteral("入门"),
                                   QStringLiteral("零基础"), 35));
             scene.model->vocabulary()->requestDelete(0);
         }},
        {"control-center-vocabulary-load-error",
         [](Scene &scene) {
             scene.model->setSelection(Section::Scripts);
         }},
        {"control-center-api",
         [](Scene &scene) {
             scene.model->setSelection(Section::Api);
         }},
        {"control-center-api-saved",
         [](Scene &scene) {
             scene.model->setSelection(Section::Api);
             scene.model->api()->settings()->setApiKey(QStringLiteral("sk-1234567890"));
             scene.model->api()->settings()->save();
         }},
        {"control-center-api-refused",
         [](Scene &scene) {
             scene.model->setSelection(Section::Api);
             scene.model->api()->settings()->setEndpoint(
                 QStringLiteral("http://api.example.com/v1/chat/completions"));
             scene.model->api()->settings()->save();
         }},
        {"control-center-api-custom",
         [](Scene &scene) {
             scene.model->setSelection(Section::Api);
             scene.model->api()->setAudienceIndex(4);
             scene.model->api()->setCustomPerspective(
                 QStringLiteral("给完全不懂技术的餐饮店老板解释"));
         },
         [](Scene &, QQuickView *view) {
             scrollPageToEnd(view);
         }},
        // The keyboard on a choice's option: Tab reaches the chosen audience,
        // Right chooses the next one and takes the focus ring along.
        {"control-center-api-choice-focus",
         [](Scene &scene) { scene.model->setSelection(Section::Api); },
         [](Scene &, QQuickView *view) {
             const QStringList audiences = ApiPageModel::audienceTitles();
             auto focused = [view] {
                 QQuickItem *item = view->activeFocusItem();
                 return item ? item->property("title").toString() : QString();
             };
             for (int i = 0; i < 30 && !audiences.contains(focused()); ++i)
                 QTest::keyClick(view, Qt::Key_Tab);
             QTest::keyClick(view, Qt::Key_Right);
             QTest::qWait(300);
         }},
        {"control-center-api-length-hover",
         [](Scene &scene) {
             scene.model->setSelection(Section::Api);
             scene.model->api()->hoverLength(2);
         },
         [](Scene &, QQuickView *view) {
             scrollPageToEnd(view);
         }},
        {"control-center-history-empty",
         [](Scene &scene) {
             scene.model->setSelection(Section::History);
         }},
        {"control-center-history",
         [](Scene &scene) {
             fillHistory(scene);
             scene.model->setSelection(Section::History);
         }},
        {"control-center-history-search",
         [](Scene &scene) {
             fillHistory(scene);
             scene.model->setSelection(Section::History);
             scene.model->history()->setSearchText(QStringLiteral("AI"));
         }},
        {"control-center-history-starred",
         [](Scene &scene) {
             fillHistory(scene);
             scene.model->setSelection(Section::History);
             scene.model->history()->setStarredOnly(true);
         }},
        {"control-center-history-clear",
         [](Scene &scene) {
             fillHistory(scene);
             scene.model->setSelection(Section::History);
             scene.model->history()->requestClear();
         }},
        {"control-center-history-paused",
         [](Scene &scene) {
             fillHistory(scene);
             scene.model->setSelection(Section::History);
             scene.model->history()->setRecordingEnabled(false);
         },
         [](Scene &, QQuickView *view) {
             scrollPageToEnd(view);
         }},
    };

    int failures = 0;
    for (const Theme::Scheme scheme : {Theme::Scheme::Light, Theme::Scheme::Dark}) {
        Theme::instance()->setScheme(scheme);
        const QString suffix =
            scheme == Theme::Scheme::Dark ? QStringLiteral("dark") : QStringLiteral("light");
        for (const Shot &shot : shots) {
            QSettings().clear();
            Scene scene;
            if (QByteArrayView(shot.name).endsWith("load-error")) {
                QFile broken(scene.libraryPath());
                if (broken.open(QIODevice::WriteOnly))
                    broken.write("{\"version\": 2, \"packs\": [ ]");
            }
            scene.library = std::make_unique<CustomGlossaryStore>(scene.libraryPath());
            scene.history = std::make_unique<HistoryStore>(
                scene.dir.filePath(QStringLiteral("History.sqlite3")));
            scene.model = std::make_unique<ControlCenterModel>(&scene.card, *scene.library, 200,
                                                               &scene.secrets, scene.history.get());
            // The packs shipped beside the program, as the application offers them.
            scene.model->vocabulary()->setBundledPacks(BundledPacks::load());
            if (!QByteArrayView(shot.name).contains("hidden"))
                scene.card.showPanel();
            shot.prepare(scene);

            QQmlEngine engine;
            engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
            ControlCenterWindow window(&engine, scene.model.get());
            window.show(true);
            QQuickView *view = window.window();
            if (!QTest::qWaitForWindowExposed(view)) {
                std::fprintf(stderr, "%s: the window was not exposed\n", shot.name);
                ++failures;
                continue;
            }
            QTest::qWait(300);
            if (shot.afterShow)
                shot.afterShow(scene, view);
            QTest::qWait(300);
            const QImage image = view->grabWindow();
            const QString path =
                QStringLiteral("%1/%2-%3.png").arg(outDir, QString::fromLatin1(shot.name), suffix);
            if (image.isNull() || !image.save(path)) {
                std::fprintf(stderr, "%s: could not save %s\n", shot.name, qPrintable(path));
                ++failures;
                continue;
            }
            std::printf("%s\n", qPrintable(path));
        }
    }
    return failures == 0 ? 0 : 1;
}
