#include "history/historylistmodel.h"
#include "history/historyschema.h"
#include "history/historystore.h"
#include "history/historytimetext.h"
#include "historytesting.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;

class HistoryModelTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    SteppingClock m_clock;
    std::unique_ptr<HistoryStore> m_store;
    int m_next = 0;

    // 120 entries 「词条0」…「词条119」, newest last; every tenth one starred.
    void fill(int count = 120)
    {
        for (int i = 0; i < count; ++i) {
            const QString term = QStringLiteral("词条%1").arg(i);
            QVERIFY(m_store->record(localRecord(term, QStringLiteral("第 %1 条的解释。").arg(i))));
            if (i % 10 == 0)
                QVERIFY(m_store->star(term));
        }
    }

    static QStringList terms(const HistoryListModel &model)
    {
        QStringList result;
        for (int row = 0; row < model.rowCount(); ++row)
            result.append(model.index(row).data(HistoryListModel::TermRole).toString());
        return result;
    }

private slots:
    void init()
    {
        m_clock = SteppingClock();
        m_store = std::make_unique<HistoryStore>(
            m_dir.filePath(QStringLiteral("h%1.sqlite3").arg(++m_next)),
            HistoryStore::Options{true, 1000, m_clock.function()});
    }

    void readsPagesOnlyWhenAskedFor()
    {
        fill();
        HistoryStore lazy(m_store->filePath());
        HistoryListModel model(&lazy);
        // Creating the model reads nothing; the view's first fetch reads one page.
        QVERIFY(!lazy.isOpen());
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(model.canFetchMore({}));

        model.fetchMore({});
        QCOMPARE(model.rowCount(), HistoryListModel::kPageSize);
        QCOMPARE(model.index(0).data(HistoryListModel::TermRole).toString(),
                 QStringLiteral("词条119"));
        // The tester fetches on its own, and again from within every insertion.
        QAbstractItemModelTester tester(&model);
        while (model.canFetchMore({}))
            model.fetchMore({});
        QCOMPARE(model.rowCount(), 120);
        QVERIFY(!model.canFetchMore({}));
        const QStringList listed = terms(model);
        QCOMPARE(listed.last(), QStringLiteral("词条0"));
        QCOMPARE(QSet<QString>(listed.cbegin(), listed.cend()).size(), 120);
    }

    void rolesCarryTheEntry()
    {
        HistoryRecord online{QStringLiteral("RAG"),
                             QStringLiteral("什么是RAG"),
                             QStringLiteral("先检索，再生成。"),
                             ExplanationOrigin::DeepSeek,
                             AnswerSource::online(QStringLiteral("https://api.example.com/v1"),
                                                  QStringLiteral("chat-model"),
                                                  QStringLiteral("白话 · 标准")),
                             QStringLiteral("方案里提到 RAG。")};
        QVERIFY(m_store->record(online));
        QVERIFY(m_store->record(online));
        QVERIFY(m_store->star(QStringLiteral("RAG")));

        HistoryListModel model(m_store.get(), [] { return kHistoryStart.addSecs(3600); });
        model.refresh();
        QCOMPARE(model.rowCount(), 1);
        const QModelIndex row = model.index(0);
        const QHash<int, QByteArray> names = model.roleNames();
        auto role = [&](const char *name) {
            return row.data(names.key(name));
        };
        QCOMPARE(role("term").toString(), QStringLiteral("RAG"));
        QCOMPARE(role("query").toString(), QStringLiteral("什么是RAG"));
        QCOMPARE(role("answer").toString(), QStringLiteral("先检索，再生成。"));
        QCOMPARE(role("origin").toString(), QStringLiteral("deepSeek"));
        QCOMPARE(role("source").toString(),
                 QStringLiteral("api.example.com · chat-model · 白话 · 标准"));
        QCOMPARE(role("context").toString(), QStringLiteral("方案里提到 RAG。"));
        QCOMPARE(role("lookupCount").toInt(), 2);
        QCOMPARE(role("lastSeen").toDateTime().timeSpec(), Qt::UTC);
        QVERIFY(role("lastSeenText").toString().startsWith(QStringLiteral("今天 ")));
        QCOMPARE(role("starred").toBool(), true);
        // The row's second line and what a screen reader says for the row.
        const QString when = role("lastSeenText").toString();
        QCOMPARE(role("detail").toString(),
                 when +
                     QStringLiteral(" · api.example.com · chat-model · 白话 · 标准 · 查过 2 次"));
        QCOMPARE(role("accessibleName").toString(), QStringLiteral("RAG，先检索，再生成。，") +
                                                        role("detail").toString() +
                                                        QStringLiteral("，已收藏"));
    }

    void searchAndStarredFilterNarrowTheList()
    {
        fill();
        HistoryListModel model(m_store.get());
        QAbstractItemModelTester tester(&model);
        model.setStarredOnly(true);
        QCOMPARE(model.rowCount(), 12);
        QVERIFY(!model.canFetchMore({}));

        model.setStarredOnly(false);
        model.setSearchText(QStringLiteral("第 11"));
        QCOMPARE(terms(model), (QStringList{QStringLiteral("词条119"), QStringLiteral("词条118"),
                                            QStringLiteral("词条117"), QStringLiteral("词条116"),
                                            QStringLiteral("词条115"), QStringLiteral("词条114"),
                                            QStringLiteral("词条113"), QStringLiteral("词条112"),
                                            QStringLiteral("词条111"), QStringLiteral("词条110"),
                                            QStringLiteral("词条11")}));
        model.setStarredOnly(true);
        QCOMPARE(terms(model), QStringList{QStringLiteral("词条110")});
    }

    void changesApplyInPlace()
    {
        fill(5);
        HistoryListModel model(m_store.get());
        QAbstractItemModelTester tester(&model);
        model.refresh();
        QCOMPARE(terms(model), (QStringList{QStringLiteral("词条4"), QStringLiteral("词条3"),
                                            QStringLiteral("词条2"), QStringLiteral("词条1"),
                                            QStringLiteral("词条0")}));

        QSignalSpy dataChanged(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QVERIFY(model.star(1));
        QCOMPARE(dataChanged.count(), 1);
        QVERIFY(model.index(1).data(HistoryListModel::StarredRole).toBool());
        QVERIFY(m_store->isStarred(QStringLiteral("词条3")));

        QVERIFY(model.remove(0));
        QCOMPARE(terms(model).first(), QStringLiteral("词条3"));
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(m_store->count({}).value(), 4);

        // Unstarred while only starred entries show, an entry leaves the list.
        model.setStarredOnly(true);
        QCOMPARE(terms(model), (QStringList{QStringLiteral("词条3"), QStringLiteral("词条0")}));
        QVERIFY(model.unstar(0));
        QCOMPARE(terms(model), QStringList{QStringLiteral("词条0")});
        QVERIFY(!m_store->isStarred(QStringLiteral("词条3")));

        // The model's own changes are not read back from the store.
        QTest::qWait(10);
        QCOMPARE(reset.count(), 1);

        QVERIFY(model.clear());
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(m_store->count({}).value(), 0);
        QVERIFY(!model.canFetchMore({}));
        QVERIFY(!model.remove(0));
    }

    void followsAnswersRecordedElsewhereInTheProgram()
    {
        fill(3);
        HistoryListModel model(m_store.get());
        model.refresh();
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QVERIFY(m_store->record(localRecord(QStringLiteral("新词"))));
        QVERIFY(m_store->record(localRecord(QStringLiteral("又一个新词"))));
        QVERIFY(reset.wait(1000));
        QCOMPARE(reset.count(), 1); // a burst is read once
        QCOMPARE(terms(model).mid(0, 2),
                 (QStringList{QStringLiteral("又一个新词"), QStringLiteral("新词")}));
    }

    void saysWhyTheHistoryCannotBeRead()
    {
        // The header of a database that a newer program wrote: the store reads
        // no further and leaves it alone.
        QByteArray header(100, '\0');
        header.replace(0, 16, QByteArray("SQLite format 3\0", 16));
        qToBigEndian<qint32>(HistorySchema::currentVersion() + 1, header.data() + 60);
        qToBigEndian<qint32>(HistorySchema::kApplicationId, header.data() + 68);
        QFile file(m_dir.filePath(QStringLiteral("newer.sqlite3")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(header);
        file.close();

        HistoryStore store(file.fileName());
        HistoryListModel model(&store);
        QAbstractItemModelTester tester(&model);
        model.refresh();
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.canFetchMore({}));
        QCOMPARE(model.errorMessage(), historyErrorMessage(HistoryError::NewerSchema));
        QVERIFY(!model.clear());
    }

    void lastSeenText_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("text");
        const QDateTime now(QDate(2026, 12, 8), QTime(14, 30));
        QTest::addRow("today") << QDateTime(QDate(2026, 12, 8), QTime(14, 5))
                               << QStringLiteral("今天 14:05");
        QTest::addRow("just after midnight")
            << QDateTime(QDate(2026, 12, 8), QTime(0, 1)) << QStringLiteral("今天 00:01");
        QTest::addRow("yesterday")
            << QDateTime(QDate(2026, 12, 7), QTime(23, 59)) << QStringLiteral("昨天 23:59");
        QTest::addRow("this year")
            << QDateTime(QDate(2026, 12, 3), QTime(9, 0)) << QStringLiteral("12月3日");
        QTest::addRow("new year's day")
            << QDateTime(QDate(2026, 1, 1), QTime(9, 0)) << QStringLiteral("1月1日");
        QTest::addRow("last year")
            << QDateTime(QDate(2025, 12, 31), QTime(9, 0)) << QStringLiteral("2025年12月31日");
        QTest::addRow("after now, from a clock set back")
            << QDateTime(QDate(2026, 12, 20), QTime(9, 0)) << QStringLiteral("2026年12月20日");
        QTest::addRow("given in UTC, shown in local time")
            << QDateTime(QDate(2026, 12, 8), QTime(14, 5)).toUTC() << QStringLiteral("今天 14:05");
    }

    void lastSeenText()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, text);
        const QDateTime now(QDate(2026, 12, 8), QTime(14, 30));
        QCOMPARE(HistoryTimeText::lastSeenText(when, now), text);
    }
};

QTEST_GUILESS_MAIN(HistoryModelTest)
#include "tst_historymodel.moc"
