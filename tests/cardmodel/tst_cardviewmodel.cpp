#include "cardmodel/cardviewmodel.h"
#include "online/apisettingsnotifier.h"
#include "online/deepseekerror.h"
#include "packs/customglossarystore.h"
#include "tests/support/fakechatserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace wordlumen;
using namespace wordlumen::testing;
using Presentation = CardViewModel::Presentation;
using AnswerMode = CardViewModel::AnswerMode;

namespace {

const QString kMissingTerm =
    QStringLiteral("本地词典还没收录这个词。接上在线 API 后，我可以继续把它翻成容易理解的白话。");
const QString kDescription =
    QStringLiteral("这句话像是在描述一个专业术语。接上在线 API "
                   "后，我可以反查最可能的黑话，而且不会打断你正在工作的主对话。");

GlossaryStore dictionary()
{
    auto entry = [](qint64 number, const QString &title, const QString &explanation) {
        return GlossaryEntry{number, title, explanation,
                             GlossaryStore::namesDerivedFromTitle(title)};
    };
    return GlossaryStore({
        entry(1, QStringLiteral("检索增强生成（RAG）"),
              QStringLiteral("先查资料再回答。词典里的解释。")),
        entry(2, QStringLiteral("上下文（context）"), QStringLiteral("AI 当前能参考的内容。")),
    });
}

/// A reverse-lookup reply naming (term, reason) pairs.
QByteArray reverseLookupReply(const QList<QPair<QString, QString>> &matches)
{
    QList<ReverseLookupMatch> named;
    for (const auto &[term, reason] : matches)
        named.append({term, std::nullopt, reason, std::nullopt});
    return matchesReply(named);
}

QString originOf(const CardViewModel &model)
{
    return model.result() ? toString(model.result()->origin) : QString();
}

// Repeats a character to a grapheme count, for length rules.
QString text(qsizetype count, QChar fill = u'字')
{
    return QString(count, fill);
}

} // namespace

class CardViewModelTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<FakeChatServer> m_server;
    std::unique_ptr<CustomGlossaryStore> m_packs;
    ExplanationPromptProfile m_profile;
    QString m_key;
    int m_keyReads = 0;
    QString m_endpoint;

    std::unique_ptr<CardViewModel> makeModel(bool withDictionary = true)
    {
        std::optional<GlossaryStore> glossary;
        if (withDictionary)
            glossary = dictionary();
        return std::make_unique<CardViewModel>(
            glossary, m_packs.get(), [this] { return m_profile; },
            [this] {
                ++m_keyReads;
                return m_key;
            },
            [this] {
                return OnlineSettings{m_endpoint, QStringLiteral("test-model")};
            });
    }

    static void ask(CardViewModel &model, const QString &query)
    {
        model.setQuery(query);
        model.explain();
    }

private slots:
    void init()
    {
        m_server = std::make_unique<FakeChatServer>();
        QVERIFY(m_server->listen());
        m_packs = std::make_unique<CustomGlossaryStore>(
            m_dir.filePath(QStringLiteral("library-%1.json")
                               .arg(QString::fromLatin1(QTest::currentTestFunction()))));
        m_profile = {};
        m_key.clear();
        m_keyReads = 0;
        m_endpoint = m_server->url().toString();
    }

    void cleanup()
    {
        m_server.reset();
        m_packs.reset();
    }

    void packAnswersBeforeTheDictionaryEvenWithoutKey()
    {
        const auto imported = m_packs->importText(
            QStringLiteral("# 检索黑话补充包\n\n## RAG\n解释：补充包里的说法。\n"),
            QStringLiteral("p.md"));
        QVERIFY(imported);
        auto model = makeModel();
        ask(*model, QStringLiteral("什么是RAG"));
        QCOMPARE(originOf(*model), QStringLiteral("custom"));
        QCOMPARE(model->result()->explanation, QStringLiteral("补充包里的说法。"));
        QCOMPARE(model->presentation(), Presentation::Back);
        QVERIFY(m_server->requests().isEmpty());
    }

    void dictionaryAnswersLocallyForThePlainAudienceOrWithoutKey()
    {
        auto model = makeModel();
        m_key = QStringLiteral("sk-test");
        ask(*model, QStringLiteral("rag"));
        QCOMPARE(originOf(*model), QStringLiteral("local"));
        QCOMPARE(model->result()->term, QStringLiteral("检索增强生成（RAG）"));

        m_key.clear();
        m_profile.audience = ExplanationAudience::QuickStart;
        ask(*model, QStringLiteral("上下文"));
        QCOMPARE(originOf(*model), QStringLiteral("local"));
        QVERIFY(m_server->requests().isEmpty());
        QCOMPARE(model->answerMode(), AnswerMode::Explanation);
    }

    void otherAudiencesSendTheDictionaryTitleOnline()
    {
        m_key = QStringLiteral("sk-test");
        m_profile.audience = ExplanationAudience::QuickStart;
        m_server->enqueue(ScriptedResponse::eventStream(
            {pieceLine(QStringLiteral("在线解释。")), "data: [DONE]"}));
        auto model = makeModel();
        ask(*model, QStringLiteral("什么是 rag？"));
        QCOMPARE(originOf(*model), QStringLiteral("deepSeek"));
        QCOMPARE(model->result()->term, QStringLiteral("检索增强生成（RAG）"));
        QVERIFY(model->isLoading());
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(model->result()->explanation, QStringLiteral("在线解释。"));
        QCOMPARE(m_server->requests().size(), 1);
        const QJsonArray messages =
            m_server->requests().first().json().value(QStringLiteral("messages")).toArray();
        QCOMPARE(messages.last().toObject().value(QStringLiteral("content")).toString(),
                 QStringLiteral("检索增强生成（RAG）"));
        QCOMPARE(m_server->requests().first().header("Authorization"),
                 QByteArray("Bearer sk-test"));
    }

    void theKeyIsReadOnlyWhenTheAnswerDependsOnIt_data()
    {
        QTest::addColumn<ExplanationAudience>("audience");
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("reads");
        QTest::addColumn<QString>("origin");
        QTest::addRow("pack hit") << ExplanationAudience::QuickStart << QStringLiteral("Zorblax")
                                  << 0 << QStringLiteral("custom");
        QTest::addRow("dictionary hit, plain audience")
            << ExplanationAudience::Plain << QStringLiteral("rag") << 0 << QStringLiteral("local");
        QTest::addRow("dictionary hit, another audience")
            << ExplanationAudience::QuickStart << QStringLiteral("rag") << 1
            << QStringLiteral("local");
        QTest::addRow("unknown term") << ExplanationAudience::Plain << QStringLiteral("Kubernetes")
                                      << 1 << QStringLiteral("unavailable");
    }
    void theKeyIsReadOnlyWhenTheAnswerDependsOnIt()
    {
        QFETCH(ExplanationAudience, audience);
        QFETCH(QString, query);
        QFETCH(int, reads);
        QFETCH(QString, origin);
        QVERIFY(m_packs->importText(
            QStringLiteral("# 测试补充包\n\n## Zorblax\n解释：补充包里的说法。\n"),
            QStringLiteral("p.md")));
        m_profile.audience = audience;
        auto model = makeModel();
        m_keyReads = 0;
        ask(*model, query);
        QCOMPARE(originOf(*model), origin);
        QCOMPARE(m_keyReads, reads);
    }

    void noticesWithoutKeyStayInExplanationMode_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("notice");
        QTest::addRow("unknown term") << QStringLiteral("Kubernetes") << kMissingTerm;
        QTest::addRow("18-character description")
            << QStringLiteral("一二三四五六七八九十一二三四五六七八") << kDescription;
        QTest::addRow("signal phrase") << QStringLiteral("这种能力叫什么") << kDescription;
    }
    void noticesWithoutKeyStayInExplanationMode()
    {
        QFETCH(QString, query);
        QFETCH(QString, notice);
        auto model = makeModel();
        ask(*model, query);
        QCOMPARE(originOf(*model), QStringLiteral("unavailable"));
        QCOMPARE(model->result()->explanation, notice);
        QCOMPARE(model->result()->term, query);
        QCOMPARE(model->answerMode(), AnswerMode::Explanation);
        QCOMPARE(model->presentation(), Presentation::Back);
        // Room for the notice, the "接上 API" action and a long query's second title line.
        QCOMPARE(model->expandedHeight(),
                 CardMetrics::heightForAnswer({query, notice, false, true, {}}));
        QVERIFY(model->expandedHeight() >= CardMetrics::heightForText(notice));
        QVERIFY(model->offersApiSetup());
        QVERIFY(!model->showsPlaceholder());
    }

    void emptyQueryOnlySetsTheMessage()
    {
        auto model = makeModel();
        model->setPresentation(Presentation::Front);
        ask(*model, QStringLiteral(" \n "));
        QCOMPARE(model->errorMessage(), QStringLiteral("先写下一个看不懂的词。"));
        QCOMPARE(model->presentation(), Presentation::Front);
        QVERIFY(!model->result());

        auto withoutDictionary = makeModel(false);
        QCOMPARE(withoutDictionary->errorMessage(),
                 QStringLiteral("本地词典没有加载成功，仍可在设置 API 后使用在线解释。"));
    }

    // The footer names only sources that can answer: a dictionary that did
    // not load is not counted as 200 entries.
    void theFooterNamesTheSourcesThatCanAnswer()
    {
        auto model = makeModel();
        QCOMPARE(model->sourcesLine(),
                 QStringLiteral("2 条本地词典 · 无需 API")); // the test dictionary
        auto withoutDictionary = makeModel(false);
        QCOMPARE(withoutDictionary->sourcesLine(), QStringLiteral("本地词典未加载 · 需要 API"));

        m_key = QStringLiteral("sk-test");
        QSignalSpy changed(withoutDictionary.get(), &CardViewModel::hasAPIKeyChanged);
        withoutDictionary->refreshHasAPIKey();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(withoutDictionary->sourcesLine(), QStringLiteral("在线 API · 本地词典未加载"));
        model->refreshHasAPIKey();
        QCOMPARE(model->sourcesLine(), QStringLiteral("本地词典 + 在线 API"));
    }

    void unusableEndpointRequestsNothing_data()
    {
        QTest::addColumn<QString>("endpoint");
        QTest::addColumn<QString>("message");
        const QString invalid = QStringLiteral("API 地址格式不正确，请到设置里检查。");
        QTest::addRow("not a URL") << QStringLiteral("http://exa mple.com/chat") << invalid;
        QTest::addRow("empty") << QString() << invalid;
        QTest::addRow("no scheme") << QStringLiteral("api.example.com/chat/completions") << invalid;
        QTest::addRow("clear text across the network")
            << QStringLiteral("http://example.com/chat/completions")
            << DeepSeekError::insecureEndpoint().message();
    }
    void unusableEndpointRequestsNothing()
    {
        QFETCH(QString, endpoint);
        QFETCH(QString, message);
        m_key = QStringLiteral("sk-test");
        m_endpoint = endpoint;
        auto model = makeModel();
        model->setPresentation(Presentation::Front);
        ask(*model, QStringLiteral("Kubernetes"));
        QCOMPARE(model->errorMessage(), message);
        QCOMPARE(model->presentation(), Presentation::Front);
        QVERIFY(!model->result());
        QVERIFY(!model->isLoading());
        QTest::qWait(50);
        QVERIFY(m_server->requests().isEmpty());
    }

    void heightsFollowTextAndCandidates()
    {
        const QList<std::pair<int, double>> byLines{{1, 312},  {5, 312}, {6, 336},  {7, 360},
                                                    {8, 384},  {9, 408}, {10, 432}, {11, 456},
                                                    {12, 480}, {20, 480}};
        for (const auto &[lines, height] : byLines)
            QCOMPARE(CardMetrics::heightForText(text(lines * 20)), height);
        QCOMPARE(CardMetrics::heightForText(text(101)), 336.0); // 6 lines
        QCOMPARE(CardMetrics::heightForText(QString()), 312.0);
        QCOMPARE(CardMetrics::heightForCandidates(1), 312.0);
        QCOMPARE(CardMetrics::heightForCandidates(2), 378.0);
        QCOMPARE(CardMetrics::heightForCandidates(3), 444.0);
        QCOMPARE(CardMetrics::heightForCandidates(4), 480.0);
    }

    void answersMakeRoomForWhatTheFaceShowsBesidesTheText()
    {
        using Content = CardMetrics::AnswerContent;
        const QString shortTitle = QStringLiteral("检索增强生成");
        const QString longTitle = QStringLiteral("一个名字特别长的行业黑话术语两行"); // 16 wide
        // Nothing besides the text: exactly the text formula.
        for (const int lines : {1, 5, 6, 9, 12, 20})
            QCOMPARE(CardMetrics::heightForAnswer({shortTitle, text(lines * 20)}),
                     CardMetrics::heightForText(text(lines * 20)));
        // A second title line, the action and the error line each add their rows
        // to what the text needs (6 lines: 336), then to the next 12 points.
        QCOMPARE(CardMetrics::heightForAnswer({longTitle, text(120)}), 372.0);
        QCOMPARE(CardMetrics::heightForAnswer({shortTitle, text(120), false, true}), 384.0);
        QCOMPARE(CardMetrics::heightForAnswer(
                     {shortTitle, text(120), false, false, QStringLiteral("API 暂时没有回答。")}),
                 372.0);
        // Short texts have room to spare at 312, until the extras outgrow it.
        QCOMPARE(CardMetrics::heightForAnswer({shortTitle, text(60), false, true}), 312.0);
        QCOMPARE(CardMetrics::heightForAnswer(Content{longTitle, text(60), false, true,
                                                      QStringLiteral("API 暂时没有回答。")}),
                 372.0);
        // The placeholder takes its five lines; a long one is capped like text.
        QCOMPARE(CardMetrics::heightForAnswer({shortTitle, {}, true}), 312.0);
        QCOMPARE(CardMetrics::heightForAnswer({longTitle, {}, true}), 348.0);
        QCOMPARE(CardMetrics::heightForAnswer({longTitle, text(400), false, true}), 480.0);
        // The row of the passage's other terms below the text.
        QCOMPARE(
            CardMetrics::heightForAnswer({shortTitle, text(100), false, false, {}, false, true}),
            348.0);
        QCOMPARE(
            CardMetrics::heightForAnswer({shortTitle, text(60), false, false, {}, false, true}),
            312.0);
    }

    void titlesWiderThanALineTakeTwo_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("lines");
        QTest::addRow("14 wide") << QStringLiteral("一二三四五六七八九十一二三四") << 1;
        QTest::addRow("15 wide") << QStringLiteral("一二三四五六七八九十一二三四五") << 2;
        QTest::addRow("short Latin") << QStringLiteral("Chain of Thought") << 1;
        QTest::addRow("long Latin") << QStringLiteral("Retrieval-Augmented Generation") << 2;
        QTest::addRow("many lines still two") << QString(60, QChar(u'词')) << 2;
        QTest::addRow("empty") << QString() << 1;
    }
    void titlesWiderThanALineTakeTwo()
    {
        QFETCH(QString, title);
        QFETCH(int, lines);
        QCOMPARE(CardMetrics::titleLineCount(title), lines);
    }

    void streamStopsReadingAtTheHardLimit()
    {
        m_key = QStringLiteral("sk-test");
        m_profile.length = ExplanationLength::Brief; // limit 60, reads at most 120
        ScriptedResponse response;
        response.holdOpen = true;
        m_server->enqueue(response);
        auto model = makeModel();
        ask(*model, QStringLiteral("Kubernetes"));
        QVERIFY(m_server->waitForRequests(1));
        // The placeholder holds the place until the first text, not until the end.
        QVERIFY(model->showsPlaceholder());

        int longest = 0;
        connect(model.get(), &CardViewModel::resultChanged, this, [&] {
            if (model->result())
                longest = std::max<int>(longest, int(model->result()->explanation.size()));
        });
        for (int i = 0; i < 20 && model->isLoading(); ++i) {
            // Ten characters a piece, a sentence end at character 50.
            m_server->sendChunk(pieceLine(i == 4 ? text(9) + u'。' : text(10)) + "\n");
            QTRY_VERIFY(model->result()->explanation.size() >= std::min(60, (i + 1) * 10) ||
                        !model->isLoading());
            QVERIFY(!model->showsPlaceholder());
        }
        QTRY_VERIFY(!model->isLoading());
        QVERIFY(m_server->waitForAbandonedResponses(1));
        QCOMPARE(longest, 60);
        QCOMPARE(model->result()->explanation, text(49) + u'。');
        QVERIFY(model->errorMessage().isEmpty());
    }

    void pieceCrossingTheHardLimitIsCut()
    {
        m_key = QStringLiteral("sk-test");
        m_profile.length = ExplanationLength::Brief;
        m_server->enqueue(ScriptedResponse::eventStream(
            {pieceLine(text(100)), pieceLine(text(100)), "data: [DONE]"}));
        auto model = makeModel();
        ask(*model, QStringLiteral("Kubernetes"));
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(model->result()->explanation, text(59) + u'…');
    }

    void failuresBeforeAndAfterTheFirstPiece()
    {
        m_key = QStringLiteral("sk-test");
        m_server->enqueue(ScriptedResponse::json("{}", 500));
        auto model = makeModel();
        ask(*model, QStringLiteral("Kubernetes"));
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(model->result()->explanation,
                 QStringLiteral("这次没有解释成功。翻回正面后可以重试，或到设置里检查 API。"));
        QCOMPARE(model->errorMessage(), QStringLiteral("API 暂时没有回答（错误码 500）。"));

        m_server->enqueue(ScriptedResponse::eventStream(
            {pieceLine(QStringLiteral("已经写了一半")), "data: {\"oops\":1}"}));
        ask(*model, QStringLiteral("Docker"));
        QVERIFY(model->errorMessage().isEmpty());
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(model->result()->explanation, QStringLiteral("已经写了一半"));
        QVERIFY(!model->errorMessage().isEmpty());
        QCOMPARE(originOf(*model), QStringLiteral("deepSeek"));
    }

    void emptyStreamEndsQuietly()
    {
        m_key = QStringLiteral("sk-test");
        m_server->enqueue(ScriptedResponse::eventStream({"data: [DONE]"}));
        auto model = makeModel();
        ask(*model, QStringLiteral("Kubernetes"));
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(model->result()->explanation, QString());
        QVERIFY(model->errorMessage().isEmpty());
    }

    void reverseLookupFillsCandidatesAndHeight()
    {
        m_key = QStringLiteral("sk-test");
        m_server->enqueue(ScriptedResponse::json(
            reverseLookupReply({{QStringLiteral("上下文窗口"), QStringLiteral("一次能处理的量")},
                                {QStringLiteral("提示词"), QStringLiteral("给 AI 的指令")},
                                {QStringLiteral("微调"), QStringLiteral("再训练一下")}})));
        auto model = makeModel();
        ask(*model, QStringLiteral("AI 一次能记住多少东西这种能力叫什么"));
        QCOMPARE(model->answerMode(), AnswerMode::ReverseLookup);
        QVERIFY(!model->result());
        QVERIFY(model->showsPlaceholder());
        QVERIFY(!model->offersApiSetup());
        QCOMPARE(model->expandedHeight(), 340.0);
        QTRY_VERIFY(!model->isLoading());
        QVERIFY(!model->showsPlaceholder());
        QCOMPARE(model->reverseLookupMatches().size(), 3);
        QCOMPARE(model->expandedHeight(), 444.0);
        QCOMPARE(
            model->matchModel()
                ->data(model->matchModel()->index(0), ReverseLookupMatchModel::AccessibleNameRole)
                .toString(),
            QStringLiteral("上下文窗口，一次能处理的量，点击查看解释"));
        // The catalogue offered to the service lists the dictionary's names.
        const QJsonArray messages =
            m_server->requests().first().json().value(QStringLiteral("messages")).toArray();
        QVERIFY(messages.first()
                    .toObject()
                    .value(QStringLiteral("content"))
                    .toString()
                    .contains(QStringLiteral("- 上下文（context） | ")));

        // Choosing a candidate explains it like a typed term.
        m_server->enqueue(ScriptedResponse::eventStream(
            {pieceLine(QStringLiteral("提示词是……")), "data: [DONE]"}));
        model->selectReverseLookup(1);
        QCOMPARE(model->query(), QStringLiteral("提示词"));
        QCOMPARE(model->answerMode(), AnswerMode::Explanation);
        QCOMPARE(model->reverseLookupMatches().size(), 0);
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(model->result()->term, QStringLiteral("提示词"));
    }

    void reverseLookupFailures_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::addRow("no candidates")
            << reverseLookupReply({}) << 200 << QStringLiteral("没有收到有效回复，请稍后再试。");
        QTest::addRow("402") << QByteArray("{}") << 402
                             << QStringLiteral("API 账户余额不足，请充值后再试。");
    }
    void reverseLookupFailures()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(QString, message);
        m_key = QStringLiteral("sk-test");
        m_server->enqueue(ScriptedResponse::json(body, status));
        auto model = makeModel();
        const QString query = QStringLiteral("把很多资料先检索出来再回答的方法叫什么");
        ask(*model, query);
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(model->answerMode(), AnswerMode::Explanation);
        QCOMPARE(model->errorMessage(), message);
        QCOMPARE(originOf(*model), QStringLiteral("unavailable"));
        QCOMPARE(model->result()->term, query);
        QCOMPARE(model->result()->explanation,
                 QStringLiteral("这次没有反查成功。翻回正面后可以重试，或到设置里检查 API。"));
    }

    void collapseRemembersTheFaceAndKeepsOnlineWork()
    {
        m_key = QStringLiteral("sk-test");
        ScriptedResponse response;
        response.holdOpen = true;
        m_server->enqueue(response);
        auto model = makeModel();
        model->expand();
        QCOMPARE(model->presentation(), Presentation::Front);
        ask(*model, QStringLiteral("Kubernetes"));
        QVERIFY(m_server->waitForRequests(1));
        model->collapse();
        model->collapse();
        QCOMPARE(model->presentation(), Presentation::Collapsed);
        QCOMPARE(model->resumePresentation(), Presentation::Back);
        m_server->sendChunk(pieceLine(QStringLiteral("折起来也在写。")) + "\n");
        m_server->endResponse();
        QTRY_VERIFY(!model->isLoading());
        model->expand();
        QCOMPARE(model->presentation(), Presentation::Back);
        QCOMPARE(model->result()->explanation, QStringLiteral("折起来也在写。"));

        model->openSettings();
        QCOMPARE(model->expandedHeight(), 374.0);
        model->collapse();
        model->expand();
        QCOMPARE(model->presentation(), Presentation::Settings);
        model->closeSettings();
        QCOMPARE(model->presentation(), Presentation::Front);
        QCOMPARE(model->expandedHeight(), 312.0);
        QCOMPARE(model->query(), QStringLiteral("Kubernetes"));
    }

    void startOverDuringAStreamBringsNothingBack()
    {
        m_key = QStringLiteral("sk-test");
        ScriptedResponse response;
        response.holdOpen = true;
        m_server->enqueue(response);
        auto model = makeModel();
        ask(*model, QStringLiteral("Kubernetes"));
        QVERIFY(m_server->waitForRequests(1));
        m_server->sendChunk(pieceLine(QStringLiteral("第一段")) + "\n");
        QTRY_COMPARE(model->result()->explanation, QStringLiteral("第一段"));

        QSignalSpy resultChanges(model.get(), &CardViewModel::resultChanged);
        model->startOver();
        QCOMPARE(model->presentation(), Presentation::Front);
        QVERIFY(model->query().isEmpty());
        QVERIFY(!model->result());
        QCOMPARE(model->expandedHeight(), 312.0);
        const int changesAfterStartOver = int(resultChanges.size());
        m_server->sendChunk(pieceLine(QStringLiteral("第二段")) + "\n");
        m_server->endResponse();
        QTest::qWait(200);
        QCOMPARE(int(resultChanges.size()), changesAfterStartOver);
        QVERIFY(!model->result());
        QVERIFY(!model->isLoading());
        QVERIFY(model->errorMessage().isEmpty());
    }

    void flipToFrontKeepsQueryAndAnswer()
    {
        auto model = makeModel();
        ask(*model, QStringLiteral("rag"));
        const auto answer = model->result();
        const double height = model->expandedHeight();
        model->flipToFront();
        QCOMPARE(model->presentation(), Presentation::Front);
        QCOMPARE(model->result(), answer);
        QCOMPARE(model->query(), QStringLiteral("rag"));
        QCOMPARE(model->expandedHeight(), height);
    }

    // A query that holds more than the answered term: the answer is exactly
    // what it was, and the row offers the rest, in order, which a chip
    // explains like a typed term while the passage stays.
    void theRowOffersThePassagesOtherTerms()
    {
        // Five lines of answer: 312 points alone, more with the row below it.
        const QString granularity = QStringLiteral("事情拆得多细。") + text(93);
        QVERIFY(m_packs->importText(
            QStringLiteral("# 职场黑话补充包\n\n行业：职场\n\n## 颗粒度\n解释：%1\n\n"
                           "## 链路\n解释：一件事从头到尾经过的环节。\n")
                .arg(granularity),
            QStringLiteral("p.md")));
        auto model = makeModel();
        const QString passage = QStringLiteral("把 RAG 的链路和颗粒度对齐，RAG 先上线");
        ask(*model, passage);
        QCOMPARE(originOf(*model), QStringLiteral("custom"));
        QCOMPARE(model->result()->term, QStringLiteral("颗粒度"));
        QCOMPARE(model->result()->explanation, granularity);
        QCOMPARE(model->passage()->others()->labels(),
                 (QStringList{QStringLiteral("RAG"), QStringLiteral("链路")}));
        QCOMPARE(model->expandedHeight(), 348.0);

        model->explainPassageTerm(QStringLiteral("检索增强生成（RAG）"));
        QCOMPARE(model->query(), QStringLiteral("检索增强生成（RAG）"));
        QCOMPARE(originOf(*model), QStringLiteral("local"));
        QCOMPARE(model->resultTitle(), QStringLiteral("检索增强生成"));
        QCOMPARE(model->passage()->text(), passage);
        QCOMPARE(model->passage()->others()->labels(),
                 (QStringList{QStringLiteral("链路"), QStringLiteral("颗粒度")}));

        // A query of its own starts a passage of its own: one term, no row.
        ask(*model, QStringLiteral("颗粒度"));
        QCOMPARE(model->passage()->others()->count(), 0);
        QCOMPARE(model->expandedHeight(), 312.0);
        QVERIFY(m_server->requests().isEmpty());
    }

    void aPackImportedWhileRunningJoinsTheRowAtOnce()
    {
        QVERIFY(m_packs->importText(
            QStringLiteral("# 职场黑话补充包\n\n## 颗粒度\n解释：%1\n").arg(text(100)),
            QStringLiteral("a.md")));
        auto model = makeModel();
        ask(*model, QStringLiteral("把颗粒度和链路对齐"));
        QCOMPARE(model->passage()->others()->count(), 0);
        QCOMPARE(model->expandedHeight(), 312.0);
        QVERIFY(m_packs->importText(
            QStringLiteral("# 流程黑话补充包\n\n## 链路\n解释：一件事从头到尾经过的环节。\n"),
            QStringLiteral("b.md")));
        QCOMPARE(model->passage()->others()->labels(), QStringList{QStringLiteral("链路")});
        QCOMPARE(model->expandedHeight(), 348.0);
        // The answer itself is the one it was.
        QCOMPARE(model->resultTitle(), QStringLiteral("颗粒度"));
    }

    // Opened on a selected passage, the view lists what it knows; a term
    // chosen there is explained, the row leads back, and leaving returns to
    // the answer it came from or, without one, to the front.
    void thePassageView()
    {
        m_key = QStringLiteral("sk-test");
        auto model = makeModel();
        ask(*model, QStringLiteral("context"));
        const QString passage = QStringLiteral("先用 RAG 查资料，再把结果放进 context 里");
        model->openPassage(passage);
        QCOMPARE(model->presentation(), Presentation::Back);
        QCOMPARE(model->answerMode(), AnswerMode::Passage);
        QVERIFY(!model->hasResult());
        QCOMPARE(model->query(), passage);
        QCOMPARE(model->passage()->terms()->labels(),
                 (QStringList{QStringLiteral("RAG"), QStringLiteral("context")}));
        QCOMPARE(model->expandedHeight(),
                 CardMetrics::heightForPassage(model->passage()->viewContent()));
        QVERIFY(model->passage()->offersSearch());

        model->explainPassageTerm(QStringLiteral("上下文（context）"));
        QCOMPARE(model->answerMode(), AnswerMode::Explanation);
        QCOMPARE(model->resultTitle(), QStringLiteral("上下文"));
        QCOMPARE(model->passage()->others()->labels(), QStringList{QStringLiteral("RAG")});
        const double answerHeight = model->expandedHeight();

        model->showPassage();
        QCOMPARE(model->answerMode(), AnswerMode::Passage);
        model->leavePassage();
        QCOMPARE(model->answerMode(), AnswerMode::Explanation);
        QCOMPARE(model->presentation(), Presentation::Back);
        QCOMPARE(model->expandedHeight(), answerHeight);

        model->openPassage(passage);
        model->leavePassage();
        QCOMPARE(model->presentation(), Presentation::Front);
        QCOMPARE(model->query(), passage);
        QVERIFY(m_server->requests().isEmpty());
    }

    // A selection is looked up as typed unless it reads as a passage: a
    // single term and a question naming two terms keep today's lookup; two
    // terms in a sentence, or a long paragraph, open the passage view whole.
    void aSelectedPassageOpensThePassageView()
    {
        auto model = makeModel();
        model->lookUpSelection(QStringLiteral("  RAG\n"));
        QCOMPARE(model->answerMode(), AnswerMode::Explanation);
        QCOMPARE(model->query(), QStringLiteral("RAG"));
        QCOMPARE(model->resultTitle(), QStringLiteral("检索增强生成"));

        model->lookUpSelection(QStringLiteral("RAG 和 context 这种组合叫什么"));
        QVERIFY(model->answerMode() != AnswerMode::Passage);
        QCOMPARE(model->query(), QStringLiteral("RAG 和 context 这种组合叫什么"));

        model->lookUpSelection(QStringLiteral("先用 RAG 查资料，\n再把结果放进 context 里"));
        QCOMPARE(model->answerMode(), AnswerMode::Passage);
        QCOMPARE(model->presentation(), Presentation::Back);
        QCOMPARE(model->passage()->text(),
                 QStringLiteral("先用 RAG 查资料，再把结果放进 context 里"));
        QCOMPARE(model->passage()->terms()->labels(),
                 (QStringList{QStringLiteral("RAG"), QStringLiteral("context")}));

        // A paragraph keeps far more than a query's 200 characters.
        const QString paragraph = QStringLiteral("会上说要把 RAG 接进来。") + text(400);
        model->lookUpSelection(paragraph);
        QCOMPARE(model->answerMode(), AnswerMode::Passage);
        QCOMPARE(model->passage()->text(), paragraph);
        QVERIFY(m_server->requests().isEmpty());
    }

    // Leaving the view, a new lookup or a new passage cancels the search; an
    // answer still streaming behind the view does not resize it.
    void theSearchEndsWithTheView()
    {
        m_key = QStringLiteral("sk-test");
        auto model = makeModel();
        const QString passage = QStringLiteral("先用 RAG 查资料，再把结果放进 context 里");
        int searches = 0;
        for (const auto &leave : QList<std::function<void()>>{
                 [&] { model->flipToFront(); }, [&] { model->leavePassage(); },
                 [&] { ask(*model, QStringLiteral("RAG")); },
                 [&] {
                     model->openPassage(QStringLiteral("另一段：RAG"));
                 }}) {
            model->openPassage(passage);
            ScriptedResponse held = ScriptedResponse::json(jargonReply({}));
            held.chunks.first().delayMs = 150;
            m_server->enqueue(held);
            model->passage()->search();
            QCOMPARE(model->passage()->searchState(), PassageSession::SearchState::Searching);
            QVERIFY(m_server->waitForRequests(++searches));
            leave();
            QCOMPARE(model->passage()->searchState(), PassageSession::SearchState::Idle);
            QTest::qWait(250);
            QCOMPARE(model->passage()->searchState(), PassageSession::SearchState::Idle);
        }

        m_profile.audience = ExplanationAudience::QuickStart;
        ScriptedResponse stream = ScriptedResponse::eventStream({});
        stream.holdOpen = true;
        m_server->enqueue(stream);
        ask(*model, QStringLiteral("用 RAG 放进 context"));
        QVERIFY(model->isLoading());
        QVERIFY(m_server->waitForRequests(5));
        model->showPassage();
        const double passageHeight = model->expandedHeight();
        m_server->sendChunk(pieceLine(text(200)) + "\n");
        QTRY_VERIFY(!model->resultExplanation().isEmpty());
        QCOMPARE(model->expandedHeight(), passageHeight);
        QCOMPARE(model->answerMode(), AnswerMode::Passage);
    }

    void settingsChangeRefreshesTheKeyFlag()
    {
        auto model = makeModel();
        QVERIFY(!model->hasAPIKey());
        m_key = QStringLiteral("sk-new");
        QSignalSpy spy(model.get(), &CardViewModel::hasAPIKeyChanged);
        ApiSettingsNotifier::instance().post();
        QCOMPARE(spy.size(), 1);
        QVERIFY(model->hasAPIKey());
    }
};

QTEST_GUILESS_MAIN(CardViewModelTest)
#include "tst_cardviewmodel.moc"
