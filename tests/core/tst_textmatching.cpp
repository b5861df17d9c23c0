#include "core/glossarystore.h"
#include "core/glossarytextmatcher.h"
#include "core/queryintentdetector.h"
#include "core/termkey.h"
#include "tests/support/literalrules.h"

#include <QRandomGenerator>
#include <QTest>

using namespace wordlumen;
using wordlumen::testing::literalMatch;

namespace {

GlossaryEntry entry(qint64 number, const QString &term, const QStringList &aliases)
{
    QStringList all = GlossaryStore::namesDerivedFromTitle(term);
    all.append(aliases);
    return {number, term, QStringLiteral("解释 %1").arg(number), all};
}

} // namespace

class TextMatchingTest : public QObject
{
    Q_OBJECT

private slots:
    void termKeyFoldsAndSeparates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addRow("question with spaces")
            << QStringLiteral("  什么是 RAG？") << QStringLiteral("什么是 rag");
        QTest::addRow("glued") << QStringLiteral("什么是rag") << QStringLiteral("什么是rag");
        QTest::addRow("hyphen stays") << QStringLiteral("GPT-4o") << QStringLiteral("gpt-4o");
        QTest::addRow("full-width letters") << QStringLiteral("ＲＡＧ") << QStringLiteral("rag");
        QTest::addRow("full-width digits and sign")
            << QStringLiteral("ＧＰＴ－４") << QStringLiteral("gpt-4");
        QTest::addRow("accent") << QStringLiteral("Café") << QStringLiteral("cafe");
        QTest::addRow("combining accent") << QStringLiteral("Cafe\u0301") << QStringLiteral("cafe");
        QTest::addRow("sharp s folds fully")
            << QStringLiteral("Straße") << QStringLiteral("strasse");
        QTest::addRow("capital sharp s folds fully")
            << QStringLiteral("STRA\u1E9EE") << QStringLiteral("strasse");
        QTest::addRow("ligature") << QStringLiteral("\uFB01ne-tune") << QStringLiteral("fine-tune");
        QTest::addRow("greek final sigma") << QStringLiteral("ΛΌΓΟΣ") << QStringLiteral("λογοσ");
        QTest::addRow("half-width kana") << QStringLiteral("ｶﾞｲﾄﾞ") << QStringLiteral("カイト");
        QTest::addRow("punctuation of both widths")
            << QStringLiteral("A/B，C。D!") << QStringLiteral("a b c d");
        QTest::addRow("underscore is a separator")
            << QStringLiteral("snake_case") << QStringLiteral("snake case");
        QTest::addRow("emoji") << QStringLiteral("RAG 🚀👍🏽 检索")
                               << QStringLiteral("rag 检索");
        QTest::addRow("only punctuation") << QStringLiteral("？？ ") << QString();
        QTest::addRow("line breaks and tabs") << QStringLiteral("\tLarge\n\nLanguage  Model\r\n")
                                              << QStringLiteral("large language model");
        QTest::addRow("ideographic space")
            << QStringLiteral("上下文\u3000窗口") << QStringLiteral("上下文 窗口");
        QTest::addRow("full-width digits in Chinese")
            << QStringLiteral("第２代") << QStringLiteral("第2代");
    }
    void termKeyFoldsAndSeparates()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QCOMPARE(termKey(text), key);
    }

    // A key must be its own key: a name stored as a key and a query typed by
    // the user are folded the same number of times. Every code point, alone and
    // between letters (where combining characters attach); a failure names
    // the first offenders.
    void termKeyIsIdempotentOverEveryCodePoint()
    {
        QStringList failures;
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const QString alone = QString::fromUcs4(&c, 1);
            for (const QString &text : {alone, u'A' + alone + u'b'}) {
                const QString key = termKey(text);
                if (termKey(key) != key && failures.size() < 20)
                    failures.append(
                        QStringLiteral("U+%1").arg(quint32(c), 4, 16, QLatin1Char('0')));
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u' ')));
    }

    void containmentRespectsLatinWordBoundaries_data()
    {
        QTest::addColumn<QString>("alias");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        QTest::addRow("alone") << QStringLiteral("rag") << QStringLiteral("rag") << true;
        QTest::addRow("after Chinese")
            << QStringLiteral("rag") << QStringLiteral("什么是rag") << true;
        QTest::addRow("before space")
            << QStringLiteral("rag") << QStringLiteral("rag 是什么") << true;
        QTest::addRow("inside a word")
            << QStringLiteral("rag") << QStringLiteral("paragraph") << false;
        QTest::addRow("plural") << QStringLiteral("rag") << QStringLiteral("rags") << false;
        QTest::addRow("digit glues") << QStringLiteral("rag") << QStringLiteral("rag2") << false;
        QTest::addRow("hyphen is a boundary")
            << QStringLiteral("rag") << QStringLiteral("rag-fusion") << true;
        QTest::addRow("letter after version")
            << QStringLiteral("gpt-4") << QStringLiteral("gpt-4o") << false;
        QTest::addRow("second occurrence counts")
            << QStringLiteral("gpt-4") << QStringLiteral("gpt-4o 和 gpt-4") << true;
        QTest::addRow("separate words")
            << QStringLiteral("gpt-4") << QStringLiteral("gpt-4 和 gpt-3") << true;
        QTest::addRow("regex metacharacters are literal")
            << QStringLiteral("c++") << QStringLiteral("学 c++ 吗") << true;
        QTest::addRow("dot is literal") << QStringLiteral("a.b") << QStringLiteral("axb") << false;
        QTest::addRow("Chinese is a plain substring")
            << QStringLiteral("上下文") << QStringLiteral("上下文窗口是什么") << true;
        QTest::addRow("mixed alias is a plain substring")
            << QStringLiteral("rag检索") << QStringLiteral("xrag检索") << true;
        QTest::addRow("query inside alias does not count")
            << QStringLiteral("上下文窗口") << QStringLiteral("上下文") << false;
    }
    void containmentRespectsLatinWordBoundaries()
    {
        QFETCH(QString, alias);
        QFETCH(QString, text);
        QFETCH(bool, found);
        QCOMPARE(GlossaryTextMatcher::contains(alias, text), found);
    }

    void matchScoresExactOverContainedAndLongerOverShorter()
    {
        const GlossaryStore store({
            entry(1, QStringLiteral("上下文（context）"), {}),
            entry(2, QStringLiteral("上下文窗口（Context Window）"), {}),
            entry(3, QStringLiteral("检索增强生成（RAG）"), {QStringLiteral("ＲＡＧ检索")}),
            entry(4, QStringLiteral("提示词（prompt）"), {QStringLiteral("prompt 工程")}),
        });
        auto numberOf = [&store](const QString &query) -> qint64 {
            const auto found = store.match(query);
            return found ? found->number : -1;
        };
        QCOMPARE(numberOf(QStringLiteral("rag")), 3);
        QCOMPARE(numberOf(QStringLiteral("什么是RAG？")), 3);
        QCOMPARE(numberOf(QStringLiteral("paragraph")), -1);
        QCOMPARE(numberOf(QStringLiteral("上下文窗口是什么")), 2);
        QCOMPARE(numberOf(QStringLiteral("上下文是什么")), 1);
        QCOMPARE(numberOf(QStringLiteral("context window")), 2);
        // The whole query equal to an alias beats a longer alias found inside.
        QCOMPARE(numberOf(QStringLiteral("prompt")), 4);
        QCOMPARE(numberOf(QStringLiteral("rag检索")), 3);
        QCOMPARE(numberOf(QStringLiteral("？？ ")), -1);
        QCOMPARE(numberOf(QStringLiteral("上下")), -1);
    }

    void matchTieGoesToTheLowerNumber()
    {
        const GlossaryStore store({
            entry(1, QStringLiteral("甲"), {QStringLiteral("abc")}),
            entry(2, QStringLiteral("乙"), {QStringLiteral("xyz")}),
        });
        QCOMPARE(store.match(QStringLiteral("xyz abc"))->number, 1);
        QCOMPARE(store.match(QStringLiteral("abc xyz"))->number, 1);

        const GlossaryStore sameKey({
            entry(5, QStringLiteral("Agent"), {}),
            entry(9, QStringLiteral("agent"), {}),
        });
        QCOMPARE(sameKey.match(QStringLiteral("AGENT"))->number, 5);
    }

    void precomputedMatchAgreesWithTheLiteralRule()
    {
        // Random queries built from alias fragments, case and width variants.
        QList<GlossaryEntry> entries;
        const QStringList words{
            QStringLiteral("rag"),        QStringLiteral("RAG-Fusion"), QStringLiteral("agent"),
            QStringLiteral("上下文"),     QStringLiteral("上下文窗口"), QStringLiteral("GPT-4"),
            QStringLiteral("gpt-4o"),     QStringLiteral("Token"),      QStringLiteral("词元"),
            QStringLiteral("ＬｏＲＡ"),   QStringLiteral("lora"),       QStringLiteral("c++"),
            QStringLiteral("向量数据库"), QStringLiteral("向量")};
        for (int i = 0; i < words.size(); ++i)
            entries.append(
                entry(i + 1, words[i], {words[(i * 5 + 3) % words.size()] + QStringLiteral(" x")}));
        const GlossaryStore store(entries);

        QRandomGenerator random(20261207);
        const QStringList glue{QStringLiteral(" "),  QString(),           QStringLiteral("是什么"),
                               QStringLiteral("？"), QStringLiteral("s"), QStringLiteral("-")};
        for (int round = 0; round < 2000; ++round) {
            QString query;
            const int parts = 1 + int(random.bounded(3));
            for (int p = 0; p < parts; ++p) {
                query += words[random.bounded(words.size())];
                query += glue[random.bounded(glue.size())];
            }
            if (random.bounded(2))
                query = query.toUpper();
            const auto fast = store.match(query);
            const auto literal = literalMatch(store, query);
            QVERIFY2(fast == literal, qPrintable(query));
        }
    }

    void reverseLookupIntent_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("reverse");
        QTest::addRow("signal phrase") << QStringLiteral("这种能力叫什么") << true;
        QTest::addRow("every signal counts") << QStringLiteral("英文怎么说") << true;
        QTest::addRow("a term") << QStringLiteral("RAG") << false;
        QTest::addRow("17 characters")
            << QStringLiteral("一二三四五六七八九十一二三四五六七") << false;
        QTest::addRow("18 characters")
            << QStringLiteral("一二三四五六七八九十一二三四五六七八") << true;
        QTest::addRow("spaces around do not count")
            << QStringLiteral("   一二三四五六七八九十一二三四五六七   ") << false;
        QTest::addRow("inner spaces count") << QStringLiteral("a b c d e f g h i j") << true;
        QTest::addRow("emoji is one character")
            << QStringLiteral("👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍"
                              "🏽"
                              "👍"
                              "🏽"
                              "👍"
                              "🏽👍🏽👍🏽👍🏽")
            << false;
        QTest::addRow("only spaces") << QStringLiteral("    ") << false;
        QTest::addRow("signals are case-sensitive plain text")
            << QStringLiteral("叫 什么") << false;
    }
    void reverseLookupIntent()
    {
        QFETCH(QString, query);
        QFETCH(bool, reverse);
        QCOMPARE(QueryIntentDetector::shouldReverseLookup(query), reverse);
    }
};

QTEST_GUILESS_MAIN(TextMatchingTest)
#include "tst_textmatching.moc"
