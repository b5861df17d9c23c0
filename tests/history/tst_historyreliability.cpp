#include "history/historystore.h"
#include "historytesting.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

// Every row stays: the writers record with the largest limit, and so must
// the store that reads what they wrote, or opening it would evict rows.
HistoryStore::Options keepEverything()
{
    return {true, HistorySettings::maximumLimit(), {}};
}

std::unique_ptr<QProcess> startWriter(const QString &database, const QString &prefix, int count,
                                      int sharedEvery = 0)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(qEnvironmentVariable("WORDLUMEN_HISTORY_WRITER"),
                   {database, prefix, QString::number(count), QString::number(sharedEvery)});
    return process;
}

QSet<QString> allTerms(HistoryStore &store)
{
    HistoryQuery all;
    all.limit = 0;
    const QStringList terms = termsOf(store.list(all)->entries);
    return {terms.cbegin(), terms.cend()};
}

// SQLite's own check of the file and of the search index; "ok" when both hold.
QString integrityOf(const QString &database)
{
    QString result;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("integrity"));
        db.setDatabaseName(database);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
                result = query.value(0).toString();
            if (!query.exec(QStringLiteral(
                    "INSERT INTO entries_text (entries_text) VALUES ('integrity-check')")))
                result = query.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("integrity"));
    return result;
}

QStringList movedAside(const QString &database)
{
    return QFileInfo(database).dir().entryList({QStringLiteral("*.unreadable-*")}, QDir::Files);
}

} // namespace

class HistoryReliabilityTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(!qEnvironmentVariableIsEmpty("WORDLUMEN_HISTORY_WRITER")); }

    // The app and the terminal companion record at the same moment: writers
    // take turns, neither loses a row nor a count.
    void twoProgramsRecordingAtOnceLoseNothing()
    {
        const QString database = m_dir.filePath(QStringLiteral("two/History.sqlite3"));
        const auto first = startWriter(database, QStringLiteral("甲-"), 500, 5);
        const auto second = startWriter(database, QStringLiteral("乙-"), 500, 5);
        for (QProcess *writer : {first.get(), second.get()}) {
            QVERIFY(writer->waitForFinished(180000));
            QVERIFY2(writer->exitCode() == 0, writer->readAllStandardError().constData());
        }

        HistoryStore store(database, keepEverything());
        const QSet<QString> terms = allTerms(store);
        QCOMPARE(terms.size(), 1001);
        for (int i = 0; i < 500; ++i) {
            QVERIFY(terms.contains(QStringLiteral("甲-%1").arg(i)));
            QVERIFY(terms.contains(QStringLiteral("乙-%1").arg(i)));
        }
        QCOMPARE(store.savedAnswer(QStringLiteral("共享词")).value()->lookupCount, 200);
        QVERIFY(movedAside(database).isEmpty());
        QCOMPARE(integrityOf(database), QStringLiteral("ok"));
    }

    // Killed at any moment of a write, a writer leaves a database that opens
    // as it is (nothing moved aside) and holds every row it reported.
    void aWriterKilledWhileWritingLosesNoCommittedRow()
    {
        const QString database = m_dir.filePath(QStringLiteral("killed/History.sqlite3"));
        QRandomGenerator random(20261208);
        QSet<QString> committed;
        for (int round = 0; round < 15; ++round) {
            const auto writer = startWriter(database, QStringLiteral("第%1轮-").arg(round), 100000);
            QVERIFY(writer->waitForStarted());
            const int killAfter = int(random.bounded(1, 120));
            QByteArray output;
            while (output.count('\n') < killAfter) {
                QVERIFY2(writer->waitForReadyRead(20000),
                         writer->readAllStandardError().constData());
                output += writer->readAllStandardOutput();
            }
            // Within the next few recordings, mid-transaction or between two.
            QTest::qSleep(int(random.bounded(3)));
            writer->kill();
            QVERIFY(writer->waitForFinished(20000));
            QCOMPARE(writer->exitStatus(), QProcess::CrashExit);
            output += writer->readAllStandardOutput();

            for (const QByteArray &line : output.split('\n')) {
                if (line.startsWith("committed "))
                    committed.insert(QString::fromUtf8(line.mid(10)));
            }
            HistoryStore store(database, keepEverything());
            const QSet<QString> terms = allTerms(store);
            QVERIFY(store.statusMessage().isEmpty());
            for (const QString &term : std::as_const(committed))
                QVERIFY2(terms.contains(term), qPrintable(term));
            QVERIFY(movedAside(database).isEmpty());
            QCOMPARE(integrityOf(database), QStringLiteral("ok"));
        }
        QVERIFY(committed.size() >= 15);
    }
};

QTEST_GUILESS_MAIN(HistoryReliabilityTest)
#include "tst_historyreliability.moc"
