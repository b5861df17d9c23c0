#include "history/historyexport.h"
#include "history/historystore.h"
#include "historytesting.h"
#include "packs/customglossarystore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

// A reader of RFC 4180 as spreadsheet programs read it: quoted fields may hold
// commas, doubled quotes and line breaks; records end with CRLF.
QList<QStringList> readCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else if (c == u',') {
            record.append(std::exchange(field, {}));
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            record.append(std::exchange(field, {}));
            records.append(std::exchange(record, {}));
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

} // namespace

class HistoryExportTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    SteppingClock m_clock;
    std::unique_ptr<HistoryStore> m_store;
    int m_next = 0;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void init()
    {
        m_clock = SteppingClock();
        m_store =
            std::make_unique<HistoryStore>(path(QStringLiteral("h%1.sqlite3").arg(++m_next)),
                                           HistoryStore::Options{true, 1000, m_clock.function()});
    }

    void aPackExportImportsBackAndAnswersAsThePacksOwn()
    {
        // Starred answers that the pack grammar would misread if written as they are.
        const QList<std::pair<QString, QString>> starred{
            {QStringLiteral("RAG"), QStringLiteral("先查资料再回答。\n3.5 倍于直接回答的准确度")},
            {QStringLiteral("C**"), QStringLiteral("一种写法：\n别名：不是别名")},
            {QStringLiteral("3.5 Sonnet"), QStringLiteral("一个模型的名字。")},
        };
        for (const auto &[term, answer] : starred) {
            QVERIFY(m_store->record(localRecord(term, answer)));
            QVERIFY(m_store->star(term));
        }
        QVERIFY(
            m_store->record(localRecord(QStringLiteral("Token"), QStringLiteral("计费单位。"))));

        const QString file = path(QStringLiteral("收藏.md"));
        const auto exported =
            HistoryExport::exportToFile(*m_store, HistoryExport::Format::Pack, true, file);
        QVERIFY(exported);
        QCOMPARE(exported->entryCount, 3);
        QCOMPARE(exported->skippedCount, 0);
        QVERIFY(!exported->tooLargeToImport);
        QCOMPARE(exported->message(file),
                 QStringLiteral("已导出 3 条到 ") + QDir::toNativeSeparators(file) + u'。');

        CustomGlossaryStore library(path(QStringLiteral("MyGlossary%1.json").arg(m_next)));
        const auto imported = library.importFile(file);
        QVERIFY2(imported, imported ? "" : qPrintable(imported.error().message()));
        QCOMPARE(imported->pack.industry, QStringLiteral("我的收藏"));
        QCOMPARE(imported->pack.entryCount(), 3);
        QCOMPARE(imported->ignoredEntryCount, 0);

        const auto rag = library.match(QStringLiteral("什么是 RAG"));
        QVERIFY(rag);
        QCOMPARE(rag->explanation, QStringLiteral("先查资料再回答。 3.5 倍于直接回答的准确度"));
        const auto stars = library.match(QStringLiteral("C**"));
        QVERIFY(stars);
        QCOMPARE(stars->explanation, QStringLiteral("一种写法： 别名：不是别名"));
        QCOMPARE(library.match(QStringLiteral("3.5 Sonnet"))->term, QStringLiteral("3.5 Sonnet"));
        QVERIFY(!library.match(QStringLiteral("Token")));

        // Exported again later, the pack replaces its older version.
        QVERIFY(
            m_store->record(localRecord(QStringLiteral("Token"), QStringLiteral("计费单位。"))));
        QVERIFY(m_store->star(QStringLiteral("Token")));
        QVERIFY(HistoryExport::exportToFile(*m_store, HistoryExport::Format::Pack, true, file));
        const auto again = library.importFile(file);
        QVERIFY(again);
        QVERIFY(again->replacedExistingPack);
        QCOMPARE(library.packs().size(), 1);
        QCOMPARE(library.match(QStringLiteral("Token"))->explanation, QStringLiteral("计费单位。"));

        // All entries go into a pack of their own.
        const QString all = path(QStringLiteral("全部.txt"));
        QVERIFY(HistoryExport::exportToFile(*m_store, HistoryExport::Format::Pack, false, all));
        const auto allImported = library.importFile(all);
        QVERIFY(allImported);
        QCOMPARE(allImported->pack.industry, QStringLiteral("查询历史"));
        QCOMPARE(library.packs().size(), 2);
    }

    void tabSeparatedTextIsReadyForAnki()
    {
        HistoryRecord tricky =
            localRecord(QStringLiteral("\"引号\"开头"), QStringLiteral("第一行\n第二行\t带制表符"));
        tricky.context = QStringLiteral("段落\r\n里有换行");
        QVERIFY(m_store->record(tricky));
        QVERIFY(
            m_store->record(localRecord(QStringLiteral("#话题"), QStringLiteral("井号开头。"))));
        HistoryRecord online{QStringLiteral("RAG"),
                             QStringLiteral("rag"),
                             QStringLiteral("先检索，再生成。"),
                             ExplanationOrigin::DeepSeek,
                             AnswerSource::online(QStringLiteral("https://api.example.com/v1"),
                                                  QStringLiteral("chat-model"),
                                                  QStringLiteral("白话 · 标准")),
                             {}};
        QVERIFY(m_store->record(online));
        QVERIFY(m_store->star(QStringLiteral("RAG")));

        HistoryQuery all;
        all.limit = 0;
        const QString text = QString::fromUtf8(HistoryExport::toTsv(m_store->list(all)->entries));
        QVERIFY(text.endsWith(u'\n'));
        const QStringList lines = text.chopped(1).split(u'\n');
        QCOMPARE(lines.mid(0, 4),
                 (QStringList{QStringLiteral("#separator:tab"), QStringLiteral("#html:false"),
                              QStringLiteral("#columns:术语\t解释\t上下文\t来源\t标签"),
                              QStringLiteral("#tags column:5")}));
        QCOMPARE(lines.size(), 7);
        for (const QString &line : lines.mid(4))
            QCOMPARE(line.count(u'\t'), 4);
        QCOMPARE(lines[4], QStringLiteral("RAG\t先检索，再生成。\t\t"
                                          "api.example.com · chat-model · 白话 · 标准\t"
                                          "Wordlumen 在线解释 收藏"));
        QCOMPARE(lines[5], QStringLiteral("\"#话题\"\t井号开头。\t\t本地词典\tWordlumen 本地词典"));
        QCOMPARE(lines[6], QStringLiteral("\"\"\"引号\"\"开头\"\t第一行 第二行 带制表符\t"
                                          "段落 里有换行\t本地词典\tWordlumen 本地词典"));
    }

    void csvFollowsRfc4180()
    {
        HistoryRecord tricky =
            localRecord(QStringLiteral("A, B"), QStringLiteral("他说：\"先查资料\"，\n再回答。"));
        tricky.query = QStringLiteral("=HYPERLINK(\"http://example.com\")");
        tricky.context = QStringLiteral("-1 是个数");
        QVERIFY(m_store->record(tricky));
        QVERIFY(m_store->record(localRecord(QStringLiteral("Token"))));
        QVERIFY(m_store->record(localRecord(QStringLiteral("Token"))));
        QVERIFY(m_store->star(QStringLiteral("Token")));

        HistoryQuery all;
        all.limit = 0;
        const QList<HistoryEntry> entries = m_store->list(all)->entries;
        const QByteArray bytes = HistoryExport::toCsv(entries);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QStringList> records = readCsv(QString::fromUtf8(bytes.mid(3)));
        QCOMPARE(records.size(), 3);
        QCOMPARE(records[0], (QStringList{QStringLiteral("术语"), QStringLiteral("查询原文"),
                                          QStringLiteral("解释"), QStringLiteral("来源类型"),
                                          QStringLiteral("来源"), QStringLiteral("上下文"),
                                          QStringLiteral("查询次数"), QStringLiteral("首次查询"),
                                          QStringLiteral("最近查询"), QStringLiteral("收藏")}));
        QCOMPARE(records[1].mid(0, 3),
                 (QStringList{QStringLiteral("Token"), QStringLiteral("Token"),
                              QStringLiteral("Token的白话解释。")}));
        QCOMPARE(records[1].mid(6, 1), QStringList{QStringLiteral("2")});
        QCOMPARE(records[1].last(), QStringLiteral("是"));
        QCOMPARE(records[1][7], entries[0].firstSeen.toString(Qt::ISODate));
        QVERIFY(records[1][7].endsWith(u'Z'));
        QCOMPARE(records[2].mid(0, 6),
                 (QStringList{
                     QStringLiteral("A, B"), QStringLiteral("'=HYPERLINK(\"http://example.com\")"),
                     QStringLiteral("他说：\"先查资料\"，\n再回答。"), QStringLiteral("本地词典"),
                     QStringLiteral("本地词典"), QStringLiteral("'-1 是个数")}));
        QCOMPARE(records[2].last(), QStringLiteral("否"));
    }

    void formatsByName()
    {
        for (const auto format :
             {HistoryExport::Format::Pack, HistoryExport::Format::Tsv, HistoryExport::Format::Csv})
            QVERIFY(HistoryExport::formatFromString(HistoryExport::toString(format)) == format);
        QVERIFY(!HistoryExport::formatFromString(u"xlsx"));
        QVERIFY(!HistoryExport::formatFromString(u"CSV"));
    }

    void anEmptyPackIsNotWritten()
    {
        QVERIFY(m_store->record(localRecord(QStringLiteral("RAG"))));
        const QString file = path(QStringLiteral("空的收藏.md"));
        QCOMPARE(
            HistoryExport::exportToFile(*m_store, HistoryExport::Format::Pack, true, file).error(),
            HistoryError::NothingToExport);
        QVERIFY(!QFile::exists(file));
        // Empty tables are still tables.
        QVERIFY(HistoryExport::exportToFile(*m_store, HistoryExport::Format::Csv, true,
                                            path(QStringLiteral("空的.csv"))));
    }

    void anUnwritablePlaceFails()
    {
        QVERIFY(m_store->record(localRecord(QStringLiteral("RAG"))));
        QFile blocker(path(QStringLiteral("a-file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const auto exported =
            HistoryExport::exportToFile(*m_store, HistoryExport::Format::Csv, false,
                                        blocker.fileName() + QStringLiteral("/x.csv"));
        QCOMPARE(exported.error(), HistoryError::ExportFailed);
    }
};

QTEST_GUILESS_MAIN(HistoryExportTest)
#include "tst_historyexport.moc"
