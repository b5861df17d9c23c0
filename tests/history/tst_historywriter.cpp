// The background writer: what is handed over is written in order, visible
// as pending until then, follows the store's switch and limit, and is all
// written before the writer goes.
#include "history/historywriter.h"
#include "historytesting.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;

class HistoryWriterTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    [[nodiscard]] static std::optional<HistoryEntry> saved(HistoryStore &store, const QString &term)
    {
        const auto found = store.savedAnswer(term);
        return found ? found.value() : std::nullopt;
    }

private slots:
    void init()
    {
        m_path = m_dir.filePath(QStringLiteral("%1/History.sqlite3")
                                    .arg(QString::fromLatin1(QTest::currentTestFunction())));
    }

    void handedOverWorkIsWrittenInOrderAndPendingUntilThen()
    {
        HistoryStore store(m_path);
        HistoryWriter writer(&store);
        QSignalSpy written(&writer, &HistoryWriter::recordWritten);
        QSignalSpy changed(&store, &HistoryStore::entriesChanged);

        QVERIFY(writer.record(localRecord(QStringLiteral("RAG"), QStringLiteral("第一次。"))));
        // The same term key, written after the first: it wins.
        QVERIFY(writer.record(localRecord(QStringLiteral("ｒａｇ"), QStringLiteral("第二次。"))));
        // A star asked for now applies to the row those recordings make.
        writer.setStarred(QStringLiteral("Rag"), true);

        QCOMPARE(writer.pendingRecords().size(), 2);
        QCOMPARE(writer.pendingRecord(QStringLiteral("rag"))->record.answer,
                 QStringLiteral("第二次。"));
        QVERIFY(!writer.pendingRecord(QStringLiteral("上下文")));
        QCOMPARE(writer.pendingStar(QStringLiteral("RAG")), std::optional(true));

        writer.waitForWritten();
        QVERIFY(writer.pendingRecords().isEmpty());
        QVERIFY(!writer.pendingStar(QStringLiteral("RAG")));
        QCOMPARE(written.count(), 2);
        QCOMPARE(written.at(0).at(0).toString(), QStringLiteral("rag"));
        // What the store's views hear of: both recordings and the star.
        QCOMPARE(changed.count(), 3);

        const auto entry = saved(store, QStringLiteral("RAG"));
        QVERIFY(entry);
        QCOMPARE(entry->answer, QStringLiteral("第二次。"));
        QCOMPARE(entry->lookupCount, 2);
        QVERIFY(entry->starred);
    }

    void nothingIsHandedOverThatTheHistoryWouldNotKeep()
    {
        HistoryStore store(m_path);
        HistoryWriter writer(&store);
        HistoryRecord notice = localRecord(QStringLiteral("Kubernetes"));
        notice.origin = ExplanationOrigin::Unavailable;
        QVERIFY(!writer.record(notice));
        QVERIFY(!writer.record(localRecord(QStringLiteral("？！"))));
        store.setRecordingEnabled(false);
        QVERIFY(!writer.record(localRecord(QStringLiteral("RAG"))));
        QVERIFY(writer.pendingRecords().isEmpty());
        writer.waitForWritten();
        QCOMPARE(*store.count({}), 0);

        // Without a store there is nothing to write into.
        HistoryWriter orphan(nullptr);
        QVERIFY(!orphan.record(localRecord(QStringLiteral("RAG"))));
    }

    void theLimitIsTheStores()
    {
        HistoryStore store(m_path, {true, 10, {}});
        HistoryWriter writer(&store);
        for (int i = 0; i < 12; ++i) {
            QVERIFY(writer.record(localRecord(QStringLiteral("词%1").arg(i))));
            if (i == 0)
                writer.setStarred(QStringLiteral("词0"), true);
        }
        writer.waitForWritten();
        QCOMPARE(*store.count({}), 10);
        // The starred first one stays; the oldest unstarred went.
        QVERIFY(saved(store, QStringLiteral("词0")));
        QVERIFY(!saved(store, QStringLiteral("词1")));
        QVERIFY(!saved(store, QStringLiteral("词2")));

        // A limit raised on the store is the writer's too.
        QVERIFY(store.setEntryLimit(20));
        for (int i = 12; i < 20; ++i)
            QVERIFY(writer.record(localRecord(QStringLiteral("词%1").arg(i))));
        writer.waitForWritten();
        QCOMPARE(*store.count({}), 18);
    }

    void starsAndTheirReadsAnswer()
    {
        HistoryStore store(m_path);
        HistoryWriter writer(&store);
        QSignalSpy failed(&writer, &HistoryWriter::starFailed);
        QSignalSpy read(&writer, &HistoryWriter::starRead);

        writer.setStarred(QStringLiteral("不存在的词"), true);
        writer.readStar(QStringLiteral("不存在的词"));
        QVERIFY(writer.record(localRecord(QStringLiteral("上下文"))));
        writer.setStarred(QStringLiteral("上下文"), true);
        writer.readStar(QStringLiteral("上下文"));
        writer.waitForWritten();

        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.at(0).at(1).value<HistoryError>(), HistoryError::NotFound);
        QCOMPARE(read.count(), 2);
        QCOMPARE(read.at(0), (QVariantList{QStringLiteral("不存在的词"), false, false}));
        QCOMPARE(read.at(1), (QVariantList{QStringLiteral("上下文"), true, true}));
        // A failed star leaves nothing pending behind.
        QVERIFY(!writer.pendingStar(QStringLiteral("不存在的词")));
    }

    void leavingWritesEverythingHandedOver()
    {
        {
            HistoryStore store(m_path);
            HistoryWriter writer(&store);
            for (int i = 0; i < 200; ++i)
                QVERIFY(writer.record(localRecord(QStringLiteral("词%1").arg(i))));
        }
        HistoryStore reopened(m_path);
        QCOMPARE(*reopened.count({}), 200);
    }
};

QTEST_GUILESS_MAIN(HistoryWriterTest)
#include "tst_historywriter.moc"
