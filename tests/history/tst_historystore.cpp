#include "history/historyschema.h"
#include "history/historystore.h"
#include "historytesting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

/// Runs `statements` on a SQLite file of our own making, outside the store.
bool runSql(const QString &path, const QStringList &statements)
{
    bool ok = true;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-fixture"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString &statement : statements) {
            if (!ok)
                break;
            ok = query.exec(statement);
            if (!ok)
                qWarning("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test-fixture"));
    return ok;
}

// Log lines of every category, debug included, while an instance lives.
class LogCapture
{
public:
    LogCapture()
    {
        s_lines.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("wordlumen.*=true"));
        m_previous = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }
    [[nodiscard]] static const QStringList &lines() { return s_lines; }

private:
    static void handle(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        s_lines.append(message);
    }
    static inline QStringList s_lines;
    QtMessageHandler m_previous = nullptr;
};

} // namespace

class HistoryStoreTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    SteppingClock m_clock;
    int m_next = 0;

    // A fresh database path for each test, inside a folder that does not exist yet.
    QString freshPath()
    {
        return m_dir.filePath(QStringLiteral("case%1/Zintaro/History.sqlite3").arg(++m_next));
    }

    HistoryStore::Options options(int limit = HistorySettings::defaultLimit())
    {
        return {true, limit, m_clock.function()};
    }

private slots:
    void init() { m_clock = SteppingClock(); }

    void opensOnFirstUseOnly()
    {
        const QString path = freshPath();
        HistoryStore store(path, options());
        QVERIFY(!store.isOpen());
        QVERIFY(!QFileInfo::exists(QFileInfo(path).absolutePath()));

        // Off, a recording touches nothing: not even the folder is made.
        store.setRecordingEnabled(false);
        QVERIFY(store.record(localRecord(QStringLiteral("RAG"))));
        QVERIFY(!store.isOpen());
        QVERIFY(!QFileInfo::exists(path));

        store.setRecordingEnabled(true);
        QVERIFY(store.record(localRecord(QStringLiteral("RAG"))));
        QVERIFY(store.isOpen());
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(store.statusMessage().isEmpty());

        // Another store finds the row; once both are closed, the log is
        // folded into the file, whose header marks it as ours.
        {
            HistoryStore reopened(path, options());
            QCOMPARE(reopened.count({}).value(), 1);
        }
    }

    void aClosedFileIsMarkedAsOurs()
    {
        const QString path = freshPath();
        {
            HistoryStore store(path, options());
            QVERIFY(store.record(localRecord(QStringLiteral("RAG"))));
        }
        QVERIFY(!QFileInfo::exists(path + QStringLiteral("-wal")));
        const QByteArray header = fileBytes(path).left(100);
        QCOMPARE(qFromBigEndian<qint32>(header.constData() + 68), HistorySchema::kApplicationId);
        QCOMPARE(qFromBigEndian<qint32>(header.constData() + 60), HistorySchema::currentVersion());
    }

    void recordingKeepsOneRowPerTermWithTheLatestAnswer()
    {
        HistoryStore store(freshPath(), options());
        QSignalSpy changed(&store, &HistoryStore::entriesChanged);
        HistoryRecord first{QStringLiteral("RAG"),
                            QStringLiteral("什么是RAG"),
                            QStringLiteral("先查资料再回答。"),
                            ExplanationOrigin::Local,
                            AnswerSource::dictionary(),
                            QStringLiteral("周报里写着：下季度上线 RAG。")};
        QVERIFY(store.record(first));
        // The same term key in another spelling, online, without a passage.
        HistoryRecord second{QStringLiteral("ｒａｇ"),
                             QStringLiteral("rag"),
                             QStringLiteral("检索增强生成：先检索，再生成。"),
                             ExplanationOrigin::DeepSeek,
                             AnswerSource::online(QStringLiteral("https://api.example.com/v1"),
                                                  QStringLiteral("chat-model"),
                                                  QStringLiteral("白话 · 标准")),
                             {}};
        QVERIFY(store.record(second));
        QCOMPARE(changed.count(), 2);

        const auto page = store.list({});
        QVERIFY(page);
        QCOMPARE(page->entries.size(), 1);
        const HistoryEntry &entry = page->entries.first();
        QCOMPARE(entry.termKey, QStringLiteral("rag"));
        QCOMPARE(entry.term, QStringLiteral("ｒａｇ"));
        QCOMPARE(entry.query, QStringLiteral("rag"));
        QCOMPARE(entry.answer, second.answer);
        QCOMPARE(toString(entry.origin), QStringLiteral("deepSeek"));
        QCOMPARE(entry.source, second.source);
        QCOMPARE(entry.context, first.context); // kept: the second one knew none
        QCOMPARE(entry.lookupCount, 2);
        QVERIFY(entry.firstSeen < entry.lastSeen);
        QCOMPARE(entry.lastSeen.timeSpec(), Qt::UTC);
        QVERIFY(!entry.starred);
    }

    void whatIsNotRecorded_data()
    {
        QTest::addColumn<HistoryRecord>("record");
        HistoryRecord notice = localRecord(QStringLiteral("不存在的词"));
        notice.origin = ExplanationOrigin::Unavailable;
        QTest::addRow("a notice") << notice;
        QTest::addRow("a term of punctuation only") << localRecord(QStringLiteral("？！…"));
        QTest::addRow("an empty term") << localRecord(QStringLiteral("  "));
    }

    void whatIsNotRecorded()
    {
        QFETCH(HistoryRecord, record);
        HistoryStore store(freshPath(), options());
        QVERIFY(store.record(record));
        QCOMPARE(store.count({}).value(), 0);
    }

    void starringRemovingAndClearing()
    {
        HistoryStore store(freshPath(), options());
        for (const QString &term :
             {QStringLiteral("RAG"), QStringLiteral("Token"), QStringLiteral("向量数据库")})
            QVERIFY(store.record(localRecord(term)));

        QVERIFY(store.star(QStringLiteral("  rag！")));
        QVERIFY(store.isStarred(QStringLiteral("RAG")));
        QVERIFY(!store.isStarred(QStringLiteral("Token")));
        QVERIFY(!store.isStarred(QStringLiteral("没有的词")));
        QCOMPARE(store.star(QStringLiteral("没有的词")).error(), HistoryError::NotFound);

        HistoryQuery starred;
        starred.starredOnly = true;
        QCOMPARE(termsOf(store.list(starred)->entries), QStringList{QStringLiteral("RAG")});
        QVERIFY(store.unstar(QStringLiteral("RAG")));
        QCOMPARE(store.count(starred).value(), 0);

        QVERIFY(store.remove(QStringLiteral("TOKEN")));
        QCOMPARE(store.remove(QStringLiteral("Token")).error(), HistoryError::NotFound);
        QCOMPARE(termsOf(store.list({})->entries),
                 (QStringList{QStringLiteral("向量数据库"), QStringLiteral("RAG")}));

        QVERIFY(store.star(QStringLiteral("RAG")));
        QVERIFY(store.clear());
        QCOMPARE(store.count({}).value(), 0);
        // The search index is emptied with the rows.
        HistoryQuery search;
        search.search = QStringLiteral("数据库");
        QCOMPARE(store.count(search).value(), 0);
    }

    void listsNewestFirstInPages()
    {
        HistoryStore store(freshPath(), options());
        QStringList recorded;
        for (int i = 0; i < 120; ++i) {
            recorded.prepend(QStringLiteral("词条%1").arg(i));
            QVERIFY(store.record(localRecord(recorded.first())));
        }
        // Looking a term up again brings it to the front.
        QVERIFY(store.record(localRecord(QStringLiteral("词条5"))));
        recorded.removeOne(QStringLiteral("词条5"));
        recorded.prepend(QStringLiteral("词条5"));

        HistoryQuery query;
        query.limit = 50;
        QStringList listed;
        int pages = 0;
        for (;;) {
            const auto page = store.list(query);
            QVERIFY(page);
            listed += termsOf(page->entries);
            ++pages;
            if (!page->next)
                break;
            query.after = page->next;
        }
        QCOMPARE(pages, 3);
        QCOMPARE(listed, recorded);

        // A page that ends exactly at the last entry says so.
        query = {};
        query.limit = 121;
        QVERIFY(!store.list(query)->next);

        // Since: the entries seen at or after the 21st newest.
        query = {};
        query.limit = 0;
        const QDateTime since = store.list(query)->entries.at(20).lastSeen;
        query.since = since;
        query.limit = 0;
        QCOMPARE(termsOf(store.list(query)->entries), recorded.mid(0, 21));
        QCOMPARE(store.count(query).value(), 21);
    }

    void searchFindsTextAnywhereInTermOrAnswer_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("found");

        const QString rag = QStringLiteral("检索增强生成");
        const QString k8s = QStringLiteral("Kubernetes");
        const QString vector = QStringLiteral("向量数据库");
        const QString okr = QStringLiteral("OKR");
        const QString percent = QStringLiteral("50%_折扣");
        const QString quote = QStringLiteral("引号\"测试");

        QTest::addRow("chinese inside a term") << QStringLiteral("增强生") << QStringList{rag};
        QTest::addRow("chinese inside an answer") << QStringLiteral("据此回") << QStringList{rag};
        QTest::addRow("latin inside a term") << QStringLiteral("bernet") << QStringList{k8s};
        QTest::addRow("latin in another case") << QStringLiteral("KUBER") << QStringList{k8s};
        QTest::addRow("latin inside an answer") << QStringLiteral("rag") << QStringList{vector};
        QTest::addRow("mixed chinese and latin") << QStringLiteral("于 RAG") << QStringList{vector};
        QTest::addRow("three letters, a whole term") << QStringLiteral("okr") << QStringList{okr};
        QTest::addRow("spaces around are ignored")
            << QStringLiteral("  增强生  ") << QStringList{rag};
        QTest::addRow("one chinese character") << QStringLiteral("器") << QStringList{k8s};
        QTest::addRow("two latin letters") << QStringLiteral("ub") << QStringList{k8s};
        QTest::addRow("two letters in another case") << QStringLiteral("ok") << QStringList{okr};
        QTest::addRow("percent sign is literal") << QStringLiteral("%") << QStringList{percent};
        QTest::addRow("underscore is literal") << QStringLiteral("_") << QStringList{percent};
        QTest::addRow("short with a quote") << QStringLiteral("\"测") << QStringList{quote};
        QTest::addRow("long with a quote") << QStringLiteral("号\"测") << QStringList{quote};
        QTest::addRow("query syntax is text") << QStringLiteral("OR NOT") << QStringList{};
        QTest::addRow("nothing") << QStringLiteral("不存在的词") << QStringList{};
        QTest::addRow("empty finds all")
            << QString() << QStringList{quote, percent, okr, vector, k8s, rag};
    }

    void searchFindsTextAnywhereInTermOrAnswer()
    {
        QFETCH(QString, search);
        QFETCH(QStringList, found);

        HistoryStore store(freshPath(), options());
        const QList<std::pair<QString, QString>> entries{
            {QStringLiteral("检索增强生成"),
             QStringLiteral("先从资料库里找到相关段落，再让模型据此回答。")},
            {QStringLiteral("Kubernetes"), QStringLiteral("一套自动部署和管理容器的开源系统。")},
            {QStringLiteral("向量数据库"),
             QStringLiteral("按意思相近程度查找内容的数据库，常用于 RAG。")},
            {QStringLiteral("OKR"), QStringLiteral("目标与关键结果，一种设定和跟踪目标的方法。")},
            {QStringLiteral("50%_折扣"), QStringLiteral("促销文案的写法。")},
            {QStringLiteral("引号\"测试"), QStringLiteral("含有引号的词条。")},
        };
        for (const auto &[term, answer] : entries)
            QVERIFY(store.record(localRecord(term, answer)));

        HistoryQuery query;
        query.search = search;
        const auto page = store.list(query);
        QVERIFY(page);
        QCOMPARE(termsOf(page->entries), found);
        QCOMPARE(store.count(query).value(), found.size());

        // The starred filter narrows a search further.
        query.starredOnly = true;
        QCOMPARE(store.count(query).value(), 0);
    }

    void searchFollowsChangedAnswers()
    {
        HistoryStore store(freshPath(), options());
        QVERIFY(store.record(localRecord(QStringLiteral("RAG"), QStringLiteral("旧的解释。"))));
        QVERIFY(store.record(localRecord(QStringLiteral("RAG"), QStringLiteral("新的说法。"))));
        HistoryQuery query;
        query.search = QStringLiteral("旧的解");
        QCOMPARE(store.count(query).value(), 0);
        query.search = QStringLiteral("新的说");
        QCOMPARE(store.count(query).value(), 1);
    }

    void limitEvictsTheOldestUnstarredAndNeverAStarredOne()
    {
        HistoryStore store(freshPath(), options(20));
        // The three oldest entries are starred.
        for (int i = 0; i < 3; ++i) {
            QVERIFY(store.record(localRecord(QStringLiteral("收藏%1").arg(i))));
            QVERIFY(store.star(QStringLiteral("收藏%1").arg(i)));
        }
        for (int i = 0; i < 30; ++i)
            QVERIFY(store.record(localRecord(QStringLiteral("普通%1").arg(i))));
        HistoryQuery all;
        all.limit = 0;
        QStringList expected;
        for (int i = 29; i >= 13; --i)
            expected.append(QStringLiteral("普通%1").arg(i));
        expected += {QStringLiteral("收藏2"), QStringLiteral("收藏1"), QStringLiteral("收藏0")};
        QCOMPARE(termsOf(store.list(all)->entries), expected);

        // Lowering the limit evicts at once.
        QSignalSpy limitChanged(&store, &HistoryStore::entryLimitChanged);
        QVERIFY(store.setEntryLimit(10));
        QCOMPARE(limitChanged.count(), 1);
        QCOMPARE(store.count(all).value(), 10);
        QCOMPARE(termsOf(store.list(all)->entries).mid(0, 7), expected.mid(0, 7));

        // Starred entries alone beyond the limit: all stay, and so does the newest answer.
        for (int i = 3; i < 12; ++i) {
            QVERIFY(store.record(localRecord(QStringLiteral("收藏%1").arg(i))));
            QVERIFY(store.star(QStringLiteral("收藏%1").arg(i)));
        }
        QVERIFY(store.record(localRecord(QStringLiteral("最新"))));
        HistoryQuery starred = all;
        starred.starredOnly = true;
        QCOMPARE(store.count(starred).value(), 12);
        QCOMPARE(store.count(all).value(), 13);
        QVERIFY(store.record(localRecord(QStringLiteral("更新"))));
        QCOMPARE(store.count(all).value(), 13);
        QCOMPARE(store.list(all)->entries.first().term, QStringLiteral("更新"));
        QVERIFY(!store.savedAnswer(QStringLiteral("最新")).value());
    }

    void limitLoweredElsewhereAppliesWhenOpened()
    {
        const QString path = freshPath();
        {
            HistoryStore store(path, options(50));
            for (int i = 0; i < 40; ++i)
                QVERIFY(store.record(localRecord(QStringLiteral("词%1").arg(i))));
        }
        HistoryStore store(path, options(15));
        QCOMPARE(store.count({}).value(), 15);
    }

    void recentQueriesAndSavedAnswers()
    {
        HistoryStore store(freshPath(), options());
        auto lookedUp = [&](const QString &term, const QString &query) {
            HistoryRecord record = localRecord(term);
            record.query = query;
            return bool(store.record(record));
        };
        QVERIFY(lookedUp(QStringLiteral("RAG"), QStringLiteral("什么是RAG")));
        QVERIFY(lookedUp(QStringLiteral("Kubernetes"), QStringLiteral("k8s")));
        QVERIFY(lookedUp(QStringLiteral("Token"), QStringLiteral("token 怎么算")));
        QVERIFY(lookedUp(QStringLiteral("RAG"), QStringLiteral("rag")));
        QVERIFY(lookedUp(QStringLiteral("Kubernetes"), QStringLiteral("rag")));

        QCOMPARE(store.recentQueries(10).value(),
                 (QStringList{QStringLiteral("rag"), QStringLiteral("token 怎么算")}));
        QCOMPARE(store.recentQueries(1).value(), QStringList{QStringLiteral("rag")});

        const auto saved = store.savedAnswer(QStringLiteral(" ｔｏｋｅｎ "));
        QVERIFY(saved && saved.value());
        QCOMPARE(saved.value()->term, QStringLiteral("Token"));
        QCOMPARE(saved.value()->answer, QStringLiteral("Token的白话解释。"));
        QVERIFY(!store.savedAnswer(QStringLiteral("不存在")).value());
        QVERIFY(!store.savedAnswer(QStringLiteral("？")).value());
    }

    void theApiKeyNeverReachesTheDatabaseOrTheLog()
    {
        const QString key = QStringLiteral("sk-test-7f3a9c2e51b84d06");
        const QString path = freshPath();
        LogCapture log;
        {
            HistoryStore store(path, options());
            // An endpoint can carry a key where a user pasted one: as user
            // info, as a query parameter, in the fragment.
            const HistoryRecord online{
                QStringLiteral("RAG"),
                QStringLiteral("什么是RAG"),
                QStringLiteral("先检索，再生成。"),
                ExplanationOrigin::DeepSeek,
                {{},
                 QStringLiteral("https://user:%1@api.example.com:8443/v1/chat/completions"
                                "?api_key=%1#%1")
                     .arg(key),
                 QStringLiteral("chat-model"),
                 QStringLiteral("白话 · 标准")},
                {}};
            QVERIFY(store.record(online));
            const auto saved = store.savedAnswer(QStringLiteral("RAG"));
            QCOMPARE(saved.value()->source.endpoint,
                     QStringLiteral("https://api.example.com:8443/v1/chat/completions"));
            QCOMPARE(saved.value()->source.model, QStringLiteral("chat-model"));
            // A failed statement logs; make one fail.
            QCOMPARE(store.remove(key).error(), HistoryError::NotFound);
        }
        QCOMPARE(
            AnswerSource::online(QStringLiteral("api.example.com/?key=") + key, {}, {}).endpoint,
            QString());
        const QDir folder = QFileInfo(path).dir();
        for (const QString &name : folder.entryList(QDir::Files)) {
            const QByteArray bytes = fileBytes(folder.filePath(name));
            QVERIFY2(!bytes.contains(key.toUtf8()), qPrintable(name));
            QVERIFY2(!bytes.contains(QStringView(key).toString().toUtf8().toBase64()),
                     qPrintable(name));
        }
        for (const QString &line : LogCapture::lines())
            QVERIFY2(!line.contains(key), qPrintable(line));
    }

    void aFileThatIsNoHistoryIsMovedAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("sqlite");
        QTest::addRow("text") << QByteArray("这不是数据库，只是一段文字。\n") << false;
        QTest::addRow("a short binary file") << QByteArray("\x00\x01\x02", 3) << false;
        QTest::addRow("a header cut short") << QByteArray("SQLite format 3\0", 16) << false;
        QTest::addRow("another program's SQLite database") << QByteArray() << true;
    }

    void aFileThatIsNoHistoryIsMovedAside()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, sqlite);
        const QString path = freshPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        if (sqlite) {
            QVERIFY(runSql(path, {QStringLiteral("CREATE TABLE notes (body TEXT)"),
                                  QStringLiteral("INSERT INTO notes VALUES ('别人的数据')")}));
            content = fileBytes(path);
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }

        HistoryStore store(path, options());
        QSignalSpy status(&store, &HistoryStore::statusMessageChanged);
        QVERIFY(store.record(localRecord(QStringLiteral("RAG"))));
        QCOMPARE(status.count(), 1);

        const QString folder = QFileInfo(path).absolutePath();
        const QStringList moved = filesIn(folder).filter(QStringLiteral("History.unreadable-"));
        QCOMPARE(moved.size(), 1);
        QVERIFY(moved.first().endsWith(QStringLiteral(".sqlite3")));
        const QString movedPath = QDir(folder).filePath(moved.first());
        QCOMPARE(fileBytes(movedPath), content);
        QVERIFY(store.statusMessage().contains(QDir::toNativeSeparators(movedPath)));
        QVERIFY(store.statusMessage().contains(QStringLiteral("不是 Wordlumen 的查询历史")));
        QCOMPARE(termsOf(store.list({})->entries), QStringList{QStringLiteral("RAG")});
    }

    void aCorruptDatabaseIsMovedAside()
    {
        const QString path = freshPath();
        {
            HistoryStore store(path, options(5000));
            for (int i = 0; i < 400; ++i)
                QVERIFY(store.record(
                    localRecord(QStringLiteral("词条%1").arg(i), QString(150, u'解'))));
        }
        // The header and the schema page stay; every page after them is noise.
        QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.size() > 20 * 4096);
        for (qsizetype i = 4096; i < bytes.size(); ++i)
            bytes[i] = char((i * 7919) & 0xff);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }

        // Opening reads only the header and the schema, which are whole; the
        // first rows read are not, and the store moves the file aside then.
        HistoryStore store(path, options(5000));
        QVERIFY(store.record(localRecord(QStringLiteral("RAG"))));
        const QString folder = QFileInfo(path).absolutePath();
        const QStringList moved = filesIn(folder).filter(
            QRegularExpression(QStringLiteral("^History\\.unreadable-\\d{8}T\\d{6}Z\\.sqlite3$")));
        QCOMPARE(moved.size(), 1);
        QCOMPARE(fileBytes(QDir(folder).filePath(moved.first())), bytes);
        QVERIFY(store.statusMessage().contains(QStringLiteral("已损坏")));
        QCOMPARE(termsOf(store.list({})->entries), QStringList{QStringLiteral("RAG")});
    }

    void aNewerLayoutIsLeftUntouched()
    {
        const QString path = freshPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        const int newer = HistorySchema::currentVersion() + 1;
        QVERIFY(runSql(
            path, {QStringLiteral("PRAGMA journal_mode = WAL"),
                   QStringLiteral("CREATE TABLE entries (id INTEGER PRIMARY KEY,"
                                  " term_key TEXT, future_column BLOB)"),
                   QStringLiteral("INSERT INTO entries (term_key) VALUES ('rag')"),
                   QStringLiteral("PRAGMA application_id = %1").arg(HistorySchema::kApplicationId),
                   QStringLiteral("PRAGMA user_version = %1").arg(newer)}));
        const QString folder = QFileInfo(path).absolutePath();
        const QStringList filesBefore = filesIn(folder);
        const QByteArray before = fileBytes(path);

        HistoryStore store(path, options());
        QSignalSpy status(&store, &HistoryStore::statusMessageChanged);
        QCOMPARE(store.record(localRecord(QStringLiteral("RAG"))).error(),
                 HistoryError::NewerSchema);
        QCOMPARE(store.list({}).error(), HistoryError::NewerSchema);
        QCOMPARE(store.star(QStringLiteral("RAG")).error(), HistoryError::NewerSchema);
        QCOMPARE(store.clear().error(), HistoryError::NewerSchema);
        QVERIFY(!store.isStarred(QStringLiteral("RAG")));
        QCOMPARE(store.statusMessage(), historyErrorMessage(HistoryError::NewerSchema));
        QCOMPARE(status.count(), 1);
        QVERIFY(!store.isOpen());

        QCOMPARE(fileBytes(path), before);
        QCOMPARE(filesIn(folder), filesBefore);
    }

    // A newer program that is still running keeps its changes in the log,
    // where the file's header does not show them yet.
    void aNewerLayoutStillInTheLogIsLeftUntouched_data()
    {
        QTest::addColumn<bool>("markedInHeader");
        QTest::addRow("a new file") << false;
        QTest::addRow("a file of our layout, changed since") << true;
    }

    void aNewerLayoutStillInTheLogIsLeftUntouched()
    {
        QFETCH(bool, markedInHeader);
        const QString path = freshPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        if (markedInHeader) {
            HistoryStore ours(path, options());
            QVERIFY(ours.record(localRecord(QStringLiteral("RAG"))));
        }
        {
            QSqlDatabase newer =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
            newer.setDatabaseName(path);
            QVERIFY(newer.open());
            QSqlQuery query(newer);
            for (const QString &statement :
                 {QStringLiteral("PRAGMA journal_mode = WAL"),
                  QStringLiteral("PRAGMA wal_autocheckpoint = 0"),
                  QStringLiteral("CREATE TABLE future (x)"),
                  QStringLiteral("PRAGMA application_id = %1").arg(HistorySchema::kApplicationId),
                  QStringLiteral("PRAGMA user_version = %1")
                      .arg(HistorySchema::currentVersion() + 1)})
                QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
            const QByteArray file = fileBytes(path);
            const QByteArray log = fileBytes(path + QStringLiteral("-wal"));

            HistoryStore store(path, options());
            QCOMPARE(store.record(localRecord(QStringLiteral("Token"))).error(),
                     HistoryError::NewerSchema);
            QCOMPARE(store.statusMessage(), historyErrorMessage(HistoryError::NewerSchema));
            QCOMPARE(fileBytes(path), file);
            QCOMPARE(fileBytes(path + QStringLiteral("-wal")), log);
            query.finish();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    }

    // Checkpoints run beside the recordings: after one, the next recording
    // starts the log over instead of adding to it.
    void theLogStartsOverAfterACheckpoint()
    {
        const QString path = freshPath();
        HistoryStore store(path, options(5000));
        // The log's header counts how often it started over (bytes 12 to 15).
        auto startsOfTheLog = [&] {
            const QByteArray header = fileBytes(path + QStringLiteral("-wal")).left(32);
            return header.size() < 32 ? -1 : qFromBigEndian<qint32>(header.constData() + 12);
        };
        QVERIFY(store.record(localRecord(QStringLiteral("第一条"))));
        const qint32 before = startsOfTheLog();
        QVERIFY(before >= 0);
        for (int i = 0; i < 300; ++i)
            QVERIFY(store.record(localRecord(QStringLiteral("词条%1").arg(i))));
        // Lookups come a moment apart: one of the next few starts the log over.
        bool startedOver = false;
        for (int i = 0; i < 20 && !startedOver; ++i) {
            QTest::qWait(500);
            QVERIFY(store.record(localRecord(QStringLiteral("再一条"))));
            startedOver = startsOfTheLog() > before;
        }
        QVERIFY(startedOver);
        QCOMPARE(store.count({}).value(), 302);
    }

    void twoStoresOnOneFileSeeEachOther()
    {
        const QString path = freshPath();
        HistoryStore app(path, options());
        HistoryStore terminal(path, options());
        QVERIFY(app.record(localRecord(QStringLiteral("RAG"))));
        QVERIFY(terminal.star(QStringLiteral("RAG")));
        QVERIFY(terminal.record(localRecord(QStringLiteral("Token"))));
        QVERIFY(app.isStarred(QStringLiteral("RAG")));
        QCOMPARE(app.count({}).value(), 2);
    }
};

QTEST_GUILESS_MAIN(HistoryStoreTest)
#include "tst_historystore.moc"
