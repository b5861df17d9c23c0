#include "core/termkey.h"
#include "core/textmetrics.h"
#include "packs/glossarypackageparser.h"
#include "packs/glossarypackwriter.h"

#include <QRandomGenerator>
#include <QTest>

using namespace wordlumen;

Q_DECLARE_METATYPE(wordlumen::GlossaryPackHeader)

namespace {

CustomGlossaryEntry entry(const QString &term, const QString &explanation,
                          const QStringList &aliases = {})
{
    return {QUuid(), term, aliases, explanation, {}, {}};
}

// One line per entry, "term | alias、alias | explanation": what a pack carries,
// compared as text so that a failure shows both sides.
QStringList namesOf(const QList<CustomGlossaryEntry> &entries)
{
    QStringList lines;
    for (const CustomGlossaryEntry &e : entries)
        lines.append(
            QStringList{e.term, e.aliases.join(u'、'), e.explanation}.join(QStringLiteral(" | ")));
    return lines;
}

// Writes, parses the text back with the real parser, and checks that the
// parser read exactly what the writer says it wrote, skipping nothing.
GlossaryPackText writtenAndReadBack(const GlossaryPackHeader &header,
                                    const QList<CustomGlossaryEntry> &entries)
{
    const GlossaryPackText pack = GlossaryPackWriter::write(header, entries);
    const auto parsed = GlossaryPackageParser::parse(pack.text, QStringLiteral("导出.md"));
    if (!parsed) {
        if (!pack.entries.isEmpty())
            qWarning("the written pack does not parse: %s", qPrintable(parsed.error().message()));
        return pack;
    }
    [&] {
        QCOMPARE(parsed->ignoredEntryCount, 0);
        QCOMPARE(namesOf(parsed->entries), namesOf(pack.entries));
        QCOMPARE(parsed->industry, pack.header.industry);
        QCOMPARE(parsed->vocabularyDepth, pack.header.vocabularyDepth);
        QCOMPARE(parsed->explanationPerspective, pack.header.explanationPerspective);
    }();
    return pack;
}

} // namespace

class PackWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void writesThePackLayoutPeopleRead()
    {
        const GlossaryPackText pack = GlossaryPackWriter::write(
            {QStringLiteral("我的收藏"), {}, {}},
            {entry(QStringLiteral("RAG"), QStringLiteral("先查资料再回答。"),
                   {QStringLiteral("检索增强生成")})});
        QCOMPARE(pack.text, QStringLiteral("# 我的收藏补充包\n\n行业：我的收藏\n词表深度：未标注\n"
                                           "解释视角：未标注\n\n## 1. RAG\n- 别名：检索增强生成\n"
                                           "- 解释：先查资料再回答。\n"));
    }

    void hazardsSurviveTheParser_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QStringList>("aliases");
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<QString>("writtenTerm");
        QTest::addColumn<QStringList>("writtenAliases");
        QTest::addColumn<QString>("writtenExplanation");

        const QString rag = QStringLiteral("RAG");
        const QString text = QStringLiteral("先查资料再回答。");
        const QStringList none;

        // A later line of an explanation read on its own would start an entry or a field.
        QTest::addRow("numbered second line")
            << rag << none << QStringLiteral("速度提升\n3.5 倍速度") << rag << none
            << QStringLiteral("速度提升 3.5 倍速度");
        QTest::addRow("heading inside an explanation")
            << rag << none << QStringLiteral("前文\n## 不是新词条") << rag << none
            << QStringLiteral("前文 ## 不是新词条");
        QTest::addRow("label on a later line")
            << rag << none << QStringLiteral("先查资料\n别名：不是别名\n术语：也不是") << rag
            << none << QStringLiteral("先查资料 别名：不是别名 术语：也不是");
        QTest::addRow("every kind of line break")
            << rag << none << QStringLiteral("a\r\nb\rc\u2028d\u2029e\u0085f\vg\fh") << rag << none
            << QStringLiteral("a b c d e f g h");
        QTest::addRow("tabs, controls and blank lines")
            << rag << none << QStringLiteral("a\tb\u0001c\n\n\n  d\u0000e") << rag << none
            << QStringLiteral("a b c d e");
        QTest::addRow("a line that is only ---") << rag << none << QStringLiteral("上\n---\n下")
                                                 << rag << none << QStringLiteral("上 --- 下");
        QTest::addRow("emphasis and code stay in an explanation")
            << rag << none << QStringLiteral("用 `grep` 找，**重点**在这") << rag << none
            << QStringLiteral("用 `grep` 找，**重点**在这");

        // Terms: the parser drops a leading number and Markdown emphasis.
        QTest::addRow("term starting with a decimal")
            << QStringLiteral("3.5 Sonnet") << none << text << QStringLiteral("3.5 Sonnet") << none
            << text;
        QTest::addRow("term that is a number and a separator")
            << QStringLiteral("1、2、3") << none << text << QStringLiteral("1、2、3") << none
            << text;
        QTest::addRow("term with double asterisks")
            << QStringLiteral("C**") << none << text << QStringLiteral("C＊＊") << none << text;
        QTest::addRow("term with a single asterisk stays")
            << QStringLiteral("A*B") << none << text << QStringLiteral("A*B") << none << text;
        QTest::addRow("term with backticks") << QStringLiteral("`grep`") << none << text
                                             << QStringLiteral("｀grep｀") << none << text;
        QTest::addRow("term with a colon") << QStringLiteral("OKR：目标") << none << text
                                           << QStringLiteral("OKR：目标") << none << text;
        QTest::addRow("term starting with a hash")
            << QStringLiteral("#话题") << none << text << QStringLiteral("#话题") << none << text;
        QTest::addRow("term over two lines") << QStringLiteral("检索\n增强") << none << text
                                             << QStringLiteral("检索 增强") << none << text;

        // Aliases: separators would split one, the parser drops its own kinds.
        QTest::addRow("alias with separators")
            << rag << QStringList{QStringLiteral("检索，增强、生成；RAG;x,y")} << text << rag
            << QStringList{QStringLiteral("检索 增强 生成 RAG x y")} << text;
        QTest::addRow("alias equal to the term is left out")
            << rag << QStringList{QStringLiteral("rag"), QStringLiteral("ＲＡＧ")} << text << rag
            << none << text;
        QTest::addRow("placeholders are left out")
            << rag << QStringList{QStringLiteral("无"), QStringLiteral("N/A"), QStringLiteral("-")}
            << text << rag << none << text;
        QTest::addRow("repeated aliases once")
            << rag << QStringList{QStringLiteral("检索增强"), QStringLiteral("检索增强！")} << text
            << rag << QStringList{QStringLiteral("检索增强")} << text;
        QTest::addRow("alias with emphasis and a line break")
            << rag << QStringList{QStringLiteral("**粗体**\n别名")} << text << rag
            << QStringList{QStringLiteral("＊＊粗体＊＊ 别名")} << text;
    }

    void hazardsSurviveTheParser()
    {
        QFETCH(QString, term);
        QFETCH(QStringList, aliases);
        QFETCH(QString, explanation);
        QFETCH(QString, writtenTerm);
        QFETCH(QStringList, writtenAliases);
        QFETCH(QString, writtenExplanation);

        const GlossaryPackText pack = writtenAndReadBack({QStringLiteral("测试"), {}, {}},
                                                         {entry(term, explanation, aliases)});
        QCOMPARE(pack.entries.size(), 1);
        QCOMPARE(pack.entries[0].term, writtenTerm);
        QCOMPARE(pack.entries[0].aliases, writtenAliases);
        QCOMPARE(pack.entries[0].explanation, writtenExplanation);
        // The replacements of emphasis marks compare as the same term.
        QCOMPARE(termKey(pack.entries[0].term), termKey(GlossaryPackWriter::singleLine(term)));
    }

    void explanationsAreHeldToTheParsersLimit_data()
    {
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("shortened");

        const QString family = QStringLiteral("👨‍👩‍👧");
        QTest::addRow("180 characters fit") << QString(180, u'字') << QString(180, u'字') << false;
        QTest::addRow("180 emoji of several code points fit")
            << family.repeated(180) << family.repeated(180) << false;
        QTest::addRow("181 characters are cut")
            << QString(181, u'字') << QString(179, u'字') + QStringLiteral("…") << true;
        QTest::addRow("cut at a late sentence end")
            << QString(99, u'甲') + QStringLiteral("。") + QString(100, u'乙')
            << QString(99, u'甲') + QStringLiteral("。") << true;
        // Line breaks become single spaces before the length is counted.
        QTest::addRow("joined lines are counted after joining")
            << QString(90, u'甲') + QStringLiteral("\n\n\n") + QString(89, u'乙')
            << QString(90, u'甲') + u' ' + QString(89, u'乙') << false;
    }

    void explanationsAreHeldToTheParsersLimit()
    {
        QFETCH(QString, explanation);
        QFETCH(QString, written);
        QFETCH(bool, shortened);

        const GlossaryPackText pack =
            writtenAndReadBack({}, {entry(QStringLiteral("词"), explanation)});
        QCOMPARE(pack.entries.size(), 1);
        QCOMPARE(pack.entries[0].explanation, written);
        QCOMPARE(pack.shortenedCount, shortened ? 1 : 0);
        QVERIFY(TextMetrics::graphemeCount(pack.entries[0].explanation) <=
                GlossaryPackageParser::kMaximumExplanationLength);
    }

    void leavesOutWhatAPackCannotHold()
    {
        const GlossaryPackText pack = writtenAndReadBack(
            {}, {
                    entry(QStringLiteral("RAG"), QStringLiteral("第一个。")),
                    entry(QStringLiteral("  "), QStringLiteral("没有词。")),
                    entry(QStringLiteral("向量库"), QStringLiteral(" \n\t ")),
                    entry(QStringLiteral("ｒａｇ"), QStringLiteral("同一个词的全角写法。")),
                    entry(QStringLiteral("rag!"), QStringLiteral("同一个词带标点。")),
                    entry(QStringLiteral("？？"), QStringLiteral("没有词键的词。")),
                    entry(QStringLiteral("！"), QStringLiteral("另一个没有词键的词。")),
                    entry(QStringLiteral("Token"), QStringLiteral("最后一个。")),
                });
        QCOMPARE(namesOf(pack.entries), (QStringList{QStringLiteral("RAG |  | 第一个。"),
                                                     QStringLiteral("？？ |  | 没有词键的词。"),
                                                     QStringLiteral("Token |  | 最后一个。")}));
        QCOMPARE(pack.emptyCount, 2);
        QCOMPARE(pack.duplicateCount, 3);
    }

    void headerRoundTrips_data()
    {
        QTest::addColumn<GlossaryPackHeader>("header");
        QTest::addColumn<GlossaryPackHeader>("readBack");

        const QString unlabelled = QStringLiteral("未标注");
        QTest::addRow("all three")
            << GlossaryPackHeader{QStringLiteral("金融"), QStringLiteral("入门"),
                                  QStringLiteral("给新人")}
            << GlossaryPackHeader{QStringLiteral("金融"), QStringLiteral("入门"),
                                  QStringLiteral("给新人")};
        QTest::addRow("empty labels")
            << GlossaryPackHeader{}
            << GlossaryPackHeader{QStringLiteral("自定义行业"), unlabelled, unlabelled};
        QTest::addRow("labels over two lines")
            << GlossaryPackHeader{QStringLiteral("跨境\n电商"), QStringLiteral("入门\r\n"),
                                  QStringLiteral("\n")}
            << GlossaryPackHeader{QStringLiteral("跨境 电商"), QStringLiteral("入门"), unlabelled};
        QTest::addRow("industry ending in 补充包")
            << GlossaryPackHeader{QStringLiteral("法律补充包"), {}, {}}
            << GlossaryPackHeader{QStringLiteral("法律补充包"), unlabelled, unlabelled};
        QTest::addRow("industry that looks like an entry")
            << GlossaryPackHeader{QStringLiteral("1. 金融"), QStringLiteral("## 2"), {}}
            << GlossaryPackHeader{QStringLiteral("1. 金融"), QStringLiteral("## 2"), unlabelled};
    }

    void headerRoundTrips()
    {
        QFETCH(GlossaryPackHeader, header);
        QFETCH(GlossaryPackHeader, readBack);
        const GlossaryPackText pack =
            writtenAndReadBack(header, {entry(QStringLiteral("RAG"), QStringLiteral("解释。"))});
        QCOMPARE(pack.header, readBack);
        QCOMPARE(pack.entries.size(), 1);
    }

    // Entries made of the characters the grammar reacts to, in random order:
    // whatever the writer makes of them, the parser must read back unchanged.
    void randomEntriesRoundTrip()
    {
        const QStringList pieces{
            QStringLiteral("1"),        QStringLiteral("23"),   QStringLiteral("."),
            QStringLiteral("、"),       QStringLiteral("|"),    QStringLiteral("｜"),
            QStringLiteral("-"),        QStringLiteral("*"),    QStringLiteral("**"),
            QStringLiteral("`"),        QStringLiteral("："),   QStringLiteral(":"),
            QStringLiteral("\n"),       QStringLiteral("\r"),   QStringLiteral("\t"),
            QStringLiteral(" "),        QStringLiteral("#"),    QStringLiteral("##"),
            QStringLiteral("---"),      QStringLiteral("，"),   QStringLiteral("；"),
            QStringLiteral(";"),        QStringLiteral(","),    QStringLiteral("别名"),
            QStringLiteral("解释"),     QStringLiteral("术语"), QStringLiteral("行业"),
            QStringLiteral("无"),       QStringLiteral("RAG"),  QStringLiteral("向量"),
            QStringLiteral("👍🏽"), QStringLiteral("é"),    QStringLiteral("e\u0301"),
            QStringLiteral("\u2028"),   QStringLiteral("\""),   QStringLiteral("＃")};
        QRandomGenerator random(20261208);
        auto randomText = [&](int maxPieces) {
            QString text;
            const int count = int(random.bounded(1, maxPieces + 1));
            for (int i = 0; i < count; ++i)
                text += pieces[random.bounded(int(pieces.size()))];
            return text;
        };
        for (int round = 0; round < 20; ++round) {
            QList<CustomGlossaryEntry> entries;
            for (int i = 0; i < 40; ++i) {
                QStringList aliases;
                for (int a = int(random.bounded(3)); a > 0; --a)
                    aliases.append(randomText(4));
                entries.append(entry(randomText(4), randomText(60), aliases));
            }
            const GlossaryPackHeader header{randomText(3), randomText(3), randomText(3)};
            const GlossaryPackText pack = writtenAndReadBack(header, entries);
            if (QTest::currentTestFailed()) {
                qWarning("round %d wrote:\n%s", round, qPrintable(pack.text));
                return;
            }
            QCOMPARE(pack.entries.size() + pack.emptyCount + pack.duplicateCount, entries.size());
        }
    }
};

QTEST_GUILESS_MAIN(PackWriterTest)
#include "tst_packwriter.moc"
