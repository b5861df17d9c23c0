#include "core/answertext.h"
#include "core/textmetrics.h"

#include <QTest>

using namespace wordlumen;

namespace {

QString text(qsizetype count, QChar fill = u'字')
{
    return QString(count, fill);
}

} // namespace

class AnswerTextTest : public QObject
{
    Q_OBJECT

private slots:
    void readableCutKeepsLateSentenceEnds_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("expected");
        QTest::addRow("fits, trimmed, no ellipsis")
            << QStringLiteral("  短句。 \n") << 60 << QStringLiteral("短句。");
        QTest::addRow("exactly the limit") << text(60) << 60 << text(60);
        QTest::addRow("61 without sentence end") << text(61) << 60 << text(59) + u'…';
        QTest::addRow("60: end at 30th character kept")
            << text(29) + u'。' + text(40) << 60 << text(29) + u'。';
        QTest::addRow("60: end at 29th character too early")
            << text(28) + u'。' + text(40) << 60 << text(28) + u'。' + text(30) + u'…';
        QTest::addRow("60: end at 41st character")
            << text(40) + u'。' + text(40) << 60 << text(40) + u'。';
        QTest::addRow("100: end at 50th kept")
            << text(49) + u'！' + text(60) << 100 << text(49) + u'！';
        QTest::addRow("100: end at 49th too early")
            << text(48) + u'？' + text(60) << 100 << text(48) + u'？' + text(50) + u'…';
        QTest::addRow("180: end at 90th kept")
            << text(89) + u';' + text(100) << 180 << text(89) + u';';
        QTest::addRow("180: end at 89th too early")
            << text(88) + u'；' + text(100) << 180 << text(88) + u'；' + text(90) + u'…';
        QTest::addRow("last sentence end wins") << text(35) + u'。' + text(10) + u'！' + text(30)
                                                << 60 << text(35) + u'。' + text(10) + u'！';
        QTest::addRow("small limit uses 24")
            << text(22) + u'。' + text(30) << 40 << text(22) + u'。' + text(16) + u'…';
        QTest::addRow("small limit keeps 24")
            << text(23) + u'!' + text(30) << 40 << text(23) + u'!';
        QTest::addRow("trailing space before ellipsis trimmed")
            << text(58) + QStringLiteral(" x") + text(10) << 60 << text(58) + u'…';
        QTest::addRow("emoji count as one")
            << QString(QStringLiteral("👍🏽")).repeated(61) << 60
            << QString(QStringLiteral("👍🏽")).repeated(59) + u'…';
    }
    void readableCutKeepsLateSentenceEnds()
    {
        QFETCH(QString, input);
        QFETCH(int, limit);
        QFETCH(QString, expected);
        QCOMPARE(AnswerText::readableExplanation(input, limit), expected);
    }

    void displayTitleDropsFullWidthParentheses()
    {
        QCOMPARE(AnswerText::displayTitle(QStringLiteral("上下文（context）")),
                 QStringLiteral("上下文"));
        QCOMPARE(AnswerText::displayTitle(QStringLiteral("Token (词元)")),
                 QStringLiteral("Token (词元)"));
    }

    // Columns in a terminal, where a streamed answer is redrawn in place.
    void displayWidthCountsColumns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("columns");
        QTest::addRow("ASCII") << QStringLiteral("RAG 2.0") << 7;
        QTest::addRow("control characters take none") << QStringLiteral("a\tb\n") << 2;
        QTest::addRow("Chinese takes two") << QStringLiteral("检索增强") << 8;
        QTest::addRow("mixed") << QStringLiteral("什么是RAG？") << 11;
        QTest::addRow("full-width Latin") << QStringLiteral("ＲＡＧ") << 6;
        QTest::addRow("half-width katakana is narrow") << QStringLiteral("ｶﾀｶﾅ") << 4;
        QTest::addRow("combining accent adds nothing") << QStringLiteral("Cafe\u0301") << 4;
        QTest::addRow("Hangul jamo cluster is one wide character")
            << QStringLiteral("\u1100\u1161") << 2;
        QTest::addRow("emoji with skin tone is one wide cluster")
            << QStringLiteral("👍🏽") << 2;
        QTest::addRow("family emoji joined into one cluster")
            << QStringLiteral("👩\u200D👩\u200D👧") << 2;
        QTest::addRow("supplementary ideograph") << QStringLiteral("𠀀") << 2;
        QTest::addRow("zero-width space") << QStringLiteral("a\u200Bb") << 2;
        QTest::addRow("Greek is narrow") << QStringLiteral("αβγ") << 3;
    }
    void displayWidthCountsColumns()
    {
        QFETCH(QString, text);
        QFETCH(int, columns);
        QCOMPARE(TextMetrics::displayWidth(text), qsizetype(columns));
    }

    void wideCharactersAreTheTablesOwn()
    {
        QVERIFY(TextMetrics::isWide(U'中'));
        QVERIFY(TextMetrics::isWide(U'\u3000')); // ideographic space
        QVERIFY(TextMetrics::isWide(U'\uFF21')); // full-width A
        QVERIFY(TextMetrics::isWide(U'\U0001F600'));
        QVERIFY(!TextMetrics::isWide(U'A'));
        QVERIFY(!TextMetrics::isWide(U'\uFF76')); // half-width katakana
        QVERIFY(!TextMetrics::isWide(U'\u00E9'));
        QVERIFY(!TextMetrics::isWide(U'\u0000'));
        QVERIFY(!TextMetrics::isWide(U'\U0010FFFF'));
    }
};

QTEST_GUILESS_MAIN(AnswerTextTest)
#include "tst_answertext.moc"
