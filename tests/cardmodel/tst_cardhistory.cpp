// The card and the lookup history: which answers are recorded and with what
// source, the star read from the history, a saved answer shown again without
// a request and regenerated, and Up and Down through the recent queries.
#include "cardmodel/cardviewmodel.h"
#include "cardmodel/historyrecorder.h"
#include "history/historystore.h"
#include "history/historywriter.h"
#include "packs/customglossarystore.h"
#include "tests/support/fakechatserver.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;
using Presentation = CardViewModel::Presentation;

namespace {

GlossaryStore dictionary()
{
    auto entry = [](qint64 number, const QString &title, const QString &explanation) {
        return GlossaryEntry{number, title, explanation,
                             GlossaryStore::namesDerivedFromTitle(title)};
    };
    return GlossaryStore({
        entry(1, QStringLiteral("检索增强生成（RAG）"), QStringLiteral("先查资料再回答。")),
        entry(2, QStringLiteral("上下文（context）"), QStringLiteral("AI 当前能参考的内容。")),
    });
}

ScriptedResponse streamOf(const QString &text)
{
    return ScriptedResponse::eventStream({pieceLine(text), "data: [DONE]"});
}

} // namespace

class CardHistoryTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<FakeChatServer> m_server;
    std::unique_ptr<CustomGlossaryStore> m_packs;
    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<HistoryWriter> m_writer;
    std::unique_ptr<HistoryRecorder> m_recorder;
    std::unique_ptr<CardViewModel> m_model;
    ExplanationPromptProfile m_profile;
    QString m_key;

    [[nodiscard]] QString path() const
    {
        return m_dir.filePath(QStringLiteral("%1/History.sqlite3")
                                  .arg(QString::fromLatin1(QTest::currentTestFunction())));
    }

    void setKey(const QString &key)
    {
        m_key = key;
        m_model->refreshHasAPIKey();
    }

    void ask(const QString &query)
    {
        m_model->setQuery(query);
        m_model->explain();
    }

    // Everything handed to the writer is written, and every answer that
    // came back (a star read after a change among them) is applied.
    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            m_writer->waitForWritten();
            QCoreApplication::processEvents();
        }
    }

    std::optional<HistoryEntry> saved(const QString &term)
    {
        const auto found = m_store->savedAnswer(term);
        return found ? found.value() : std::nullopt;
    }

    void finishStreaming()
    {
        QTRY_VERIFY(!m_model->isLoading());
        settle();
    }

private slots:
    void init()
    {
        m_server = std::make_unique<FakeChatServer>();
        QVERIFY(m_server->listen());
        m_packs = std::make_unique<CustomGlossaryStore>(m_dir.filePath(
            QStringLiteral("%1.json").arg(QString::fromLatin1(QTest::currentTestFunction()))));
        m_store = std::make_unique<HistoryStore>(path());
        m_writer = std::make_unique<HistoryWriter>(m_store.get());
        m_recorder =
            std::make_unique<HistoryRecorder>(m_store.get(), m_writer.get(), m_packs.get());
        m_profile = {};
        m_key.clear();
        m_model = std::make_unique<CardViewModel>(
            dictionary(), m_packs.get(), [this] { return m_profile; }, [this] { return m_key; },
            [this] {
                return OnlineSettings{m_server->url().toString(), QStringLiteral("test-model")};
            });
        m_model->setHistory(m_recorder.get());
    }

    void cleanup()
    {
        m_model.reset();
        m_recorder.reset();
        m_writer.reset();
        m_store.reset();
        m_packs.reset();
        m_server.reset();
    }

    void everyCompleteAnswerIsRecordedWithItsSource()
    {
        QVERIFY(m_packs->importText(
            QStringLiteral("# 检索黑话补充包\n\n## RAG\n解释：补充包里的说法。\n"),
            QStringLiteral("p.md")));
        ask(QStringLiteral("什么是RAG"));
        ask(QStringLiteral("  上下文 "));
        settle();
        const auto pack = saved(QStringLiteral("RAG"));
        QVERIFY(pack);
        QCOMPARE(toString(pack->origin), QStringLiteral("custom"));
        // The pack as the vocabulary page names it.
        QCOMPARE(pack->source.name, QStringLiteral("检索补充包"));
        QCOMPARE(pack->query, QStringLiteral("什么是RAG"));
        QCOMPARE(pack->answer, QStringLiteral("补充包里的说法。"));
        const auto local = saved(QStringLiteral("上下文（context）"));
        QVERIFY(local);
        QCOMPARE(local->source.name, QStringLiteral("本地词典"));
        QCOMPARE(local->query, QStringLiteral("上下文"));

        // An online answer is recorded when it ends, with the text as shown
        // (the readable cut), the service, the model and the style; never the key.
        m_key = QStringLiteral("sk-secret-key");
        m_profile.audience = ExplanationAudience::QuickStart;
        m_profile.length = ExplanationLength::Brief;
        ScriptedResponse held = ScriptedResponse::eventStream(
            {pieceLine(QStringLiteral("容器编排工具，帮你管很多容器。"))});
        held.holdOpen = true;
        m_server->enqueue(held);
        ask(QStringLiteral("Kubernetes"));
        QTRY_VERIFY(!m_model->resultExplanation().isEmpty());
        settle();
        QVERIFY(!saved(QStringLiteral("Kubernetes")));
        m_server->sendChunk("data: [DONE]\n\n");
        m_server->endResponse();
        finishStreaming();
        const auto online = saved(QStringLiteral("kubernetes"));
        QVERIFY(online);
        QCOMPARE(toString(online->origin), QStringLiteral("deepSeek"));
        QCOMPARE(online->answer, m_model->resultExplanation());
        QCOMPARE(online->source.endpoint, m_server->url().toString());
        QCOMPARE(online->source.model, QStringLiteral("test-model"));
        QCOMPARE(online->source.style, QStringLiteral("快速入门 · 精简"));
        m_store.reset(); // the file as another program reads it
        QVERIFY(!QFile(path()).open(QIODevice::ReadOnly) ||
                !QFile(path()).readAll().contains("sk-secret-key"));
    }

    void noticesFailuresAndCancelledAnswersAreNotRecorded()
    {
        ask(QStringLiteral("Zorblax")); // a notice: no key
        m_key = QStringLiteral("sk-test");
        m_server->enqueue(ScriptedResponse::json("{}", 500));
        ask(QStringLiteral("Quuxle"));
        QTRY_VERIFY(!m_model->isLoading());
        ScriptedResponse held =
            ScriptedResponse::eventStream({pieceLine(QStringLiteral("写到一半的解释，"))});
        held.holdOpen = true;
        m_server->enqueue(held);
        ask(QStringLiteral("Flurbo"));
        QTRY_VERIFY(!m_model->resultExplanation().isEmpty());
        m_model->flipToFront();
        settle();
        QCOMPARE(*m_store->count({}), 0);
        QVERIFY(!m_recorder->canStar());
    }

    void aCandidateChosenFromADescriptionKeepsTheDescription()
    {
        m_key = QStringLiteral("sk-test");
        m_server->enqueue(ScriptedResponse::json(
            matchesReply({{QStringLiteral("上下文"), std::nullopt,
                           QStringLiteral("模型能参考的内容。"), std::nullopt}})));
        const QString description = QStringLiteral("模型一次能记住多少内容这件事叫什么");
        ask(description);
        QTRY_COMPARE(m_model->reverseLookupMatches().size(), 1);
        settle();
        QCOMPARE(*m_store->count({}), 0); // candidates are no answer
        m_model->selectReverseLookup(0);
        settle();
        const auto entry = saved(QStringLiteral("上下文（context）"));
        QVERIFY(entry);
        QCOMPARE(entry->query, QStringLiteral("上下文"));
        QCOMPARE(entry->context, description);
    }

    void theStarFollowsTheHistory()
    {
        ask(QStringLiteral("上下文"));
        const QString term = QStringLiteral("上下文（context）"); // the dictionary's title
        // Shown once the history has the row.
        QVERIFY(!m_recorder->canStar());
        settle();
        QVERIFY(m_recorder->canStar());
        QVERIFY(!m_recorder->starred());
        QCOMPARE(m_recorder->starLabel(), QStringLiteral("收藏"));

        m_recorder->toggleStar();
        QVERIFY(m_recorder->starred());
        QCOMPARE(m_recorder->starLabel(), QStringLiteral("取消收藏"));
        settle();
        QVERIFY(saved(term)->starred);

        // The control center's page changes the same row.
        QVERIFY(m_store->unstar(term));
        settle();
        QVERIFY(m_recorder->canStar());
        QVERIFY(!m_recorder->starred());
        QVERIFY(m_store->remove(term));
        settle();
        QVERIFY(!m_recorder->canStar());

        // With recording off, a term the history has keeps its star; a new one has none.
        ask(QStringLiteral("上下文"));
        settle();
        QVERIFY(m_store->star(term));
        m_store->setRecordingEnabled(false);
        ask(QStringLiteral("RAG"));
        settle();
        QVERIFY(!m_recorder->canStar());
        QVERIFY(!saved(QStringLiteral("RAG")));
        ask(QStringLiteral("context"));
        settle();
        QVERIFY(m_recorder->canStar());
        QVERIFY(m_recorder->starred());
        QCOMPARE(saved(term)->lookupCount, 1);

        // A notice has no star.
        ask(QStringLiteral("Zorblax"));
        settle();
        QVERIFY(!m_recorder->canStar());
    }

    void aSavedOnlineAnswerIsShownAgainWithoutARequest()
    {
        setKey(QStringLiteral("sk-test"));
        m_server->enqueue(streamOf(QStringLiteral("第一次的解释。")));
        ask(QStringLiteral("Kubernetes"));
        finishStreaming();
        QVERIFY(m_recorder->savedLabel().isEmpty());
        QVERIFY(!m_model->canRegenerate());

        m_model->startOver();
        ask(QStringLiteral("kubernetes"));
        QCOMPARE(m_server->requests().size(), 1);
        QCOMPARE(m_model->presentation(), Presentation::Back);
        QVERIFY(!m_model->isLoading());
        QCOMPARE(m_model->resultExplanation(), QStringLiteral("第一次的解释。"));
        QVERIFY(m_recorder->savedLabel().startsWith(QStringLiteral("已保存 · 今天 ")));
        QVERIFY(m_model->canRegenerate());
        QCOMPARE(
            m_model->expandedHeight(),
            CardMetrics::heightForAnswer(
                {m_model->resultTitle(), m_model->resultExplanation(), false, false, {}, true}));
        settle();
        // Looked up again: counted, with the query as typed this time.
        QCOMPARE(saved(QStringLiteral("Kubernetes"))->lookupCount, 2);
        QCOMPARE(saved(QStringLiteral("Kubernetes"))->query, QStringLiteral("kubernetes"));

        // Another style is another answer: asked for again.
        m_profile.length = ExplanationLength::Detailed;
        m_server->enqueue(streamOf(QStringLiteral("详细版的解释。")));
        ask(QStringLiteral("Kubernetes"));
        QVERIFY(m_model->isLoading());
        QTRY_VERIFY(!m_model->isLoading());
        QCOMPARE(m_server->requests().size(), 2);
        QVERIFY(m_recorder->savedLabel().isEmpty());

        // Right after it ended (written or still on its way), it is found.
        ask(QStringLiteral("KUBERNETES"));
        QCOMPARE(m_server->requests().size(), 2);
        QCOMPARE(m_model->resultExplanation(), QStringLiteral("详细版的解释。"));
    }

    void regeneratingReplacesTheSavedTextOnlyWhenItCompletes()
    {
        setKey(QStringLiteral("sk-test"));
        m_server->enqueue(streamOf(QStringLiteral("旧的解释。")));
        ask(QStringLiteral("Kubernetes"));
        finishStreaming();
        ask(QStringLiteral("Kubernetes"));
        QVERIFY(m_model->canRegenerate());

        // Cancelled: the saved text shows again and stays saved.
        ScriptedResponse held =
            ScriptedResponse::eventStream({pieceLine(QStringLiteral("新的一半"))});
        held.holdOpen = true;
        m_server->enqueue(held);
        m_model->regenerate();
        QVERIFY(m_model->isLoading());
        QVERIFY(m_recorder->savedLabel().isEmpty());
        QTRY_COMPARE(m_model->resultExplanation(), QStringLiteral("新的一半"));
        m_model->flipToFront();
        QCOMPARE(m_model->resultExplanation(), QStringLiteral("旧的解释。"));
        QVERIFY(!m_recorder->savedLabel().isEmpty());
        QVERIFY(m_model->canRegenerate());
        settle();
        QCOMPARE(saved(QStringLiteral("Kubernetes"))->answer, QStringLiteral("旧的解释。"));

        // Failed: the saved text stays beside the message.
        m_server->enqueue(ScriptedResponse::json("{}", 500));
        m_model->regenerate();
        QTRY_VERIFY(!m_model->isLoading());
        QCOMPARE(m_model->resultExplanation(), QStringLiteral("旧的解释。"));
        QVERIFY(!m_model->errorMessage().isEmpty());
        QVERIFY(!m_recorder->savedLabel().isEmpty());

        // Completed: the new text replaces the saved one.
        m_server->enqueue(streamOf(QStringLiteral("新的解释。")));
        m_model->regenerate();
        finishStreaming();
        QCOMPARE(m_model->resultExplanation(), QStringLiteral("新的解释。"));
        QVERIFY(m_recorder->savedLabel().isEmpty());
        QVERIFY(!m_model->canRegenerate());
        QCOMPARE(saved(QStringLiteral("Kubernetes"))->answer, QStringLiteral("新的解释。"));
        QCOMPARE(m_server->requests().size(), 4);
    }

    void anEntryOpenedFromThePageShowsAtOnce()
    {
        QVERIFY(m_store->record({QStringLiteral("向量数据库"),
                                 QStringLiteral("向量库"),
                                 QStringLiteral("按意思相近程度查找内容的数据库。"),
                                 ExplanationOrigin::Local,
                                 AnswerSource::dictionary(),
                                 {}}));
        const HistoryEntry entry = *saved(QStringLiteral("向量数据库"));
        m_model->openSaved(entry);
        QCOMPARE(m_model->presentation(), Presentation::Back);
        QCOMPARE(m_model->resultExplanation(), entry.answer);
        QCOMPARE(toString(m_model->resultOrigin()), QStringLiteral("local"));
        QVERIFY(m_recorder->canStar());
        QVERIFY(!m_recorder->savedLabel().isEmpty());
        // Only online answers are asked for again.
        setKey(QStringLiteral("sk-test"));
        QVERIFY(!m_model->canRegenerate());
        settle();
        // Opening is no lookup.
        QCOMPARE(saved(QStringLiteral("向量数据库"))->lookupCount, 1);
        QVERIFY(m_server->requests().isEmpty());
    }

    void upAndDownWalkTheRecentQueries()
    {
        for (const QString &query :
             {QStringLiteral("RAG"), QStringLiteral("上下文"), QStringLiteral("什么是 context")})
            ask(query);
        settle();
        m_model->startOver();

        const auto up = [this] {
            return m_model->recallOlder() ? m_model->query() : QString();
        };
        const auto down = [this] {
            return m_model->recallNewer() ? m_model->query() : QStringLiteral("（无）");
        };
        // 「什么是 context」 and 「上下文」 name one term: its row keeps the last query.
        QCOMPARE(up(), QStringLiteral("什么是 context"));
        QCOMPARE(up(), QStringLiteral("RAG"));
        QCOMPARE(up(), QStringLiteral("RAG")); // the oldest stays
        QCOMPARE(down(), QStringLiteral("什么是 context"));
        QCOMPARE(down(), QString()); // past the newest: empty again
        QCOMPARE(down(), QStringLiteral("（无）"));

        // Typing leaves the walk; Up in text the user typed does nothing.
        QCOMPARE(up(), QStringLiteral("什么是 context"));
        m_model->setQuery(QStringLiteral("什么是 contexts"));
        QVERIFY(!m_model->recallOlder());
        QCOMPARE(m_model->query(), QStringLiteral("什么是 contexts"));

        // The query of the answer just shown comes first.
        ask(QStringLiteral("什么是RAG"));
        m_model->startOver();
        QCOMPARE(up(), QStringLiteral("什么是RAG"));

        // Without a history the keys do nothing.
        m_model->setHistory(nullptr);
        m_model->startOver();
        QVERIFY(!m_model->recallOlder());
    }
};

QTEST_GUILESS_MAIN(CardHistoryTest)
#include "tst_cardhistory.moc"
