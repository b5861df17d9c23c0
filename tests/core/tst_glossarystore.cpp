#include "core/glossarystore.h"
#include "core/reverselookupmatch.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;

namespace {

// Builds dictionary text with `count` entries numbered from 1.
QString numberedEntries(int count, int firstNumber = 1)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        const int number = firstNumber + i;
        text += QStringLiteral("%1. **词条%1（Term %1）**\n白话：第 %1 条的解释。\n\n").arg(number);
    }
    return text;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class GlossaryStoreTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    Result<GlossaryStore, GlossaryError> loadWith(const QByteArray &markdown,
                                                  const QByteArray &aliases)
    {
        writeFile(m_dir.filePath(QStringLiteral("Glossary.md")), markdown);
        writeFile(m_dir.filePath(QStringLiteral("Aliases.json")), aliases);
        return GlossaryStore::loadFromDirectory(m_dir.path());
    }

private slots:
    void init()
    {
        QFile::remove(m_dir.filePath(QStringLiteral("Glossary.md")));
        QFile::remove(m_dir.filePath(QStringLiteral("Aliases.json")));
    }

    void loadsTwoHundredEntriesSortedByNumber()
    {
        // Written out of order; two sections with headings between them.
        QString text = QStringLiteral("# 内置词典\n\n介绍文字 1. 不算\n\n## 基础概念（1–100）\n\n");
        text += numberedEntries(100, 101);
        text += QStringLiteral("## 进阶概念（101–200）\n\n");
        text += numberedEntries(100, 1);
        const auto store = loadWith(text.toUtf8(), R"({"7": ["seven", "第七"], "999": ["ghost"]})");
        QVERIFY2(store, qPrintable(store ? QString() : store.error().message()));
        QCOMPARE(store->entries().size(), 200);
        QCOMPARE(store->entries().first().number, 1);
        QCOMPARE(store->entries().last().number, 200);
        // The heading that followed entry 200 is not part of its explanation.
        QCOMPARE(store->entries()[199].explanation, QStringLiteral("第 200 条的解释。"));
        QVERIFY(store->entries()[6].aliases.contains(QStringLiteral("第七")));
        QCOMPARE(store->match(QStringLiteral("seven"))->number, 7);
        QVERIFY(!store->match(QStringLiteral("ghost")));
        QCOMPARE(store->catalogItems().size(), 200);
        QCOMPARE(store->catalogItems()[6].term, QStringLiteral("词条7（Term 7）"));
    }

    void errorsCarryTheirExactMessages_data()
    {
        QTest::addColumn<QByteArray>("markdown");
        QTest::addColumn<QByteArray>("aliases");
        QTest::addColumn<QString>("message");
        QTest::addRow("199 entries") << numberedEntries(199).toUtf8() << QByteArray("{}")
                                     << QStringLiteral("本地词典只读到了 199 条，预期为 200 条。");
        QTest::addRow("201 entries") << numberedEntries(201).toUtf8() << QByteArray("{}")
                                     << QStringLiteral("本地词典只读到了 201 条，预期为 200 条。");
        QTest::addRow("number too large is skipped")
            << (numberedEntries(199) +
                QStringLiteral("99999999999999999999. **巨大**\n白话：太大。\n"))
                   .toUtf8()
            << QByteArray("{}") << QStringLiteral("本地词典只读到了 199 条，预期为 200 条。");
        QTest::addRow("not UTF-8")
            << (numberedEntries(200).toUtf8() + QByteArray("\xff\xfe")) << QByteArray("{}")
            << QStringLiteral("本地词典不是有效的 UTF-8 文本。");
        QTest::addRow("alias table is an array")
            << numberedEntries(200).toUtf8() << QByteArray("[]")
            << QStringLiteral("中英文别名表格式有误。");
        QTest::addRow("alias value is a number")
            << numberedEntries(200).toUtf8() << QByteArray(R"({"1": 5})")
            << QStringLiteral("中英文别名表格式有误。");
        QTest::addRow("alias array holds a number")
            << numberedEntries(200).toUtf8() << QByteArray(R"({"1": ["a", 2]})")
            << QStringLiteral("中英文别名表格式有误。");
    }
    void errorsCarryTheirExactMessages()
    {
        QFETCH(QByteArray, markdown);
        QFETCH(QByteArray, aliases);
        QFETCH(QString, message);
        const auto store = loadWith(markdown, aliases);
        QVERIFY(!store);
        QCOMPARE(store.error().message(), message);
    }

    void jsonSyntaxErrorPassesTheParserMessageOn()
    {
        const auto store = loadWith(numberedEntries(200).toUtf8(), "{\"1\": [");
        QVERIFY(!store);
        QCOMPARE(store.error().kind(), GlossaryError::Kind::InvalidJson);
        QVERIFY(!store.error().message().isEmpty());
    }

    void missingResourcesAreNamed()
    {
        writeFile(m_dir.filePath(QStringLiteral("Glossary.md")), numberedEntries(200).toUtf8());
        auto store = GlossaryStore::loadFromDirectory(m_dir.path());
        QVERIFY(!store);
        QCOMPARE(store.error().message(), QStringLiteral("找不到本地词典资源：Aliases.json"));

        QFile::remove(m_dir.filePath(QStringLiteral("Glossary.md")));
        writeFile(m_dir.filePath(QStringLiteral("Aliases.json")), "{}");
        store = GlossaryStore::loadFromDirectory(m_dir.path());
        QCOMPARE(store.error().message(), QStringLiteral("找不到本地词典资源：Glossary.md"));
    }

    void aliasesDeriveFromTheTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("names");
        QTest::addRow("full-width parentheses")
            << QStringLiteral("提示词（prompt）")
            << QStringList{QStringLiteral("提示词（prompt）"), QStringLiteral("提示词"),
                           QStringLiteral("prompt")};
        QTest::addRow("pieces keep their spaces")
            << QStringLiteral("检索增强生成（RAG / Retrieval）")
            << QStringList{QStringLiteral("检索增强生成（RAG / Retrieval）"),
                           QStringLiteral("检索增强生成"), QStringLiteral("RAG "),
                           QStringLiteral(" Retrieval")};
        QTest::addRow("ASCII parentheses")
            << QStringLiteral("Token (词元)")
            << QStringList{QStringLiteral("Token (词元)"), QStringLiteral("Token"),
                           QStringLiteral("词元")};
        QTest::addRow("no parentheses")
            << QStringLiteral("赋能")
            << QStringList{QStringLiteral("赋能"), QStringLiteral("赋能")};
        QTest::addRow("two groups")
            << QStringLiteral("微调（Fine-tuning）（FT）")
            << QStringList{QStringLiteral("微调（Fine-tuning）（FT）"), QStringLiteral("微调"),
                           QStringLiteral("Fine-tuning"), QStringLiteral("FT")};
    }
    void aliasesDeriveFromTheTitle()
    {
        QFETCH(QString, title);
        QFETCH(QStringList, names);
        QCOMPARE(GlossaryStore::namesDerivedFromTitle(title), names);
    }

    void boldTitleKeepsItsAliasesDistinct()
    {
        QString text = QStringLiteral("1. **提示词（prompt）**\n白话：给 AI 的指令。\n\n") +
                       numberedEntries(199, 2);
        const auto store = loadWith(text.toUtf8(), R"({"1": ["prompt", "Prompt 工程"]})");
        QVERIFY(store);
        QCOMPARE(store->entries().first().aliases,
                 (QStringList{QStringLiteral("提示词（prompt）"), QStringLiteral("提示词"),
                              QStringLiteral("prompt"), QStringLiteral("Prompt 工程")}));
    }

    void sectionHeadingsAreCleanedFromExplanations_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("cleaned");
        QTest::addRow("en dash") << QStringLiteral("解释。\n\n## 进阶概念（21–40）\n")
                                 << QStringLiteral("解释。");
        QTest::addRow("em dash") << QStringLiteral("解释。\n## 进阶（21—40）")
                                 << QStringLiteral("解释。");
        QTest::addRow("hyphen") << QStringLiteral("解释。\n## 进阶（21-40）  ")
                                << QStringLiteral("解释。");
        QTest::addRow("no range stays")
            << QStringLiteral("解释。\n## 进阶概念") << QStringLiteral("解释。\n## 进阶概念");
        QTest::addRow("ASCII parentheses stay")
            << QStringLiteral("解释。\n## 进阶(21–40)") << QStringLiteral("解释。\n## 进阶(21–40)");
        QTest::addRow("inner line breaks stay")
            << QStringLiteral("  第一行\n第二行  ") << QStringLiteral("第一行\n第二行");
    }
    void sectionHeadingsAreCleanedFromExplanations()
    {
        QFETCH(QString, raw);
        QFETCH(QString, cleaned);
        QCOMPARE(GlossaryStore::cleanedExplanation(raw), cleaned);
    }

    // The entry expression is written so that a long white-space run costs
    // one scan; it must still find exactly what the expression as first
    // written finds, wherever white space of any kind stands.
    void entriesAreWhatTheLiteralExpressionFinds_data()
    {
        QTest::addColumn<QString>("between");
        QTest::addColumn<int>("every"); // after every n-th entry
        QTest::addRow("blank lines") << QStringLiteral("\n\n") << 1;
        QTest::addRow("spaces, tabs and an ideographic space")
            << QStringLiteral("  \t\u3000 ") << 1;
        QTest::addRow("white space inside the explanation")
            << QStringLiteral("   中间   12 还有\n\n 3. 不是标题 \n") << 1;
        QTest::addRow("a heading between entries")
            << QStringLiteral("\n\n## 进阶（2–3）\n\n") << 20;
        QTest::addRow("a number without a bold title") << QStringLiteral("\n7.  下一行\n\n") << 3;
        QTest::addRow("line break before the end") << QStringLiteral("\n") << 1;
        QTest::addRow("long runs before a word")
            << QString(2000, u' ') + QStringLiteral("续") + QString(2000, u'\n') << 40;
    }
    void entriesAreWhatTheLiteralExpressionFinds()
    {
        QFETCH(QString, between);
        QFETCH(int, every);
        QString text;
        for (int i = 1; i <= 200; ++i) {
            text += QStringLiteral("%1. **词条%1**").arg(i) +
                    (i % 3 ? QStringLiteral("\n") : QStringLiteral("  ")) +
                    QStringLiteral("白话：解释 %1").arg(i) +
                    (i % every ? QStringLiteral(" ") : between);
        }
        const QRegularExpression literal(QStringLiteral(
            "(?s)(\\d+)\\.\\s+\\*\\*(.+?)\\*\\*\\s+白话：(.*?)(?=\\s+\\d+\\.\\s+\\*\\*|$)"));
        QStringList expected;
        for (auto it = literal.globalMatch(text); it.hasNext();)
            expected.append(GlossaryStore::cleanedExplanation(it.next().captured(3)));

        const auto parsed = GlossaryStore::parse(text, {});
        QVERIFY2(parsed, qPrintable(parsed ? QString() : parsed.error().message()));
        QStringList explanations;
        for (const GlossaryEntry &entry : parsed.value())
            explanations.append(entry.explanation);
        QCOMPARE(explanations, expected);
    }

    void reverseLookupMatchDerivedValuesAndJson()
    {
        ReverseLookupMatch match{QStringLiteral("RAG"), QStringLiteral("rag"),
                                 QStringLiteral("理由"), std::nullopt};
        QCOMPARE(match.displayTerm(), QStringLiteral("RAG"));
        QCOMPARE(match.id(), QStringLiteral("RAG|rag"));
        match.english = QStringLiteral("Retrieval-Augmented Generation");
        QCOMPARE(match.displayTerm(), QStringLiteral("RAG · Retrieval-Augmented Generation"));
        match.english = QString();
        QCOMPARE(match.displayTerm(), QStringLiteral("RAG"));
        match.english = std::nullopt;
        QCOMPARE(match.displayTerm(), QStringLiteral("RAG"));
        QCOMPARE(match.id(), QStringLiteral("RAG|"));

        // Absent optionals are left out, not written as null.
        QCOMPARE(QJsonDocument(match.toJson()).toJson(QJsonDocument::Compact),
                 QByteArray(R"({"reason":"理由","term":"RAG"})"));
        const auto decoded = ReverseLookupMatch::fromJson(
            QJsonDocument::fromJson(
                R"({"term":"上下文","english":null,"reason":"r","confidence":"high"})")
                .object());
        QVERIFY(decoded);
        QCOMPARE(decoded->english, std::nullopt);
        QCOMPARE(decoded->confidence, QStringLiteral("high"));
        QVERIFY(!ReverseLookupMatch::fromJson(QJsonDocument::fromJson(R"({"term":"x"})").object()));
    }
};

QTEST_GUILESS_MAIN(GlossaryStoreTest)
#include "tst_glossarystore.moc"
