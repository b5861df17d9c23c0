#include "online/deepseekclient.h"
#include "online/deepseekerror.h"
#include "tests/support/fakechatserver.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

QString message(const DeepSeekError &error)
{
    return error.message();
}

/// Everything a task reported, in order.
struct TaskLog
{
    /// "started", "piece:<text>", "finished" and "failed" in the order they came.
    QStringList events;
    QStringList pieces;
    int finished = 0;
    QList<DeepSeekError> errors;
    /// What a reverse lookup had found when it finished.
    QList<ReverseLookupMatch> matches;

    [[nodiscard]] int ends() const { return finished + static_cast<int>(errors.size()); }
    [[nodiscard]] QStringList failures() const
    {
        QStringList messages;
        for (const DeepSeekError &error : errors)
            messages.append(error.message());
        return messages;
    }
};

void record(OnlineTask *task, TaskLog &log)
{
    QObject::connect(task, &OnlineTask::started, task,
                     [&log] { log.events.append(QStringLiteral("started")); });
    QObject::connect(task, &OnlineTask::finished, task, [&log, task] {
        if (auto *lookup = qobject_cast<ReverseLookupRequest *>(task))
            log.matches = lookup->matches();
        ++log.finished;
        log.events.append(QStringLiteral("finished"));
    });
    QObject::connect(task, &OnlineTask::failed, task, [&log](const DeepSeekError &error) {
        log.errors.append(error);
        log.events.append(QStringLiteral("failed"));
    });
    if (auto *stream = qobject_cast<ExplanationStream *>(task)) {
        QObject::connect(stream, &ExplanationStream::pieceReceived, stream,
                         [&log](const QString &piece) {
                             log.pieces.append(piece);
                             log.events.append(QStringLiteral("piece:") + piece);
                         });
    }
}

/// Counts the requests handed to the network, so refusals can be seen to send nothing.
class CountingSession final : public QNetworkAccessManager
{
public:
    int created = 0;

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override
    {
        ++created;
        return QNetworkAccessManager::createRequest(operation, request, outgoingData);
    }
};

} // namespace

class DeepSeekClientTest : public QObject
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

    /// Runs a task to its end (or a timeout) and returns what it reported.
    static TaskLog runToEnd(OnlineTask *task)
    {
        TaskLog log;
        record(task, log);
        [&] {
            QVERIFY(QTest::qWaitFor([&] { return log.ends() > 0; }, 5000));
        }();
        // Nothing may follow the end.
        QTest::qWait(20);
        delete task;
        return log;
    }
    TaskLog streamToEnd(const DeepSeekClient &client, const QString &term = QStringLiteral("RAG"))
    {
        return runToEnd(client.explain(term, this));
    }
    TaskLog lookUpToEnd(const DeepSeekClient &client)
    {
        return runToEnd(client.reverseLookup(QStringLiteral("描述"), {}, this));
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

    void piecesArriveWhileTheReplyIsStillOpen()
    {
        ScriptedResponse response = ScriptedResponse::eventStream({pieceLine(QStringLiteral("H"))});
        response.holdOpen = true;
        m_server->enqueue(response);

        TaskLog log;
        ExplanationStream *stream = client().explain(QStringLiteral("RAG"), this);
        record(stream, log);
        QVERIFY(QTest::qWaitFor([&] { return log.pieces.size() == 1; }, 5000));
        QCOMPARE(log.pieces, QStringList{QStringLiteral("H")});

        m_server->sendChunk(pieceLine(QStringLiteral("i")) + '\n');
        QVERIFY(QTest::qWaitFor([&] { return log.pieces.size() == 2; }, 5000));
        QCOMPARE(log.ends(), 0);

        m_server->sendChunk("data: [DONE]\n");
        QVERIFY(QTest::qWaitFor([&] { return log.ends() == 1; }, 5000));
        QCOMPARE(log.pieces, (QStringList{QStringLiteral("H"), QStringLiteral("i")}));
        QCOMPARE(log.finished, 1);
        QVERIFY(!stream->isActive());
    }

    void lineProtocol_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QString>("failure");

        const QByteArray h = pieceLine(QStringLiteral("H"));
        const QByteArray i = pieceLine(QStringLiteral("i"));
        const QByteArray after = pieceLine(QStringLiteral("never"));
        const QStringList hi{QStringLiteral("H"), QStringLiteral("i")};
        const QString missing = ChatDecodingError(ChatDecodingError::Kind::MissingValue).message();

        QTest::addRow("done ends, later lines unread")
            << QByteArrayList{h + '\n', i + '\n', "data: [DONE]\n", after + '\n'} << hi
            << QString();
        QTest::addRow("done without a space")
            << QByteArrayList{h + '\n', "data:[DONE]\n", after + '\n'}
            << QStringList{QStringLiteral("H")} << QString();
        QTest::addRow("done padded with spaces and tabs")
            << QByteArrayList{h + '\n', "data:   [DONE] \t \n", after + '\n'}
            << QStringList{QStringLiteral("H")} << QString();
        QTest::addRow("indented data line is not a data line")
            << QByteArrayList{h + '\n', " data: [DONE]\n", i + '\n'} << hi << QString();
        QTest::addRow("other event lines ignored")
            << QByteArrayList{": keep-alive\n", "event: message\n", "id: 7\n", "retry: 10\n", "\n",
                              "DATA: {}\n",     h + "\n\n",         i + "\n\n"}
            << hi << QString();
        QTest::addRow("role-only, null, empty and choice-less chunks yield nothing")
            << QByteArrayList{R"(data: {"choices":[{"delta":{"role":"assistant"}}]})"
                              "\n",
                              R"(data: {"choices":[{"delta":{"content":null}}]})"
                              "\n",
                              R"(data: {"choices":[{"delta":{"content":""}}]})"
                              "\n",
                              R"(data: {"choices":[]})"
                              "\n",
                              h + '\n',
                              i + '\n'}
            << hi << QString();
        QTest::addRow("only the first choice counts")
            << QByteArrayList{R"(data: {"choices":[{"delta":{"content":"A"}},{"delta":{"content":"B"}}]})"
                              "\n"}
            << QStringList{QStringLiteral("A")} << QString();
        QTest::addRow("body ends without done")
            << QByteArrayList{h + '\n', i + '\n'} << hi << QString();
        QTest::addRow("last line without terminator")
            << QByteArrayList{h + '\n', i} << hi << QString();
        QTest::addRow("CRLF endings")
            << QByteArrayList{h + "\r\n", i + "\r\n", "data: [DONE]\r\n", after + "\r\n"} << hi
            << QString();
        QTest::addRow("CR endings") << QByteArrayList{h + '\r', i + '\r'} << hi << QString();
        QTest::addRow("line split across packets")
            << QByteArrayList{h.left(9), h.mid(9) + '\n' + i.left(3), i.mid(3) + '\n'} << hi
            << QString();
        QTest::addRow("CR and LF in different packets")
            << QByteArrayList{h + '\r', '\n' + i + '\r', "\n"} << hi << QString();
        QTest::addRow("multi-byte character split across packets")
            << QByteArrayList{pieceLine(QStringLiteral("上下文")).left(20),
                              pieceLine(QStringLiteral("上下文")).mid(20) + '\n'}
            << QStringList{QStringLiteral("上下文")} << QString();
        QTest::addRow("pieces pass unchanged")
            << QByteArrayList{pieceLine(QStringLiteral("  带空格\n换行 ")) + '\n'}
            << QStringList{QStringLiteral("  带空格\n换行 ")} << QString();
        QTest::addRow("chunk without choices fails after earlier pieces")
            << QByteArrayList{h + '\n',
                              R"(data: {"id":"x"})"
                              "\n",
                              i + '\n'}
            << QStringList{QStringLiteral("H")} << missing;
        QTest::addRow("choice without delta fails")
            << QByteArrayList{R"(data: {"choices":[{"delta":{"content":"A"}},{"index":1}]})"
                              "\n"}
            << QStringList() << missing;
        QTest::addRow("server error object fails")
            << QByteArrayList{R"(data: {"error":{"message":"overloaded"}})"
                              "\n"}
            << QStringList() << missing;
        QTest::addRow("content of the wrong type fails")
            << QByteArrayList{R"(data: {"choices":[{"delta":{"content":5}}]})"
                              "\n"}
            << QStringList() << ChatDecodingError(ChatDecodingError::Kind::WrongType).message();
        QTest::addRow("not JSON fails")
            << QByteArrayList{"data: {\"choices\":[\n"} << QStringList()
            << ChatDecodingError(ChatDecodingError::Kind::NotJson).message();
    }
    void lineProtocol()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QStringList, pieces);
        QFETCH(QString, failure);

        // Chunked and close-delimited bodies must read alike; the pauses make
        // each chunk its own read on the client.
        for (const auto framing :
             {ScriptedResponse::Framing::Chunked, ScriptedResponse::Framing::CloseDelimited}) {
            ScriptedResponse response = ScriptedResponse::eventStream({});
            response.framing = framing;
            for (const QByteArray &chunk : chunks)
                response.then(chunk, 15);
            m_server->enqueue(response);

            const TaskLog log = streamToEnd(client());
            QCOMPARE(log.pieces, pieces);
            QCOMPARE(log.ends(), 1);
            if (failure.isEmpty())
                QCOMPARE(log.finished, 1);
            else
                QCOMPARE(log.failures(), QStringList{failure});
        }
    }

    void errorStatusesAreReportedWithoutReadingTheBody_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("failure");
        QTest::addRow("401") << 401
                             << QStringLiteral("API Key 不正确或已经失效，请到设置里重新填写。");
        QTest::addRow("402") << 402 << QStringLiteral("API 账户余额不足，请充值后再试。");
        QTest::addRow("429") << 429 << QStringLiteral("请求太频繁了，稍等片刻再试。");
        QTest::addRow("500") << 500 << QStringLiteral("API 暂时没有回答（错误码 500）。");
        QTest::addRow("404") << 404 << QStringLiteral("API 暂时没有回答（错误码 404）。");
    }
    void errorStatusesAreReportedWithoutReadingTheBody()
    {
        QFETCH(int, status);
        QFETCH(QString, failure);
        // A body that would yield pieces if it were read.
        ScriptedResponse response = ScriptedResponse::eventStream(
            {pieceLine(QStringLiteral("服务器自己的错误说明")), "data: [DONE]"});
        response.status = status;
        m_server->enqueue(response);
        const TaskLog log = streamToEnd(client());
        QCOMPARE(log.pieces, QStringList());
        QCOMPARE(log.failures(), QStringList{failure});

        QCOMPARE(log.errors, QList<DeepSeekError>{DeepSeekError::httpStatus(status)});
        QVERIFY(!log.events.contains(QStringLiteral("started")));

        m_server->enqueue(ScriptedResponse::json(chatReply(QStringLiteral("{}")), status));
        QCOMPARE(lookUpToEnd(client()).errors,
                 QList<DeepSeekError>{DeepSeekError::httpStatus(status)});
    }

    void startedComesOnceBeforeTheBody()
    {
        m_server->enqueue(ScriptedResponse::eventStream(
            {pieceLine(QStringLiteral("H")), pieceLine(QStringLiteral("i")), "data: [DONE]"}));
        QCOMPARE(streamToEnd(client()).events,
                 (QStringList{QStringLiteral("started"), QStringLiteral("piece:H"),
                              QStringLiteral("piece:i"), QStringLiteral("finished")}));

        m_server->enqueue(ScriptedResponse::json(matchesReply({})));
        QCOMPARE(lookUpToEnd(client()).events,
                 (QStringList{QStringLiteral("started"), QStringLiteral("finished")}));
    }

    void everySuccessStatusIsAccepted()
    {
        ScriptedResponse response =
            ScriptedResponse::eventStream({pieceLine(QStringLiteral("ok"))});
        response.status = 203;
        m_server->enqueue(response);
        const TaskLog log = streamToEnd(client());
        QCOMPARE(log.pieces, QStringList{QStringLiteral("ok")});
        QCOMPARE(log.finished, 1);
    }

    void cancellingMidStreamEndsTheTransferSilently()
    {
        ScriptedResponse response = ScriptedResponse::eventStream(
            {pieceLine(QStringLiteral("A")), pieceLine(QStringLiteral("B"))});
        response.holdOpen = true;
        m_server->enqueue(response);

        TaskLog log;
        ExplanationStream *stream = client().explain(QStringLiteral("RAG"), this);
        record(stream, log);
        // The consumer has enough after the first piece, as the card does at its limit.
        connect(stream, &ExplanationStream::pieceReceived, stream, [stream] { stream->cancel(); });
        QVERIFY(m_server->waitForAbandonedResponses(1));
        QCOMPARE(log.pieces, QStringList{QStringLiteral("A")});

        m_server->sendChunk(pieceLine(QStringLiteral("C")) + "\n");
        m_server->endResponse();
        QTest::qWait(50);
        QCOMPARE(log.pieces, QStringList{QStringLiteral("A")});
        QCOMPARE(log.ends(), 0);
        QVERIFY(!stream->isActive());
    }

    void cancellingBeforeTheReplyReportsNothing()
    {
        m_server->enqueue(ScriptedResponse::eventStream({pieceLine(QStringLiteral("A"))}, 30));
        TaskLog log;
        ExplanationStream *stream = client().explain(QStringLiteral("RAG"), this);
        record(stream, log);
        QVERIFY(m_server->waitForRequests(1));
        stream->cancel();
        QTest::qWait(100);
        QCOMPARE(log.pieces, QStringList());
        QCOMPARE(log.ends(), 0);

        m_server->enqueue(ScriptedResponse::json(matchesReply({})));
        TaskLog lookupLog;
        ReverseLookupRequest *lookup = client().reverseLookup(QStringLiteral("描述"), {}, this);
        record(lookup, lookupLog);
        QVERIFY(m_server->waitForRequests(2));
        lookup->cancel();
        QTest::qWait(100);
        QCOMPARE(lookupLog.events, QStringList());
    }

    void aStalledTransferTimesOutAsAFailure()
    {
        ScriptedResponse response = ScriptedResponse::eventStream({pieceLine(QStringLiteral("A"))});
        response.holdOpen = true;
        m_server->enqueue(response);
        DeepSeekClient slow = client();
        // Long enough that a busy machine still delivers the first line in time.
        slow.transferTimeout = std::chrono::milliseconds(1000);
        const TaskLog log = streamToEnd(slow);
        QCOMPARE(log.pieces, QStringList{QStringLiteral("A")});
        QCOMPARE(log.errors,
                 QList<DeepSeekError>{DeepSeekError::transport(QNetworkReply::TimeoutError)});
        QCOMPARE(log.failures(), QStringList{QStringLiteral("请求超时了，请检查网络后再试。")});
    }

    void anUnreachableServerIsATransportFailure()
    {
        DeepSeekClient unreachable = client();
        const QUrl url = m_server->url();
        delete m_server;
        m_server = nullptr;
        unreachable.endpoint = url;
        const TaskLog log = streamToEnd(unreachable);
        QCOMPARE(log.failures(), QStringList{QStringLiteral("API 服务器拒绝了连接。")});
        m_server = new FakeChatServer(this);
    }

    void explanationRequestCarriesHeadersAndBody()
    {
        m_server->enqueue(ScriptedResponse::eventStream({"data: [DONE]"}));
        DeepSeekClient client = this->client();
        client.promptProfile = {ExplanationAudience::Custom, ExplanationLength::Brief,
                                QStringLiteral("像产品经理")};
        (void)streamToEnd(client, QStringLiteral("  RAG 是什么？ "));

        QCOMPARE(m_server->requests().size(), 1);
        const RecordedRequest &request = m_server->requests().first();
        QCOMPARE(request.method, QByteArray("POST"));
        QCOMPARE(request.path, QByteArray("/chat/completions"));
        QCOMPARE(request.header("Content-Type"), QByteArray("application/json"));
        QCOMPARE(request.header("Authorization"), QByteArray("Bearer sk-test-0123"));

        const QJsonObject body = request.json();
        QCOMPARE(body.keys(),
                 (QStringList{QStringLiteral("messages"), QStringLiteral("model"),
                              QStringLiteral("stream"), QStringLiteral("temperature")}));
        QCOMPARE(body.value(QStringLiteral("model")).toString(), QStringLiteral("test-model"));
        QCOMPARE(body.value(QStringLiteral("stream")).toBool(), true);
        QCOMPARE(body.value(QStringLiteral("temperature")).toDouble(), 0.35);
        const QJsonArray messages = body.value(QStringLiteral("messages")).toArray();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.at(0).toObject(),
                 (QJsonObject{{QStringLiteral("role"), QStringLiteral("system")},
                              {QStringLiteral("content"), client.promptProfile.systemPrompt()}}));
        QCOMPARE(messages.at(1).toObject(),
                 (QJsonObject{{QStringLiteral("role"), QStringLiteral("user")},
                              {QStringLiteral("content"), QStringLiteral("  RAG 是什么？ ")}}));
    }

    void thinkingSwitchOnlyForTheServiceDomain_data()
    {
        QTest::addColumn<QString>("endpoint");
        QTest::addColumn<bool>("thinking");
        QTest::addRow("default") << QStringLiteral("https://api.deepseek.com/chat/completions")
                                 << true;
        QTest::addRow("subdomain, capitals")
            << QStringLiteral("https://EU.Api.DeepSeek.COM/v1/chat/completions") << true;
        QTest::addRow("other provider")
            << QStringLiteral("https://api.example.org/v1/chat/completions") << false;
        QTest::addRow("domain only as a prefix")
            << QStringLiteral("https://deepseek.com.example.org/chat") << false;
        QTest::addRow("no host") << QStringLiteral("file:///deepseek.com") << false;
    }
    void thinkingSwitchOnlyForTheServiceDomain()
    {
        QFETCH(QString, endpoint);
        QFETCH(bool, thinking);
        DeepSeekClient client = this->client();
        client.endpoint = QUrl(endpoint);
        const QList<QByteArray> bodies{client.explanationRequestBody(QStringLiteral("RAG")),
                                       client.reverseLookupRequestBody(QStringLiteral("描述"), {})};
        for (const QByteArray &encoded : bodies) {
            const QJsonObject body = QJsonDocument::fromJson(encoded).object();
            QCOMPARE(body.contains(QStringLiteral("thinking")), thinking);
            if (thinking)
                QCOMPARE(body.value(QStringLiteral("thinking")).toObject(),
                         (QJsonObject{{QStringLiteral("type"), QStringLiteral("disabled")}}));
            QCOMPARE(body.size(), thinking ? 5 : 4);
        }
    }

    void refusedEndpointsSendNothing_data()
    {
        // The whole rule is EndpointRule's table; these rows show the client applies it.
        QTest::addColumn<QString>("endpoint");
        QTest::addColumn<QString>("refusal");
        QTest::addRow("http to another host") << QStringLiteral("http://api.example.org/chat")
                                              << message(DeepSeekError::insecureEndpoint());
        QTest::addRow("other scheme")
            << QStringLiteral("ftp://127.0.0.1/chat") << message(DeepSeekError::invalidEndpoint());
        QTest::addRow("no host") << QStringLiteral("https:///chat")
                                 << message(DeepSeekError::invalidEndpoint());
        QTest::addRow("http to this machine")
            << QStringLiteral("http://LocalHost:9/chat") << QString();
        QTest::addRow("https anywhere")
            << QStringLiteral("https://api.example.org/chat") << QString();
    }
    void refusedEndpointsSendNothing()
    {
        QFETCH(QString, endpoint);
        QFETCH(QString, refusal);
        CountingSession session;
        DeepSeekClient client = this->client();
        client.endpoint = QUrl(endpoint);
        client.session = &session;

        TaskLog log;
        TaskLog lookupLog;
        ExplanationStream *stream = client.explain(QStringLiteral("RAG"), this);
        record(stream, log);
        ReverseLookupRequest *lookup = client.reverseLookup(QStringLiteral("描述"), {}, this);
        record(lookup, lookupLog);
        // Refusals are reported from the event loop, never inside the call.
        QCOMPARE(log.ends() + lookupLog.ends(), 0);
        QCOMPARE(session.created, refusal.isEmpty() ? 2 : 0);
        if (refusal.isEmpty()) {
            stream->cancel();
            lookup->cancel();
            return;
        }
        QVERIFY(QTest::qWaitFor([&] { return log.ends() == 1 && lookupLog.ends() == 1; }, 2000));
        QCOMPARE(log.failures(), QStringList{refusal});
        QCOMPARE(lookupLog.failures(), QStringList{refusal});
        QCOMPARE(session.created, 0);
    }

    void buildingAClientFromTheStoredSettings_data()
    {
        QTest::addColumn<QString>("endpointText");
        QTest::addColumn<QString>("refusal");
        QTest::addRow("https") << QStringLiteral("https://api.example.org/v1/chat/completions")
                               << QString();
        QTest::addRow("a local model")
            << QStringLiteral("http://127.0.0.1:11434/v1/chat") << QString();
        QTest::addRow("http to another host")
            << QStringLiteral("http://10.0.0.2/chat") << message(DeepSeekError::insecureEndpoint());
        QTest::addRow("does not parse") << QStringLiteral("http://exa mple.com/chat")
                                        << message(DeepSeekError::invalidEndpoint());
    }
    void buildingAClientFromTheStoredSettings()
    {
        QFETCH(QString, endpointText);
        QFETCH(QString, refusal);
        const ExplanationPromptProfile profile{
            ExplanationAudience::Custom, ExplanationLength::Detailed, QStringLiteral("像老师")};
        const auto client = DeepSeekClient::build({endpointText, QStringLiteral("m-1")},
                                                  QStringLiteral("sk-1"), profile, *m_session);
        QCOMPARE(client ? QString() : client.error().message(), refusal);
        if (!client)
            return;
        QCOMPARE(client->endpoint, QUrl(endpointText));
        QCOMPARE(client->model, QStringLiteral("m-1"));
        QCOMPARE(client->apiKey, QStringLiteral("sk-1"));
        QCOMPARE(client->promptProfile, profile);
        QCOMPARE(client->session, m_session);
    }

    void everyTransportErrorHasAChineseSentence_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("sentence");
        const QString timeout = QStringLiteral("请求超时了，请检查网络后再试。");
        QTest::addRow("stalled transfer") << int(QNetworkReply::OperationCanceledError) << timeout;
        QTest::addRow("connect timeout") << int(QNetworkReply::TimeoutError) << timeout;
        QTest::addRow("TLS") << int(QNetworkReply::SslHandshakeFailedError)
                             << QStringLiteral(
                                    "无法和 API 服务器建立安全连接，证书或加密设置有问题。");
        QTest::addRow("no such host")
            << int(QNetworkReply::HostNotFoundError)
            << QStringLiteral("找不到 API 服务器，请检查网络和接口地址。");
        // Every other error Qt knows, and one it may add later: a sentence of our own.
        const QMetaEnum errors = QMetaEnum::fromType<QNetworkReply::NetworkError>();
        for (int i = 0; i < errors.keyCount(); ++i) {
            if (errors.value(i) != QNetworkReply::NoError)
                QTest::addRow("%s", errors.key(i)) << errors.value(i) << QString();
        }
        QTest::addRow("unknown to this Qt") << 450 << QString();
    }
    void everyTransportErrorHasAChineseSentence()
    {
        QFETCH(int, error);
        QFETCH(QString, sentence);
        const QString text =
            DeepSeekError::transport(static_cast<QNetworkReply::NetworkError>(error)).message();
        if (!sentence.isEmpty())
            QCOMPARE(text, sentence);
        // Qt's own descriptions are English; ours are Chinese sentences.
        static const QRegularExpression chinese(QStringLiteral("\\p{Han}.*。$"));
        QVERIFY2(chinese.match(text).hasMatch(), qPrintable(text));
    }

    void redirectsFollowTheSameEndpointRule()
    {
        ScriptedResponse away = ScriptedResponse::json({}, 307);
        away.headers.append(
            std::pair<QByteArray, QByteArray>("Location", "http://api.example.org/steal"));
        m_server->enqueue(away);
        TaskLog log = streamToEnd(client());
        QCOMPARE(log.errors, QList<DeepSeekError>{DeepSeekError::insecureEndpoint()});

        ScriptedResponse local = ScriptedResponse::json({}, 307);
        local.headers.append(std::pair<QByteArray, QByteArray>(
            "Location", m_server->url(QStringLiteral("/v2")).toEncoded()));
        m_server->enqueue(local);
        m_server->enqueue(ScriptedResponse::eventStream({pieceLine(QStringLiteral("ok"))}));
        log = streamToEnd(client());
        QCOMPARE(log.pieces, QStringList{QStringLiteral("ok")});
        QCOMPARE(m_server->requests().last().path, QByteArray("/v2"));
        QCOMPARE(m_server->requests().last().header("Authorization"),
                 QByteArray("Bearer sk-test-0123"));
    }
    void reverseLookupReplies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("matches");
        QTest::addColumn<QString>("failure");
        const QString invalid = message(DeepSeekError::invalidResponse());
        auto reply = [](const char *content) {
            return chatReply(QString::fromUtf8(content));
        };

        QTest::addRow("JSON in a fence between remarks")
            << reply(
                   "好的，结果如下：\n```json\n{\"matches\":[{\"term\":\"上下文窗口\",\"english\":"
                   "\"Context Window\",\"reason\":\"一次能处理的信息量\",\"confidence\":\"high\"}]}"
                   "\n```\n希望有帮助。")
            << QByteArray(R"([{"term":"上下文窗口","english":"Context Window",)"
                          R"("reason":"一次能处理的信息量","confidence":"high"}])")
            << QString();
        QTest::addRow("four become three")
            << reply(R"({"matches":[{"term":"A","reason":"1"},{"term":"B","reason":"2"},)"
                     R"({"term":"C","reason":"3"},{"term":"D","reason":"4"}]})")
            << QByteArray(R"([{"term":"A","reason":"1"},{"term":"B","reason":"2"},)"
                          R"({"term":"C","reason":"3"}])")
            << QString();
        QTest::addRow("repeats collapse into the first before the cut")
            << reply(R"({"matches":[{"term":"RAG","reason":"1"},{"term":" rag\n","reason":"2"},)"
                     R"({"term":"Rag","reason":"3"},{"term":"B","reason":"4"},)"
                     R"({"term":"C","reason":"5"},{"term":"D","reason":"6"}]})")
            << QByteArray(R"([{"term":"RAG","reason":"1"},{"term":"B","reason":"4"},)"
                          R"({"term":"C","reason":"5"}])")
            << QString();
        QTest::addRow("dropped empty match does not block its term")
            << reply(R"({"matches":[{"term":"微调","reason":" \n"},{"term":"  ","reason":"x"},)"
                     R"({"term":"微调","reason":"改一改"}]})")
            << QByteArray(R"([{"term":"微调","reason":"改一改"}])") << QString();
        QTest::addRow("fields trimmed, blank english dropped, confidence as received")
            << reply(R"({"matches":[{"term":"\t提示词 ","english":" Prompt\n","reason":" 指令 ",)"
                     R"("confidence":" High "},{"term":"令牌","english":"  ","reason":"r"},)"
                     R"({"term":"向量","english":null,"reason":"r","confidence":null}]})")
            << QByteArray(R"([{"term":"提示词","english":"Prompt","reason":"指令",)"
                          R"("confidence":" High "},{"term":"令牌","reason":"r"},)"
                          R"({"term":"向量","reason":"r"}])")
            << QString();
        QTest::addRow("empty list is an answer")
            << reply(R"({"matches":[]})") << QByteArray("[]") << QString();
        QTest::addRow("no braces") << reply("没有找到。") << QByteArray() << invalid;
        QTest::addRow("braces out of order") << reply("} 反了 {") << QByteArray() << invalid;
        QTest::addRow("no matches key") << reply(R"({"candidates":[]})") << QByteArray() << invalid;
        QTest::addRow("match without reason")
            << reply(R"({"matches":[{"term":"A","reason":"1"},{"term":"B"}]})") << QByteArray()
            << invalid;
        QTest::addRow("not JSON between the braces")
            << reply("{matches: 1}") << QByteArray() << invalid;
        QTest::addRow("no choices") << QByteArray(R"({"choices":[]})") << QByteArray() << invalid;
        QTest::addRow("null content") << QByteArray(R"({"choices":[{"message":{"content":null}}]})")
                                      << QByteArray() << invalid;
        QTest::addRow("reply without choices")
            << QByteArray(R"({"error":"busy"})") << QByteArray()
            << ChatDecodingError(ChatDecodingError::Kind::MissingValue).message();
        QTest::addRow("reply not JSON")
            << QByteArray("<html>") << QByteArray()
            << ChatDecodingError(ChatDecodingError::Kind::NotJson).message();
    }
    void reverseLookupReplies()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, matches);
        QFETCH(QString, failure);
        m_server->enqueue(ScriptedResponse::json(body));
        const TaskLog log = lookUpToEnd(client());
        QCOMPARE(log.ends(), 1);
        if (!failure.isEmpty()) {
            QCOMPARE(log.failures(), QStringList{failure});
            return;
        }
        QCOMPARE(log.finished, 1);
        QJsonArray received;
        for (const ReverseLookupMatch &match : log.matches)
            received.append(match.toJson());
        QCOMPARE(received, QJsonDocument::fromJson(matches).array());
    }

    void reverseLookupRequestOffersTheCatalogue()
    {
        m_server->enqueue(ScriptedResponse::json(matchesReply({})));
        const QList<GlossaryCatalogItem> catalog{
            {QStringLiteral("RAG"), {QStringLiteral("检索增强")}}};
        const TaskLog log = runToEnd(
            client().reverseLookup(QStringLiteral(" 把资料喂给模型再回答 "), catalog, this));
        QCOMPARE(log.finished, 1);

        const QJsonObject body = m_server->requests().first().json();
        QCOMPARE(body.value(QStringLiteral("stream")).toBool(true), false);
        QCOMPARE(body.value(QStringLiteral("temperature")).toDouble(), 0.2);
        const QJsonArray messages = body.value(QStringLiteral("messages")).toArray();
        QCOMPARE(messages.at(0)[QStringLiteral("content")].toString(),
                 DeepSeekClient::reverseLookupPrompt(catalog));
        QCOMPARE(messages.at(1)[QStringLiteral("content")].toString(),
                 QStringLiteral(" 把资料喂给模型再回答 "));
        QCOMPARE(m_server->requests().first().header("Authorization"),
                 QByteArray("Bearer sk-test-0123"));
    }

    void reverseLookupPromptListsTheCatalogue()
    {
        const QString empty = DeepSeekClient::reverseLookupPrompt({});
        QCOMPARE(empty.toUtf8().size(), 722);
        QVERIFY(empty.startsWith(QStringLiteral(
            "你负责把普通人的自然语言描述反查成 AI、软件或互联网专业术语。\n\n规则：\n")));
        QVERIFY(empty.contains(QStringLiteral(
            "\n{\"matches\":[{\"term\":\"上下文窗口\",\"english\":\"Context Window\",\"reason\":"
            "\"指 AI 一次能处理的信息容量\",\"confidence\":\"high\"}]}\n\n")));
        QVERIFY(empty.endsWith(QStringLiteral("\n候选词库（只包含术语与别名）：\n")));

        const QList<GlossaryCatalogItem> small{
            {QStringLiteral("A"), {QStringLiteral("B"), QStringLiteral("C")}},
            {QStringLiteral("D"), {}},
            {QStringLiteral("多\n行"), {QStringLiteral("x\ny"), QString()}},
        };
        QCOMPARE(DeepSeekClient::reverseLookupPrompt(small),
                 empty + QStringLiteral("- A | B / C\n- D\n- 多 行 | x y / "));

        QList<GlossaryCatalogItem> large;
        for (int i = 0; i < 250; ++i)
            large.append({QStringLiteral("t%1").arg(i), {}});
        large[0].aliases = {QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("a3"),
                            QStringLiteral("a4"), QStringLiteral("a5"), QStringLiteral("a6"),
                            QStringLiteral("a7"), QStringLiteral("a8"), QStringLiteral("a9")};
        const QStringList lines =
            DeepSeekClient::reverseLookupPrompt(large).mid(empty.size()).split(u'\n');
        QCOMPARE(lines.size(), 200);
        QCOMPARE(lines.first(), QStringLiteral("- t0 | a1 / a2 / a3 / a4 / a5 / a6"));
        QCOMPARE(lines.last(), QStringLiteral("- t199"));
    }

    void extractJSONObject_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("found");
        QTest::addRow("bare") << QStringLiteral("{\"a\":1}") << QByteArray("{\"a\":1}") << true;
        QTest::addRow("first open to last close")
            << QStringLiteral("x {a} y {b} z") << QByteArray("{a} y {b}") << true;
        QTest::addRow("unbalanced is not checked")
            << QStringLiteral("{{ 上 }") << QByteArray("{{ 上 }") << true;
        QTest::addRow("no close") << QStringLiteral("{ open") << QByteArray() << false;
        QTest::addRow("no open") << QStringLiteral("close }") << QByteArray() << false;
        QTest::addRow("reversed") << QStringLiteral("} and {") << QByteArray() << false;
        QTest::addRow("empty") << QString() << QByteArray() << false;
    }
    void extractJSONObject()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, json);
        QFETCH(bool, found);
        const std::optional<QByteArray> extracted = DeepSeekClient::extractJSONObject(text);
        QCOMPARE(extracted.has_value(), found);
        if (found)
            QCOMPARE(*extracted, json);
    }
};

QTEST_GUILESS_MAIN(DeepSeekClientTest)
#include "tst_deepseekclient.moc"
