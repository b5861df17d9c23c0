// Renders every face of the card in the light and the dark scheme to PNG
// files, for looking at: the collapsed trigger (compact and wide), the front
// face, a local answer, a long answer, a two-line title, an online answer while
// its placeholder pulses (also under a two-line title) and while it streams, a
// refused request with its error, answers that are not available,
// reverse-lookup candidates, a starred answer, an online answer opened from
// the history, an answer with the row of its passage's other terms, the
// passage view (as opened, with what the online search found, with nothing
// found and with its failure) and the settings face.
//
//   card_screenshots [output-directory]     (default: ./screenshots)

#include "card/paint/theme.h"
#include "cardfixture.h"
#include "cardmodel/historyrecorder.h"
#include "history/historystore.h"
#include "tests/support/fakechatserver.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QQuickItem>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

struct Shot
{
    const char *name;
    std::function<void(CardFixture &, FakeChatServer &)> prepare;
};

void submit(CardFixture &card, const QString &query)
{
    card.viewModel()->expand();
    card.viewModel()->setQuery(query);
    card.viewModel()->explain();
}

const QString kPassage = QStringLiteral(
    "这周要把 RAG 的链路拉通，对齐颗粒度，用 Agent 和 context 形成闭环，再看 ROI 和抓手。"
    "下周例会上每个人讲一下自己负责的部分，有问题会后单独对。");

void openPassage(CardFixture &card, FakeChatServer &server, const QByteArray &reply,
                 int status = 200)
{
    card.apiKey = QStringLiteral("sk-test");
    card.viewModel()->expand();
    card.viewModel()->refreshHasAPIKey();
    card.viewModel()->openPassage(kPassage);
    if (reply.isEmpty())
        return;
    server.enqueue(ScriptedResponse::json(reply, status));
    card.viewModel()->passage()->search();
    // What the search brought is at the end of the view.
    card.settle(600);
    if (auto *scroll = card.root()->findChild<QQuickItem *>(QStringLiteral("passageScroll"))) {
        const double end =
            scroll->property("contentHeight").toDouble() - scroll->property("height").toDouble();
        scroll->setProperty("contentY", std::max(0.0, end));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Zintaro"));
    QApplication::setApplicationName(QStringLiteral("WordlumenScreenshots"));
    QQuickWindow::setTextRenderType(QQuickWindow::NativeTextRendering);
    // Settings of this run stay in a throw-away folder.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());

    const QString outDir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    Theme::instance()->setReduceMotion(true);
    // The card as a compositor shows it, with its shadows and see-through
    // margins; e2e_desktop shows it on a screen without one.
    Theme::instance()->setTranslucentWindows(true);

    const QList<Shot> shots = {
        {"collapsed-compact",
         [](CardFixture &, FakeChatServer &) {
         }},
        {"collapsed-wide",
         [](CardFixture &card, FakeChatServer &) {
             card.controller()->setTriggerStyle(FloatingTriggerStyle::Wide);
         }},
        {"collapsed-hover",
         [](CardFixture &card, FakeChatServer &) {
             // From outside, so the pointer enters even if an earlier shot left it here.
             QTest::mouseMove(card.panel(), QPoint(-40, -40));
             QTest::mouseMove(card.panel(), QPoint(70, 30));
         }},
        {"front",
         [](CardFixture &card, FakeChatServer &) {
             card.viewModel()->expand();
         }},
        {"focus-fold-corner",
         [](CardFixture &card, FakeChatServer &) {
             card.viewModel()->expand();
             card.settle(300);
             // From the input: three chips, 翻转, the two header buttons, the corner.
             for (int i = 0; i < 7; ++i)
                 QTest::keyClick(card.panel(), Qt::Key_Tab);
         }},
        {"focus-trigger",
         [](CardFixture &card, FakeChatServer &) {
             card.controller()->activatePanel();
             card.viewModel()->expand();
             card.settle(300);
             QTest::keyClick(card.panel(), Qt::Key_Escape);
         }},
        {"focus-save",
         [](CardFixture &card, FakeChatServer &) {
             card.viewModel()->expand();
             card.viewModel()->openSettings();
             card.settle(300);
             // From the key field: the endpoint, the model, 清除 KEY, 保存设置.
             for (int i = 0; i < 4; ++i)
                 QTest::keyClick(card.panel(), Qt::Key_Tab);
         }},
        {"front-error",
         [](CardFixture &card, FakeChatServer &) {
             submit(card, QStringLiteral("   "));
         }},
        {"answer-local",
         [](CardFixture &card, FakeChatServer &) {
             submit(card, QStringLiteral("什么是RAG"));
         }},
        {"answer-placeholder",
         [](CardFixture &card, FakeChatServer &server) {
             card.apiKey = QStringLiteral("sk-test");
             ScriptedResponse held = ScriptedResponse::eventStream({});
             held.holdOpen = true;
             server.enqueue(held);
             submit(card, QStringLiteral("Zorblax"));
         }},
        {"answer-streaming",
         [](CardFixture &card, FakeChatServer &server) {
             card.apiKey = QStringLiteral("sk-test");
             ScriptedResponse held = ScriptedResponse::eventStream(
                 {pieceLine(QStringLiteral("Zorblax 是一种把长任务拆成")),
                  pieceLine(QStringLiteral("小步、逐步交给模型完成的做法，"))});
             held.holdOpen = true;
             server.enqueue(held);
             submit(card, QStringLiteral("Zorblax"));
         }},
        {"answer-long",
         [](CardFixture &card, FakeChatServer &server) {
             card.apiKey = QStringLiteral("sk-test");
             card.profile.length = ExplanationLength::Detailed;
             server.enqueue(ScriptedResponse::eventStream(
                 {pieceLine(QStringLiteral(
                      "检索增强生成是先到可信资料里找出和问题相关的段落，再让模型只根据这些段落来"
                      "回答，所以答案能说清出处，也更少凭空编造。企业常用它把内部文档接进问答助手"
                      "里，资料更新以后不用重新训练模型，只要更新检索的资料库就行。它的难点在于切"
                      "分资料、挑选最相关的段落，以及在资料互相矛盾时给出稳妥的说法。做得好时，员"
                      "工问制度、流程和产品细节都能得到带出处的回答。")),
                  "data: [DONE]"}));
             submit(card, QStringLiteral("Zorblax"));
         }},
        {"answer-long-title",
         [](CardFixture &card, FakeChatServer &server) {
             card.apiKey = QStringLiteral("sk-test");
             server.enqueue(ScriptedResponse::eventStream(
                 {pieceLine(QStringLiteral("把一整套业务流程拆成能自动执行的步骤，让软件按顺序替人"
                                           "完成，中间出错时再交回给人处理。")),
                  "data: [DONE]"}));
             submit(card, QStringLiteral("一个名字特别长的行业黑话术语两行"));
         }},
        {"answer-error",
         [](CardFixture &card, FakeChatServer &server) {
             card.apiKey = QStringLiteral("sk-test");
             server.enqueue(ScriptedResponse::json("{}", 500));
             submit(card,
                    QStringLiteral("有没有一种办法让电脑像人一样一步步自己去把一整件事情办完"));
         }},
        {"answer-placeholder-long-title",
         [](CardFixture &card, FakeChatServer &server) {
             card.apiKey = QStringLiteral("sk-test");
             ScriptedResponse held = ScriptedResponse::eventStream({});
             held.holdOpen = true;
             server.enqueue(held);
             submit(card, QStringLiteral("一个名字特别长的行业黑话术语两行"));
         }},
        {"answer-unavailable-description",
         [](CardFixture &card, FakeChatServer &) {
             submit(card,
                    QStringLiteral("有没有一种办法让电脑像人一样一步步自己去把一整件事情办完"));
         }},
        {"answer-unavailable",
         [](CardFixture &card, FakeChatServer &) {
             submit(card, QStringLiteral("Zorblax"));
         }},
        {"reverse-candidates",
         [](CardFixture &card, FakeChatServer &server) {
             card.apiKey = QStringLiteral("sk-test");
             server.enqueue(ScriptedResponse::json(matchesReply(
                 {{QStringLiteral("AI 智能体"), QStringLiteral("AI Agent"),
                   QStringLiteral("能自己拆解任务、调用工具、一步步把事情做完的 AI 程序。"),
                   QStringLiteral("high")},
                  {QStringLiteral("工作流自动化"), QStringLiteral("Workflow Automation"),
                   QStringLiteral("把一串固定步骤交给软件按顺序自动执行。"),
                   QStringLiteral("high")},
                  {QStringLiteral("RPA"), QStringLiteral("rpa"),
                   QStringLiteral("让软件模仿人在电脑上的点击和输入，替人做重复操作。"),
                   QStringLiteral("high")}})));
             submit(card,
                    QStringLiteral("有没有一种办法让电脑像人一样一步步自己去把一整件事情办完"));
         }},
        {"answer-starred",
         [&settingsDir](CardFixture &card, FakeChatServer &) {
             HistoryStore *history =
                 card.useHistory(settingsDir.filePath(QStringLiteral("starred.sqlite3")));
             history->clear();
             submit(card, QStringLiteral("什么是RAG"));
             card.settle(300);
             if (auto *recorder = card.viewModel()->history())
                 recorder->toggleStar();
         }},
        {"answer-saved",
         [&settingsDir](CardFixture &card, FakeChatServer &) {
             card.apiKey = QStringLiteral("sk-test");
             HistoryStore *history =
                 card.useHistory(settingsDir.filePath(QStringLiteral("saved.sqlite3")));
             history->clear();
             history->record(HistoryRecord{
                 QStringLiteral("Zorblax"),
                 QStringLiteral("Zorblax"),
                 QStringLiteral("Zorblax 是一种把长任务拆成小步、逐步交给模型完成的做法，"
                                "每一步的结果都能检查，出错时只重做那一步。"),
                 ExplanationOrigin::DeepSeek,
                 HistoryRecorder::onlineSource(
                     OnlineSettings{card.endpoint.toString(), QStringLiteral("test-model")},
                     card.profile),
                 {}});
             const auto saved = history->savedAnswer(QStringLiteral("Zorblax"));
             card.viewModel()->refreshHasAPIKey();
             card.viewModel()->expand();
             if (saved && *saved)
                 card.viewModel()->openSaved(**saved);
         }},
        {"answer-passage-row",
         [](CardFixture &card, FakeChatServer &) {
             submit(card, kPassage);
         }},
        {"passage",
         [](CardFixture &card, FakeChatServer &server) {
             openPassage(card, server, {});
         }},
        {"passage-found",
         [](CardFixture &card, FakeChatServer &server) {
             openPassage(card, server,
                         jargonReply({{QStringLiteral("例会"),
                                       QStringLiteral("固定时间开的常规会议，这里指下周那次。")},
                                      {QStringLiteral("单独对"),
                                       QStringLiteral("会后两个人私下再核对、商量细节。")}}));
         }},
        {"passage-nothing-found",
         [](CardFixture &card, FakeChatServer &server) {
             openPassage(card, server, jargonReply({}));
         }},
        {"passage-error",
         [](CardFixture &card, FakeChatServer &server) {
             openPassage(card, server, "{}", 500);
         }},
        {"settings",
         [](CardFixture &card, FakeChatServer &) {
             card.viewModel()->expand();
             card.viewModel()->openSettings();
         }},
        {"settings-refused",
         [](CardFixture &card, FakeChatServer &) {
             QSettings().setValue(QStringLiteral("deepseekEndpoint"),
                                  QStringLiteral("http://api.example.com/v1/chat/completions"));
             card.viewModel()->expand();
             card.viewModel()->openSettings();
             card.settle(200);
             // The face's save action, as its button runs it.
             for (QObject *object : card.root()->findChildren<QObject *>()) {
                 if (auto *settings = object->property("settings").value<QObject *>()) {
                     QMetaObject::invokeMethod(settings, "save");
                     break;
                 }
             }
         }},
    };

    int failures = 0;
    for (const Theme::Scheme scheme : {Theme::Scheme::Light, Theme::Scheme::Dark}) {
        Theme::instance()->setScheme(scheme);
        const QString suffix =
            scheme == Theme::Scheme::Dark ? QStringLiteral("dark") : QStringLiteral("light");
        for (const Shot &shot : shots) {
            QSettings().clear();
            FakeChatServer server;
            if (!server.listen()) {
                std::fprintf(stderr, "%s: the chat server could not listen\n", shot.name);
                ++failures;
                continue;
            }
            CardFixture card;
            card.endpoint = server.url();
            if (!card.show()) {
                std::fprintf(stderr, "%s: the panel was not exposed\n", shot.name);
                ++failures;
                continue;
            }
            card.settle(100);
            shot.prepare(card, server);
            card.settle(900);
            const QImage image = card.panel()->grabWindow();
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
