#include "packs/glossarypackageparser.h"

#include <QFile>
#include <QTest>
#include <QTimeZone>

using namespace wordlumen;
using namespace wordlumen::GlossaryPackageParser;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

const QDateTime kNow(QDate(2026, 3, 1), QTime(8, 15), QTimeZone::utc());

GlossaryPackDraft parsed(const QString &text, const QString &fileName = QStringLiteral("x.md"))
{
    const auto result = parse(text, fileName, kNow);
    if (!result) {
        qWarning("parse failed: %s", qPrintable(result.error().message()));
        return {};
    }
    return result.value();
}

QStringList terms(const GlossaryPackDraft &draft)
{
    QStringList result;
    for (const CustomGlossaryEntry &entry : draft.entries)
        result.append(entry.term);
    return result;
}

// Entries get fresh ids on every parse; everything else must be reproducible.
GlossaryPackDraft withoutIds(GlossaryPackDraft draft)
{
    for (CustomGlossaryEntry &entry : draft.entries)
        entry.id = QUuid();
    return draft;
}

} // namespace

class PackParserTest : public QObject
{
    Q_OBJECT

private slots:
    void entryHeaders_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<std::optional<QString>>("header");
        const std::optional<QString> none;
        auto is = [](const char *text) {
            return std::optional<QString>(QString::fromUtf8(text));
        };

        QTest::addRow("level two heading") << QStringLiteral("## RAG") << is("RAG");
        QTest::addRow("numbered level three") << QStringLiteral("### 3. RAG") << is("RAG");
        QTest::addRow("heading with emphasis") << QStringLiteral("## 2. **Token**") << is("Token");
        QTest::addRow("hyphen inside a heading")
            << QStringLiteral("## RAG-Fusion") << is("RAG-Fusion");
        QTest::addRow("decimal in a heading") << QStringLiteral("## 1.5 Pro") << is("5 Pro");
        QTest::addRow("bare ## opens an empty entry") << QStringLiteral("##") << is("");
        QTest::addRow("full stop") << QStringLiteral("1. RAG") << is("RAG");
        QTest::addRow("ideographic comma") << QStringLiteral("1、RAG") << is("RAG");
        QTest::addRow("full-width bar") << QStringLiteral("1｜RAG") << is("RAG");
        QTest::addRow("ascii bar") << QStringLiteral("1| RAG") << is("RAG");
        QTest::addRow("hyphen") << QStringLiteral("1- RAG") << is("RAG");
        QTest::addRow("blank before separator") << QStringLiteral("7 . RAG") << is("RAG");
        QTest::addRow("emphasis and code") << QStringLiteral("12. **`RAG`**") << is("RAG");
        QTest::addRow("chinese term") << QStringLiteral("3、向量库") << is("向量库");
        QTest::addRow("other script digits") << QStringLiteral("١٢. RAG") << is("RAG");
        QTest::addRow("circled number") << QStringLiteral("①、RAG") << is("RAG");
        QTest::addRow("explanation line with a decimal")
            << QStringLiteral("3.5 倍速度") << is("5 倍速度");
        QTest::addRow("number only") << QStringLiteral("1.") << is("");

        QTest::addRow("full-width full stop is no separator") << QStringLiteral("１．RAG") << none;
        QTest::addRow("hash without space") << QStringLiteral("#RAG") << none;
        QTest::addRow("level one heading") << QStringLiteral("# RAG") << none;
        QTest::addRow("word before hyphen") << QStringLiteral("RAG-检索") << none;
        QTest::addRow("list item") << QStringLiteral("- 别名：x") << none;
        QTest::addRow("rule") << QStringLiteral("---") << none;
        QTest::addRow("letters and digits") << QStringLiteral("v2. RAG") << none;
        QTest::addRow("no separator") << QStringLiteral("2024 年") << none;
        QTest::addRow("empty") << QString() << none;
    }
    void entryHeaders()
    {
        QFETCH(QString, line);
        QFETCH(std::optional<QString>, header);
        QCOMPARE(entryHeader(line), header);
    }

    void labeledValues_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("hasLabel");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("value");
        QTest::addRow("list item with emphasis")
            << QStringLiteral("- **别名**：检索增强、RAG 检索") << true << QStringLiteral("别名")
            << QStringLiteral("检索增强、RAG 检索");
        QTest::addRow("ascii colon") << QStringLiteral("English: Retrieval  ") << true
                                     << QStringLiteral("English") << QStringLiteral("Retrieval");
        QTest::addRow("code label, tab and star") << QStringLiteral("\t* `term` :  x") << true
                                                  << QStringLiteral("term") << QStringLiteral("x");
        QTest::addRow("first colon splits")
            << QStringLiteral("解释: 比例 3：1") << true << QStringLiteral("解释")
            << QStringLiteral("比例 3：1");
        QTest::addRow("empty label")
            << QStringLiteral("：值") << true << QString() << QStringLiteral("值");
        QTest::addRow("empty value")
            << QStringLiteral("行业：") << true << QStringLiteral("行业") << QString();
        QTest::addRow("no colon") << QStringLiteral("只是一句话") << false << QString()
                                  << QString();
        QTest::addRow("empty line") << QString() << false << QString() << QString();
    }
    void labeledValues()
    {
        QFETCH(QString, line);
        QFETCH(bool, hasLabel);
        QFETCH(QString, label);
        QFETCH(QString, value);
        const auto labeled = labeledValue(line);
        QCOMPARE(labeled.has_value(), hasLabel);
        if (labeled) {
            QCOMPARE(labeled->label, label);
            QCOMPARE(labeled->value, value);
        }
    }

    void industryFallback_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("industry");
        const QString entry = QStringLiteral("\n## RAG\n解释：先查再答。\n");
        QTest::addRow("title") << QStringLiteral("# 医疗黑话补充包") + entry
                               << QStringLiteral("x.md") << QStringLiteral("医疗");
        QTest::addRow("title with industry suffix")
            << QStringLiteral("# 跨境电商行业黑话补充包") + entry << QStringLiteral("x.md")
            << QStringLiteral("跨境电商");
        QTest::addRow("generic title") << QStringLiteral("# AI 黑话补充包") + entry
                                       << QStringLiteral("医疗.md") << QStringLiteral("自定义行业");
        QTest::addRow("generic title without space")
            << QStringLiteral("# AI黑话补充包") + entry << QStringLiteral("x.md")
            << QStringLiteral("自定义行业");
        QTest::addRow("nothing left") << QStringLiteral("# 补充包") + entry
                                      << QStringLiteral("x.md") << QStringLiteral("自定义行业");
        QTest::addRow("level two is no title")
            << QStringLiteral("## 法务\n解释：x\n") << QStringLiteral("法律补充包.txt")
            << QStringLiteral("法律");
        QTest::addRow("file name")
            << entry << QStringLiteral("金融黑话补充包.md") << QStringLiteral("金融");
        QTest::addRow("file name in a folder")
            << entry << QStringLiteral("packs/保险.markdown") << QStringLiteral("保险");
        QTest::addRow("only the last extension goes")
            << entry << QStringLiteral("v1.2.md") << QStringLiteral("v1.2");
        QTest::addRow("industry line wins over title")
            << QStringLiteral("# 医疗黑话补充包") + entry + QStringLiteral("行业：跨境电商\n")
            << QStringLiteral("x.md") << QStringLiteral("跨境电商");
        QTest::addRow("empty industry line is passed over")
            << QStringLiteral("行业：\n**领域**：物流\n") + entry << QStringLiteral("x.md")
            << QStringLiteral("物流");
    }
    void industryFallback()
    {
        QFETCH(QString, text);
        QFETCH(QString, fileName);
        QFETCH(QString, industry);
        QCOMPARE(parsed(text, fileName).industry, industry);
    }

    void metadataStandsAnywhere()
    {
        // Labels of every key, below the entries, in both widths and with emphasis.
        const QString text = QStringLiteral("## RAG\n解释：先查再答。\n\n"
                                            "- **词汇深度**: 进阶\n"
                                            "解释对象：产品经理\n"
                                            "程度：入门\n");
        const GlossaryPackDraft draft = parsed(text);
        QCOMPARE(draft.vocabularyDepth, QStringLiteral("进阶"));
        QCOMPARE(draft.explanationPerspective, QStringLiteral("产品经理"));
        // Metadata inside an entry is still part of that entry's explanation.
        QCOMPARE(draft.entries.first().explanation,
                 QStringLiteral("先查再答。 - **词汇深度**: 进阶 解释对象：产品经理 程度：入门"));

        const GlossaryPackDraft bare = parsed(QStringLiteral("## RAG\n解释：先查再答。"));
        QCOMPARE(bare.vocabularyDepth, QStringLiteral("未标注"));
        QCOMPARE(bare.explanationPerspective, QStringLiteral("未标注"));
    }

    void entries_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QList<QStringList>>("aliases");
        QTest::addColumn<QStringList>("explanations");
        QTest::addColumn<qsizetype>("ignored");

        QTest::addRow("english first, term key dropped")
            << QStringLiteral("## RAG\n英文：Retrieval-Augmented Generation\n"
                              "别名：检索增强；RAG 检索、rag\n解释：先查再答。")
            << QStringList{QStringLiteral("RAG")}
            << QList<QStringList>{{QStringLiteral("Retrieval-Augmented Generation"),
                                   QStringLiteral("检索增强"), QStringLiteral("RAG 检索")}}
            << QStringList{QStringLiteral("先查再答。")} << qsizetype(0);
        QTest::addRow("english labels of all kinds, last one wins")
            << QStringLiteral(
                   "1. LLM\nenglish: Large Model\n缩写：Large Language "
                   "Model\nAliases: 大模型, 大语言模型，大模型\nExplanation: 很大的模型。")
            << QStringList{QStringLiteral("LLM")}
            << QList<QStringList>{{QStringLiteral("Large Language Model"), QStringLiteral("大模型"),
                                   QStringLiteral("大语言模型")}}
            << QStringList{QStringLiteral("很大的模型。")} << qsizetype(0);
        QTest::addRow("placeholders")
            << QStringLiteral("## Token\n英文：N/A\n别名：无\n解释：x\n\n## Agent\n英文：-\n"
                              "alias: None、**智能体**\n解释：y")
            << QStringList{QStringLiteral("Token"), QStringLiteral("Agent")}
            << QList<QStringList>{{}, {QStringLiteral("智能体")}}
            << QStringList{QStringLiteral("x"), QStringLiteral("y")} << qsizetype(0);
        QTest::addRow("alias continuation lines are not collected")
            << QStringLiteral("## RAG\n别名：检索增强\n检索式生成\n解释：x")
            << QStringList{QStringLiteral("RAG")}
            << QList<QStringList>{{QStringLiteral("检索增强")}} << QStringList{QStringLiteral("x")}
            << qsizetype(0);
        QTest::addRow("multi-line explanation")
            << QStringLiteral(
                   "## RAG\n解释：第一行\n  第二行  \n---\n\n第三行：带冒号\n## Next\n说明：y")
            << QStringList{QStringLiteral("RAG"), QStringLiteral("Next")}
            << QList<QStringList>{{}, {}}
            << QStringList{QStringLiteral("第一行 第二行 第三行：带冒号"), QStringLiteral("y")}
            << qsizetype(0);
        QTest::addRow("a later explanation label starts over")
            << QStringLiteral("## RAG\n解释：旧的\n还是旧的\n说明：新的\n接着新的")
            << QStringList{QStringLiteral("RAG")} << QList<QStringList>{{}}
            << QStringList{QStringLiteral("新的 接着新的")} << qsizetype(0);
        QTest::addRow("explanation on the lines after its label")
            << QStringLiteral("## RAG\n- 解释：\n  先查资料，\n  再回答。")
            << QStringList{QStringLiteral("RAG")} << QList<QStringList>{{}}
            << QStringList{QStringLiteral("先查资料， 再回答。")} << qsizetype(0);
        QTest::addRow("a decimal in an explanation opens an entry")
            << QStringLiteral("## 推理加速\n解释：快了\n3.5 倍速度")
            << QStringList{QStringLiteral("推理加速")} << QList<QStringList>{{}}
            << QStringList{QStringLiteral("快了")} << qsizetype(1);
        QTest::addRow("term label closes and opens")
            << QStringLiteral(
                   "术语：被忽略\n解释：没有标题之前\n## A\n解释：a\n术语：**B**\n解释：b")
            << QStringList{QStringLiteral("A"), QStringLiteral("B")} << QList<QStringList>{{}, {}}
            << QStringList{QStringLiteral("a"), QStringLiteral("b")} << qsizetype(0);
        QTest::addRow("lines before the first header are skipped")
            << QStringLiteral("说明：这是一个补充包\n英文：Pack\n## A\n解释：a")
            << QStringList{QStringLiteral("A")} << QList<QStringList>{{}}
            << QStringList{QStringLiteral("a")} << qsizetype(0);
        QTest::addRow("emphasis comes off the term")
            << QStringLiteral("## **Token**\n解释：x\n## `GPU`\n解释：y")
            << QStringList{QStringLiteral("Token"), QStringLiteral("GPU")}
            << QList<QStringList>{{}, {}} << QStringList{QStringLiteral("x"), QStringLiteral("y")}
            << qsizetype(0);
        QTest::addRow("entries without term or explanation are counted")
            << QStringLiteral("##\n解释：没有术语\n## 空的\n别名：x\n## 好的\n解释：ok\n1.")
            << QStringList{QStringLiteral("好的")} << QList<QStringList>{{}}
            << QStringList{QStringLiteral("ok")} << qsizetype(3);
        QTest::addRow("repeated keys within a file")
            << QStringLiteral(
                   "## RAG\n解释：a\n## ｒａｇ\n解释：b\n## R.A.G?\n解释：c\n## Rag!\n解释：d")
            << QStringList{QStringLiteral("RAG"), QStringLiteral("R.A.G?")}
            << QList<QStringList>{{}, {}} << QStringList{QStringLiteral("a"), QStringLiteral("c")}
            << qsizetype(2);
        QTest::addRow("a rejected entry does not reserve its key")
            << QStringLiteral("## RAG\n别名：x\n## RAG\n解释：second")
            << QStringList{QStringLiteral("RAG")} << QList<QStringList>{{}}
            << QStringList{QStringLiteral("second")} << qsizetype(1);
    }
    void entries()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, terms);
        QFETCH(QList<QStringList>, aliases);
        QFETCH(QStringList, explanations);
        QFETCH(qsizetype, ignored);

        const GlossaryPackDraft draft = parsed(text);
        QCOMPARE(::terms(draft), terms);
        QCOMPARE(draft.entries.size(), aliases.size());
        for (qsizetype i = 0; i < draft.entries.size(); ++i) {
            QCOMPARE(draft.entries[i].aliases, aliases[i]);
            QCOMPARE(draft.entries[i].explanation, explanations[i]);
        }
        QCOMPARE(draft.ignoredEntryCount, ignored);
    }

    void explanationLengthBound_data()
    {
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<bool>("accepted");
        // Counted in user-perceived characters: a flag or a family emoji is one.
        const QString family = QStringLiteral("👨‍👩‍👧");
        QTest::addRow("180 chinese") << QString(180, u'字') << true;
        QTest::addRow("181 chinese") << QString(181, u'字') << false;
        QTest::addRow("180 clusters of many code units") << family.repeated(180) << true;
        QTest::addRow("181 clusters of many code units") << family.repeated(181) << false;
        QTest::addRow("180 over two lines")
            << QString(90, u'a') + u'\n' + QString(89, u'b') << true;
        QTest::addRow("181 over two lines")
            << QString(90, u'a') + u'\n' + QString(90, u'b') << false;
    }
    void explanationLengthBound()
    {
        QFETCH(QString, explanation);
        QFETCH(bool, accepted);
        const QString text = QStringLiteral("## Long\n解释：") + explanation +
                             QStringLiteral("\n## Short\n解释：ok");
        const GlossaryPackDraft draft = parsed(text);
        QCOMPARE(draft.entries.first().term == u"Long", accepted);
        QCOMPARE(draft.ignoredEntryCount, qsizetype(accepted ? 0 : 1));
    }

    void windowsLineEndsParseLikeUnix()
    {
        QFile file(QStringLiteral(WORDLUMEN_TEST_DATA_DIR "/packs/finance.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString unix = QString::fromUtf8(file.readAll());
        QString windows = unix;
        windows.replace(u'\n', QStringLiteral("\r\n"));
        QVERIFY(windows.contains(QStringLiteral("\r\n")));

        const GlossaryPackDraft expected = withoutIds(parsed(unix, QStringLiteral("finance.md")));
        QCOMPARE(withoutIds(parsed(windows, QStringLiteral("finance.md"))), expected);
    }

    void parsesAWholePackFile()
    {
        QFile file(QStringLiteral(WORDLUMEN_TEST_DATA_DIR "/packs/finance.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const GlossaryPackDraft draft =
            parsed(QString::fromUtf8(file.readAll()), QStringLiteral("金融黑话补充包.md"));

        QCOMPARE(draft.industry, QStringLiteral("金融"));
        QCOMPARE(draft.vocabularyDepth, QStringLiteral("入门"));
        QCOMPARE(draft.explanationPerspective, QStringLiteral("给刚入行的新人"));
        QCOMPARE(draft.sourceFileName, QStringLiteral("金融黑话补充包.md"));
        QCOMPARE(terms(draft), (QStringList{QStringLiteral("ROE"), QStringLiteral("对冲"),
                                            QStringLiteral("T+0")}));
        QCOMPARE(draft.entries[0].aliases,
                 (QStringList{QStringLiteral("Return on Equity"), QStringLiteral("净资产收益率")}));
        QCOMPARE(draft.entries[1].aliases, QStringList{QStringLiteral("Hedge")});
        QCOMPARE(draft.entries[1].explanation,
                 QStringLiteral("同时做一笔方向相反的交易， 让一边的亏损被另一边的收益抵掉。"));
        QCOMPARE(draft.entries[2].aliases,
                 (QStringList{QStringLiteral("T+0 交易"), QStringLiteral("当日回转")}));
        // 「空壳」 has no explanation and the second 「对冲」 repeats a term.
        QCOMPARE(draft.ignoredEntryCount, qsizetype(2));

        QSet<QUuid> ids;
        for (const CustomGlossaryEntry &entry : draft.entries) {
            QVERIFY(!entry.id.isNull());
            ids.insert(entry.id);
            QCOMPARE(entry.createdAt, kNow);
            QCOMPARE(entry.updatedAt, kNow);
        }
        QCOMPARE(ids.size(), draft.entries.size());
    }

    void failures_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        const QString empty = QStringLiteral("文件里没有可读取的文字。");
        const QString noEntries =
            QStringLiteral("没有识别到有效词条。请使用设置页里的提示词重新生成补充包。");
        QTest::addRow("nothing") << QString() << int(PackError::Kind::EmptyFile) << empty;
        QTest::addRow("white space and line ends")
            << QStringLiteral(" \r\n\t\n\u3000\n") << int(PackError::Kind::EmptyFile) << empty;
        QTest::addRow("text without headers")
            << QStringLiteral("# 金融黑话补充包\n行业：金融\n术语：ROE\n解释：x")
            << int(PackError::Kind::NoValidEntries) << noEntries;
        QTest::addRow("every entry rejected") << QStringLiteral("## A\n## B\n解释：")
                                              << int(PackError::Kind::NoValidEntries) << noEntries;
    }
    void failures()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, message);
        const auto result = parse(text, QStringLiteral("x.md"), kNow);
        QVERIFY(!result);
        QCOMPARE(int(result.error().kind()), kind);
        QCOMPARE(result.error().message(), message);
    }
};

QTEST_GUILESS_MAIN(PackParserTest)
#include "tst_packparser.moc"
