// The search for a passage's other jargon against a local chat server: what
// is sent (the passage as written, cut to its cap, and the names to skip),
// what of a reply is kept, and that failures and cancelling behave as for
// every online request.

#include "online/deepseekclient.h"
#include "online/jargonsearch.h"
#include "tests/support/fakechatserver.h"

#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

const QString kPassage =
    QStringLiteral("下周我们要对齐一下颗粒度，把 RAG 和 Agent 的链路打通，形成闭环，做出抓手，"
                   "别再内卷了。老板说这个季度要拉通上下游，沉淀方法论。");
const QStringList kKnown{QStringLiteral("对齐一下"),     QStringLiteral("对齐"),
                         QStringLiteral("颗粒度"),       QStringLiteral("RAG"),
                         QStringLiteral("检索增强生成"), QStringLiteral("闭环")};

/// What one search reported.
struct Outcome
{
    int finished = 0;
    QList<DeepSeekError> errors;
    QList<FoundJargon> terms;
    [[nodiscard]] int ends() const { return finished + int(errors.size()); }
};

QStringList described(const QList<FoundJargon> &terms)
{
    QStringList lines;
    for (const FoundJargon &found : terms)
        lines.append(found.term + u'=' + found.explanation);
    return lines;
}

} // namespace

class JargonSearchTest : public QObject
{
    Q_OBJECT

private:
    FakeChatServer *m_server = nullptr;
    QNetworkAccessManager *m_session = nullptr;

    DeepSeekClient client() const
    {
        DeepSeekClient client;
        client.endpoint = m_server->url();
        client.model = QStringLiteral("test-model");
        client.apiKey = QStringLiteral("sk-test-0123");
        client.session = m_session;
        return client;
    }

    Outcome search(const QString &passage = kPassage, const QStringList &known = kKnown)
    {
        Outcome outcome;
        JargonSearchRequest *request = client().findJargon(passage, known, this);
        connect(request, &JargonSearchRequest::finished, this, [&outcome, request] {
            ++outcome.finished;
            outcome.terms = request->terms();
        });
        connect(request, &JargonSearchRequest::failed, this,
                [&outcome](const DeepSeekError &error) { outcome.errors.append(error); });
        [&] {
            QVERIFY(QTest::qWaitFor([&] { return outcome.ends() > 0; }, 5000));
        }();
        QTest::qWait(20); // nothing may follow the end
        delete request;
        return outcome;
    }

private slots:
    void init()
    {
        m_server = new FakeChatServer(this);
        QVERIFY(m_server->listen());
        m_session = new QNetworkAccessManager(this);
    }
    void cleanup()
    {
        delete m_server;
        delete m_session;
    }

    // One non-streamed request: the passage exactly as written as the user's
    // message, the names already explained in the system prompt.
    void theRequestCarriesThePassageAndTheNamesToSkip()
    {
        m_server->enqueue(ScriptedResponse::json(jargonReply({})));
        const QString written = QStringLiteral("  <b>RAG</b> & 拉通\n上下游  ");
        QCOMPARE(search(written, kKnown).finished, 1);

        const RecordedRequest &request = m_server->requests().first();
        QCOMPARE(request.header("Authorization"), QByteArray("Bearer sk-test-0123"));
        const QJsonObject body = request.json();
        QCOMPARE(body.value(QStringLiteral("stream")).toBool(true), false);
        QCOMPARE(body.value(QStringLiteral("model")).toString(), QStringLiteral("test-model"));
        const QJsonArray messages = body.value(QStringLiteral("messages")).toArray();
        QCOMPARE(messages.at(1)[QStringLiteral("content")].toString(), written);
        const QString system = messages.at(0)[QStringLiteral("content")].toString();
        QCOMPARE(system, JargonSearch::prompt(kKnown));
        QVERIFY(system.contains(QStringLiteral("最多 8 个")));
        QVERIFY(system.contains(QStringLiteral("{\"terms\":[")));
        QVERIFY(system.endsWith(QStringLiteral("已经解释过的词：\n- 对齐一下\n- 对齐\n- 颗粒度\n"
                                               "- RAG\n- 检索增强生成\n- 闭环")));
        QVERIFY(JargonSearch::prompt({}).endsWith(QStringLiteral("已经解释过的词：\n（无）")));
    }

    // A long document is cut at 2,000 characters as the user sees them.
    void aLongPassageIsCutAtItsCap()
    {
        const QString family = QStringLiteral("👨‍👩‍👧");
        QString longPassage;
        for (int i = 0; i < JargonSearch::kPassageLimit; ++i)
            longPassage += family;
        QVERIFY(!JargonSearch::isCut(longPassage));
        longPassage += QStringLiteral("拉通");
        QVERIFY(JargonSearch::isCut(longPassage));

        m_server->enqueue(ScriptedResponse::json(jargonReply({})));
        QCOMPARE(search(longPassage, {}).finished, 1);
        const QString sent = m_server->requests()
                                 .first()
                                 .json()
                                 .value(QStringLiteral("messages"))
                                 .toArray()
                                 .at(1)[QStringLiteral("content")]
                                 .toString();
        QCOMPARE(sent.size(), family.size() * JargonSearch::kPassageLimit);
        QVERIFY(!sent.contains(QStringLiteral("拉通")));
    }

    void replies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QString>("failure");
        const QString invalid = DeepSeekError::invalidResponse().message();
        auto reply = [](const char *content) {
            return chatReply(QString::fromUtf8(content));
        };

        QTest::addRow("in a fence between remarks")
            << reply("好的：\n```json\n{\"terms\":[{\"term\":\"拉通\",\"explanation\":\"把上下游"
                     "的人叫到一起对齐信息。\"}]}\n```")
            << QStringList{QStringLiteral("拉通=把上下游的人叫到一起对齐信息。")} << QString();
        QTest::addRow("nothing found is an answer")
            << jargonReply({}) << QStringList() << QString();
        QTest::addRow("terms the local sources had are dropped, by term key")
            << jargonReply({{QStringLiteral("ＲＡＧ"), QStringLiteral("检索。")},
                            {QStringLiteral("对齐"), QStringLiteral("一致。")},
                            {QStringLiteral("沉淀"), QStringLiteral("把经验整理下来。")}})
            << QStringList{QStringLiteral("沉淀=把经验整理下来。")} << QString();
        QTest::addRow("terms the passage does not hold are not shown as found")
            << jargonReply({{QStringLiteral("赋能"), QStringLiteral("编的。")},
                            {QStringLiteral("Agen"), QStringLiteral("半个词。")},
                            {QStringLiteral("方法论"), QStringLiteral("做事的套路。")}})
            << QStringList{QStringLiteral("方法论=做事的套路。")} << QString();
        QTest::addRow("repeats, blanks and items without both fields are passed over")
            << reply(R"({"terms":[{"term":" 拉通 ","explanation":" 叫到一起。\n"},)"
                     R"({"term":"拉通","explanation":"又一次。"},{"term":"上下游"},)"
                     R"({"term":"  ","explanation":"空。"},"内卷",)"
                     R"({"term":"链路","explanation":7},{"term":"链路","explanation":"环节。"}]})")
            << QStringList{QStringLiteral("拉通=叫到一起。"), QStringLiteral("链路=环节。")}
            << QString();
        QTest::addRow("more than eight become eight")
            << jargonReply({{QStringLiteral("下周"), QStringLiteral("1。")},
                            {QStringLiteral("链路"), QStringLiteral("2。")},
                            {QStringLiteral("打通"), QStringLiteral("3。")},
                            {QStringLiteral("抓手"), QStringLiteral("4。")},
                            {QStringLiteral("内卷"), QStringLiteral("5。")},
                            {QStringLiteral("老板"), QStringLiteral("6。")},
                            {QStringLiteral("季度"), QStringLiteral("7。")},
                            {QStringLiteral("拉通"), QStringLiteral("8。")},
                            {QStringLiteral("上下游"), QStringLiteral("9。")},
                            {QStringLiteral("沉淀"), QStringLiteral("10。")}})
            << QStringList{QStringLiteral("下周=1。"), QStringLiteral("链路=2。"),
                           QStringLiteral("打通=3。"), QStringLiteral("抓手=4。"),
                           QStringLiteral("内卷=5。"), QStringLiteral("老板=6。"),
                           QStringLiteral("季度=7。"), QStringLiteral("拉通=8。")}
            << QString();
        QTest::addRow("a long explanation gets the readable cut at 60")
            << jargonReply({{QStringLiteral("方法论"), QString(70, u'讲')}})
            << QStringList{QStringLiteral("方法论=") + QString(59, u'讲') + u'…'} << QString();
        QTest::addRow("no terms key") << reply(R"({"matches":[]})") << QStringList() << invalid;
        QTest::addRow("terms not a list")
            << reply(R"({"terms":"拉通"})") << QStringList() << invalid;
        QTest::addRow("no braces") << reply("这段话里没有黑话。") << QStringList() << invalid;
        QTest::addRow("not JSON between the braces")
            << reply("{terms: 1}") << QStringList() << invalid;
        QTest::addRow("null content") << QByteArray(R"({"choices":[{"message":{"content":null}}]})")
                                      << QStringList() << invalid;
        QTest::addRow("reply not JSON")
            << QByteArray("<html>") << QStringList()
            << ChatDecodingError(ChatDecodingError::Kind::NotJson).message();
    }
    void replies()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, terms);
        QFETCH(QString, failure);
        m_server->enqueue(ScriptedResponse::json(body));
        const Outcome outcome = search();
        QCOMPARE(outcome.ends(), 1);
        if (!failure.isEmpty()) {
            QCOMPARE(outcome.errors.size(), 1);
            QCOMPARE(outcome.errors.first().message(), failure);
            return;
        }
        QCOMPARE(described(outcome.terms), terms);
    }

    void failuresAreTheClientsOwn_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("failure");
        QTest::addRow("401") << 401
                             << QStringLiteral("API Key 不正确或已经失效，请到设置里重新填写。");
        QTest::addRow("402") << 402 << QStringLiteral("API 账户余额不足，请充值后再试。");
        QTest::addRow("503") << 503 << QStringLiteral("API 暂时没有回答（错误码 503）。");
    }
    void failuresAreTheClientsOwn()
    {
        QFETCH(int, status);
        QFETCH(QString, failure);
        m_server->enqueue(ScriptedResponse::json(
            jargonReply({{QStringLiteral("拉通"), QStringLiteral("不会读到。")}}), status));
        const Outcome outcome = search();
        QCOMPARE(outcome.finished, 0);
        QCOMPARE(outcome.errors, QList<DeepSeekError>{DeepSeekError::httpStatus(status)});
        QCOMPARE(outcome.errors.first().message(), failure);
    }

    // The key never crosses a network in clear text, here either.
    void aRefusedEndpointSendsNothing()
    {
        DeepSeekClient refused = client();
        refused.endpoint = QUrl(QStringLiteral("http://api.example.com/chat/completions"));
        Outcome outcome;
        JargonSearchRequest *request = refused.findJargon(kPassage, {}, this);
        connect(request, &JargonSearchRequest::failed, this,
                [&outcome](const DeepSeekError &error) { outcome.errors.append(error); });
        QTRY_COMPARE(outcome.errors.size(), 1);
        QCOMPARE(outcome.errors.first(), DeepSeekError::insecureEndpoint());
        QVERIFY(m_server->requests().isEmpty());
        delete request;
    }

    void cancellingReportsNothing()
    {
        ScriptedResponse held = ScriptedResponse::json(jargonReply({}));
        held.chunks.first().delayMs = 200;
        m_server->enqueue(held);
        Outcome outcome;
        JargonSearchRequest *request = client().findJargon(kPassage, {}, this);
        connect(request, &JargonSearchRequest::finished, this, [&outcome] { ++outcome.finished; });
        connect(request, &JargonSearchRequest::failed, this,
                [&outcome](const DeepSeekError &error) { outcome.errors.append(error); });
        QVERIFY(m_server->waitForRequests(1));
        request->cancel();
        QTest::qWait(350);
        QCOMPARE(outcome.ends(), 0);
        QVERIFY(!request->isActive());
        delete request;
    }
};

QTEST_GUILESS_MAIN(JargonSearchTest)
#include "tst_jargonsearch.moc"
