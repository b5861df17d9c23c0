#include "core/answertext.h"
#include "core/glossarystore.h"
#include "core/termkey.h"
#include "core/textmetrics.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>

using namespace wordlumen;

namespace {

const QString kResourceDirectory = QStringLiteral(WORDLUMEN_SOURCE_DIR "/resources");

// The card's brief length: a dictionary answer shown at this limit must end at
// a sentence end, never with an ellipsis. The standard length (100) must never
// cut at all.
constexpr qsizetype kBriefLength = 60;
constexpr qsizetype kStandardLength = 100;
constexpr qsizetype kMinimumLength = 50;

const QString kSentenceEnds = QStringLiteral("。！？!?；;");
const QString kSentenceStops = QStringLiteral("。！？!?");

// A key made only of Chinese characters (spaces between them allowed).
bool isChineseOnly(const QString &key)
{
    bool sawHan = false;
    for (const QChar c : key) {
        if (c == u' ')
            continue;
        if (c.script() != QChar::Script_Han)
            return false;
        sawHan = true;
    }
    return sawHan;
}

QString describe(const GlossaryEntry &entry)
{
    return QStringLiteral("%1. %2").arg(entry.number).arg(entry.term);
}

void verifyNoProblems(const QStringList &problems)
{
    QVERIFY2(problems.isEmpty(), qPrintable(u'\n' + problems.join(u'\n')));
}

// Whether the entry found for a query is about the named thing, judged by its
// title: the title is what the card shows above the answer.
bool titleMentions(const std::optional<GlossaryEntry> &found, const QString &name)
{
    return found && termKey(found->term).contains(termKey(name));
}

} // namespace

class BuiltinDictionaryTest : public QObject
{
    Q_OBJECT

private:
    GlossaryStore m_store;
    QString m_markdown;

private slots:
    void initTestCase()
    {
        auto loaded = GlossaryStore::loadFromDirectory(kResourceDirectory);
        QVERIFY2(loaded, qPrintable(loaded ? QString() : loaded.error().message()));
        m_store = std::move(loaded).value();

        QFile file(kResourceDirectory + QStringLiteral("/Glossary.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        m_markdown = QString::fromUtf8(file.readAll());
    }

    void entriesAreNumberedOneToTwoHundred()
    {
        const QList<GlossaryEntry> &entries = m_store.entries();
        QCOMPARE(entries.size(), GlossaryStore::kExpectedEntryCount);
        for (qsizetype i = 0; i < entries.size(); ++i)
            QCOMPARE(entries[i].number, qint64(i + 1));
    }

    // Ten headings of the form "## 名称（1–20）", each directly before the
    // first entry of its range; the loader strips them from explanations.
    void sectionsOfTwentyHaveHeadings()
    {
        static const QRegularExpression heading(
            QStringLiteral("^## (\\S[^\\n#]*)（(\\d+)–(\\d+)）\\n+(\\d+)\\. \\*\\*"),
            QRegularExpression::MultilineOption);
        QStringList names;
        int expectedFirst = 1;
        auto it = heading.globalMatch(m_markdown);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            names << match.captured(1);
            QCOMPARE(match.captured(2).toInt(), expectedFirst);
            QCOMPARE(match.captured(3).toInt(), expectedFirst + 19);
            QCOMPARE(match.captured(4).toInt(), expectedFirst);
            expectedFirst += 20;
        }
        QCOMPARE(names.size(), 10);
        QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), 10);
        QCOMPARE(m_markdown.count(QStringLiteral("\n## ")), 10);
    }

    // Every explanation reads well on the card at every length: 50 to 100
    // characters in two or three sentences, the first of which ends early
    // enough that the brief length cuts cleanly after it.
    void explanationsFitTheCard()
    {
        static const QRegularExpression markup(QStringLiteral("[*#`]|^\\s*[-+>]|\\n"),
                                               QRegularExpression::MultilineOption);
        QStringList problems;
        for (const GlossaryEntry &entry : m_store.entries()) {
            const QString &text = entry.explanation;
            const qsizetype length = TextMetrics::graphemeCount(text);
            if (length < kMinimumLength || length > kStandardLength)
                problems << describe(entry) + QStringLiteral(": %1 characters").arg(length);

            const qsizetype stops = std::count_if(
                text.cbegin(), text.cend(), [](QChar c) { return kSentenceStops.contains(c); });
            if (stops < 2 || stops > 3 || !kSentenceStops.contains(text.back()))
                problems << describe(entry) + QStringLiteral(": %1 sentences").arg(stops);

            qsizetype firstEnd = 0;
            while (firstEnd < text.size() && !kSentenceEnds.contains(text.at(firstEnd)))
                ++firstEnd;
            const qsizetype firstEndPosition =
                TextMetrics::graphemeCount(QStringView(text).left(firstEnd + 1));
            if (firstEnd == text.size() || text.at(firstEnd) != u'。' ||
                firstEndPosition < kBriefLength / 2 || firstEndPosition > kBriefLength)
                problems << describe(entry) +
                                QStringLiteral(": first sentence ends at %1").arg(firstEndPosition);

            const QString brief = AnswerText::readableExplanation(text, kBriefLength);
            if (!kSentenceStops.contains(brief.back()))
                problems << describe(entry) + QStringLiteral(": brief cut gives 「%1」").arg(brief);

            if (markup.match(text).hasMatch() || text.contains(QStringLiteral("作为 AI")) ||
                text.contains(QStringLiteral("作为AI")))
                problems << describe(entry) + QStringLiteral(": markup or filler in the text");
        }
        verifyNoProblems(problems);
    }

    void aliasesLeadToExactlyOneEntry()
    {
        QHash<QString, qint64> owners;
        QStringList problems;
        for (const GlossaryEntry &entry : m_store.entries()) {
            for (const QString &alias : entry.aliases) {
                const QString key = termKey(alias);
                if (key.isEmpty()) {
                    problems << describe(entry) +
                                    QStringLiteral(": 「%1」 has no letters").arg(alias);
                    continue;
                }
                const qint64 owner = owners.value(key, entry.number);
                if (owner != entry.number)
                    problems << describe(entry) + QStringLiteral(": 「%1」 also leads to entry %2")
                                                      .arg(alias)
                                                      .arg(owner);
                owners.insert(key, owner);
            }
        }
        verifyNoProblems(problems);
    }

    // An alias is found inside any longer query, so a short or generic one
    // would take over questions about something else.
    void aliasesAreSpecificEnough()
    {
        static const QSet<QString> genericWords{QStringLiteral("data"),
                                                QStringLiteral("model"),
                                                QStringLiteral("models"),
                                                QStringLiteral("test"),
                                                QStringLiteral("testing"),
                                                QStringLiteral("user"),
                                                QStringLiteral("code"),
                                                QStringLiteral("app"),
                                                QStringLiteral("product"),
                                                QStringLiteral("design"),
                                                QStringLiteral("service"),
                                                QStringLiteral("system"),
                                                QStringLiteral("search"),
                                                QStringLiteral("cloud"),
                                                QStringLiteral("network"),
                                                QStringLiteral("memory"),
                                                QStringLiteral("training"),
                                                QStringLiteral("learning"),
                                                QStringLiteral("planning"),
                                                QStringLiteral("release"),
                                                QStringLiteral("stream"),
                                                QStringLiteral("tool"),
                                                QStringLiteral("tools"),
                                                QStringLiteral("chat"),
                                                QStringLiteral("web"),
                                                QStringLiteral("analysis"),
                                                QStringLiteral("management"),
                                                QStringLiteral("operations"),
                                                QStringLiteral("implementation"),
                                                QStringLiteral("wrapper"),
                                                QStringLiteral("track"),
                                                QStringLiteral("pr")};
        QStringList problems;
        for (const GlossaryEntry &entry : m_store.entries()) {
            QSet<QString> titleKeys;
            for (const QString &name : GlossaryStore::namesDerivedFromTitle(entry.term))
                titleKeys.insert(termKey(name));
            for (const QString &alias : entry.aliases) {
                const QString key = termKey(alias);
                const qsizetype length = TextMetrics::graphemeCount(key);
                if (length < 2)
                    problems << describe(entry) +
                                    QStringLiteral(": 「%1」 is one character").arg(alias);
                else if (length == 2 && isChineseOnly(key) && !titleKeys.contains(key))
                    problems << describe(entry) +
                                    QStringLiteral(
                                        ": 「%1」 is two characters but not the term itself")
                                        .arg(alias);
                if (genericWords.contains(key))
                    problems << describe(entry) +
                                    QStringLiteral(": 「%1」 is too generic").arg(alias);
            }
        }
        verifyNoProblems(problems);
    }

    // Users glue Chinese and Latin together ("AI助手") and type spaces for
    // hyphens ("fine tuning"); those spellings must reach the same entry.
    void looseSpellingsReachTheSameEntry()
    {
        static const QRegularExpression spaceNextToHan(
            QStringLiteral("(?<=\\p{Han}) | (?=\\p{Han})"));
        QStringList problems;
        for (const GlossaryEntry &entry : m_store.entries()) {
            for (const QString &alias : entry.aliases) {
                const QString key = termKey(alias);
                QString glued = key;
                glued.remove(spaceNextToHan);
                QString spaced = key;
                spaced.replace(u'-', u' ');
                for (const QString &variant : {glued, spaced}) {
                    if (variant == key)
                        continue;
                    const auto found = m_store.match(variant);
                    if (!found || found->number != entry.number)
                        problems << describe(entry) +
                                        QStringLiteral(": 「%1」 finds %2")
                                            .arg(variant, found ? describe(*found)
                                                                : QStringLiteral("nothing"));
                }
            }
        }
        verifyNoProblems(problems);
    }

    void typicalQueriesFindTheIntendedEntry_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("term");
        const QString rag = QStringLiteral("检索增强生成（RAG / Retrieval-Augmented Generation）");
        const QString context = QStringLiteral("上下文窗口（Context Window / 上下文 / Context）");
        const QString lora = QStringLiteral("LoRA（低秩适配 / Low-Rank Adaptation）");
        const QString closedLoop = QStringLiteral("闭环（Closed Loop / Loop）");

        // The examples offered on the card and in the control center.
        QTest::newRow("context") << QStringLiteral("context") << context;
        QTest::newRow("RAG") << QStringLiteral("RAG") << rag;
        QTest::newRow("LoRA") << QStringLiteral("LoRA") << lora;
        QTest::newRow("上下文") << QStringLiteral("上下文") << context;
        QTest::newRow("检索增强") << QStringLiteral("检索增强") << rag;
        QTest::newRow("闭环") << QStringLiteral("闭环") << closedLoop;
        QTest::newRow("Loop") << QStringLiteral("Loop") << closedLoop;

        // The way people actually type.
        QTest::newRow("question") << QStringLiteral("什么是RAG？") << rag;
        QTest::newRow("glued to Chinese") << QStringLiteral("lora微调") << lora;
        QTest::newRow("full-width") << QStringLiteral("ＲＡＧ 是什么") << rag;
        QTest::newRow("mixed form") << QStringLiteral("RAG检索") << rag;
        QTest::newRow("meaning of 闭环") << QStringLiteral("闭环是什么意思") << closedLoop;
        QTest::newRow("prompt") << QStringLiteral("Prompt 怎么写")
                                << QStringLiteral("提示词（Prompt）");
        QTest::newRow("大模型") << QStringLiteral("大模型")
                                << QStringLiteral("大语言模型（LLM / Large Language Model）");
        QTest::newRow("AI") << QStringLiteral("AI")
                            << QStringLiteral("人工智能（AI / Artificial Intelligence）");

        // Overlapping names: the longer, more specific one wins.
        QTest::newRow("context window inside a question")
            << QStringLiteral("上下文窗口是什么") << context;
        QTest::newRow("agent loop is not 闭环")
            << QStringLiteral("agent loop") << QStringLiteral("智能体（AI Agent / Agent）");
        QTest::newRow("human in the loop is not 闭环")
            << QStringLiteral("human in the loop")
            << QStringLiteral("人在回路（Human-in-the-Loop / HITL）");
        QTest::newRow("AI alignment is not workplace alignment")
            << QStringLiteral("AI对齐") << QStringLiteral("AI 对齐（AI Alignment / Alignment）");
        QTest::newRow("workplace alignment")
            << QStringLiteral("拉通对齐") << QStringLiteral("拉通");
        QTest::newRow("reasoning model is not inference")
            << QStringLiteral("推理模型")
            << QStringLiteral("推理模型（Reasoning Model / 深度思考）");
        QTest::newRow("open model is not open source")
            << QStringLiteral("开源大模型")
            << QStringLiteral("开源模型与闭源模型（Open Weights / 闭源）");
        QTest::newRow("benchmarking is not a benchmark")
            << QStringLiteral("对标 benchmarking") << QStringLiteral("对标（Benchmarking）");
        QTest::newRow("AI product manager")
            << QStringLiteral("AI产品经理") << QStringLiteral("产品经理（Product Manager / PM）");

        // Names whose card covers more than one sense.
        QTest::newRow("DevOps") << QStringLiteral("DevOps")
                                << QStringLiteral("运维（Ops / DevOps）");
        QTest::newRow("监管沙盒") << QStringLiteral("监管沙盒")
                                  << QStringLiteral("沙箱（Sandbox / 沙盒）");
        QTest::newRow("Microsoft 365 Copilot")
            << QStringLiteral("Microsoft 365 Copilot")
            << QStringLiteral("AI 助手（AI Assistant / Copilot）");
        QTest::newRow("GitHub Copilot") << QStringLiteral("GitHub Copilot")
                                        << QStringLiteral("AI 助手（AI Assistant / Copilot）");
        const QString recall = QStringLiteral("召回（Recall / 产品召回 / 用户召回）");
        QTest::newRow("product recall") << QStringLiteral("汽车召回") << recall;
        QTest::newRow("recalled e-mail") << QStringLiteral("撤回邮件") << recall;
        QTest::newRow("user recall") << QStringLiteral("老用户召回") << recall;
        QTest::newRow("pre-trained model is the base model")
            << QStringLiteral("预训练模型")
            << QStringLiteral("基座模型（Foundation Model / Base Model）");
    }
    void typicalQueriesFindTheIntendedEntry()
    {
        QFETCH(QString, query);
        QFETCH(QString, term);
        const auto found = m_store.match(query);
        QVERIFY2(found, qPrintable(QStringLiteral("nothing found for 「%1」").arg(query)));
        QCOMPARE(found->term, term);
    }

    // Queries that a short, generic or overlapping name would answer with an
    // entry about something else. A row names what the title of the entry
    // found must mention, or, for a row that must not reach it, what it must
    // not mention (finding nothing passes such a row).
    void queriesReachTheEntryTheyAsk_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("reaches");

        // A name inside a longer name that means something else.
        QTest::newRow("非结构化数据")
            << QStringLiteral("非结构化数据") << QStringLiteral("非结构化数据") << true;
        QTest::newRow("什么是非结构化数据")
            << QStringLiteral("什么是非结构化数据") << QStringLiteral("非结构化数据") << true;
        QTest::newRow("KOC") << QStringLiteral("KOC") << QStringLiteral("KOC") << true;
        QTest::newRow("KOC是什么") << QStringLiteral("KOC是什么") << QStringLiteral("KOC") << true;
        QTest::newRow("无代码") << QStringLiteral("无代码") << QStringLiteral("无代码") << true;
        QTest::newRow("零代码平台")
            << QStringLiteral("零代码平台") << QStringLiteral("无代码") << true;
        QTest::newRow("rote learning")
            << QStringLiteral("机械学习") << QStringLiteral("机器学习") << false;
        QTest::newRow("going private")
            << QStringLiteral("私有化退市") << QStringLiteral("私有化部署") << false;
        QTest::newRow("CSS property")
            << QStringLiteral("text-align") << QStringLiteral("对齐") << false;
        QTest::newRow("落地页") << QStringLiteral("落地页") << QStringLiteral("落地页") << true;
        QTest::newRow("获客成本") << QStringLiteral("获客成本") << QStringLiteral("获客成本")
                                  << true;
        QTest::newRow("GPT套壳") << QStringLiteral("GPT套壳是什么意思") << QStringLiteral("套壳")
                                 << true;
        QTest::newRow("调试") << QStringLiteral("调试") << QStringLiteral("调试") << true;
        QTest::newRow("align 一下")
            << QStringLiteral("align 一下") << QStringLiteral("对齐") << true;

        // 「AI」 ties with every two-character name and wins by its number.
        QTest::newRow("AI赋能是什么意思")
            << QStringLiteral("AI赋能是什么意思") << QStringLiteral("赋能") << true;
        QTest::newRow("AI 赋能") << QStringLiteral("AI 赋能") << QStringLiteral("赋能") << true;
        QTest::newRow("AI客服") << QStringLiteral("AI客服") << QStringLiteral("聊天机器人") << true;
        QTest::newRow("AI 客服") << QStringLiteral("AI 客服") << QStringLiteral("聊天机器人")
                                 << true;
        QTest::newRow("AI生图") << QStringLiteral("AI生图") << QStringLiteral("文生图") << true;
        QTest::newRow("AI落地") << QStringLiteral("AI落地") << QStringLiteral("落地") << true;

        // 「大模型」 is inside every question about large models.
        QTest::newRow("大模型的幻觉怎么解决")
            << QStringLiteral("大模型的幻觉怎么解决") << QStringLiteral("幻觉") << true;
        QTest::newRow("大模型幻觉问题")
            << QStringLiteral("大模型幻觉问题") << QStringLiteral("幻觉") << true;
        QTest::newRow("视觉大模型")
            << QStringLiteral("视觉大模型") << QStringLiteral("多模态") << true;
        QTest::newRow("端侧大模型")
            << QStringLiteral("端侧大模型") << QStringLiteral("端侧模型") << true;
        QTest::newRow("视觉大模型 is no language model")
            << QStringLiteral("视觉大模型") << QStringLiteral("大语言模型") << false;

        // 「量化模型」 in finance is a quant trading model, not a compressed one.
        QTest::newRow("quant model")
            << QStringLiteral("量化模型") << QStringLiteral("模型量化") << false;
        QTest::newRow("quant trading model")
            << QStringLiteral("量化交易模型") << QStringLiteral("模型量化") << false;
        QTest::newRow("低比特量化")
            << QStringLiteral("大模型低比特量化") << QStringLiteral("模型量化") << true;

        // A pre-trained model is the base model, not the act of training.
        QTest::newRow("什么是预训练模型")
            << QStringLiteral("什么是预训练模型") << QStringLiteral("基座模型") << true;
        QTest::newRow("预训练模型 is no training")
            << QStringLiteral("预训练模型") << QStringLiteral("模型训练") << false;

        // The full name of GPT holds 「Transformer」, which has a card of its own.
        QTest::newRow("GPT spelt out")
            << QStringLiteral("生成式预训练Transformer") << QStringLiteral("GPT") << true;
        QTest::newRow("Transformer alone")
            << QStringLiteral("Transformer") << QStringLiteral("GPT") << false;

        // Senses met outside technology.
        QTest::newRow("DevOps是什么")
            << QStringLiteral("DevOps是什么") << QStringLiteral("DevOps") << true;
        QTest::newRow("监管沙盒是什么意思")
            << QStringLiteral("监管沙盒是什么意思") << QStringLiteral("沙箱") << true;
        QTest::newRow("邮件召回") << QStringLiteral("Outlook 邮件召回") << QStringLiteral("召回")
                                  << true;
        QTest::newRow("GitHub Copilot 怎么用")
            << QStringLiteral("GitHub Copilot 怎么用") << QStringLiteral("Copilot") << true;

        // Connectors point to the plug-in card; MCP keeps its own.
        QTest::newRow("MCP连接器") << QStringLiteral("MCP连接器") << QStringLiteral("MCP") << true;
        QTest::newRow("AI连接器") << QStringLiteral("AI连接器") << QStringLiteral("插件") << true;
    }
    void queriesReachTheEntryTheyAsk()
    {
        QFETCH(QString, query);
        QFETCH(QString, name);
        QFETCH(bool, reaches);
        const auto found = m_store.match(query);
        const bool mentions = titleMentions(found, name);
        const QString what = found ? describe(*found) : QStringLiteral("nothing");
        if (reaches)
            QVERIFY2(mentions, qPrintable(QStringLiteral("「%1」 finds %2, not the entry on 「%3」")
                                              .arg(query, what, name)));
        else
            QVERIFY2(!mentions, qPrintable(QStringLiteral("「%1」 finds %2").arg(query, what)));
    }

    // Words office workers meet and the spellings they type: each must find
    // an entry whose title names what was asked.
    void termsPeopleMeetAreAnswered_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("name");

        // Terms that found nothing before.
        QTest::newRow("GPT") << QStringLiteral("GPT") << QStringLiteral("GPT");
        QTest::newRow("GPT-4o") << QStringLiteral("GPT-4o") << QStringLiteral("GPT");
        QTest::newRow("具身智能") << QStringLiteral("具身智能") << QStringLiteral("具身智能");
        QTest::newRow("端侧模型") << QStringLiteral("端侧模型") << QStringLiteral("端侧模型");
        QTest::newRow("AI 原生") << QStringLiteral("AI 原生") << QStringLiteral("AI 原生");
        QTest::newRow("AI原生应用") << QStringLiteral("AI原生应用") << QStringLiteral("AI 原生");
        QTest::newRow("扩散模型") << QStringLiteral("扩散模型") << QStringLiteral("扩散模型");
        QTest::newRow("OCR") << QStringLiteral("OCR") << QStringLiteral("OCR");
        QTest::newRow("SOTA") << QStringLiteral("SOTA") << QStringLiteral("SOTA");
        QTest::newRow("小程序") << QStringLiteral("小程序") << QStringLiteral("小程序");
        QTest::newRow("回滚") << QStringLiteral("回滚") << QStringLiteral("回滚");
        QTest::newRow("排期") << QStringLiteral("排期") << QStringLiteral("排期");
        QTest::newRow("SOP") << QStringLiteral("SOP") << QStringLiteral("SOP");
        QTest::newRow("SKU") << QStringLiteral("SKU") << QStringLiteral("SKU");
        QTest::newRow("POC") << QStringLiteral("POC") << QStringLiteral("POC");
        QTest::newRow("用户心智") << QStringLiteral("用户心智") << QStringLiteral("用户心智");
        QTest::newRow("owner") << QStringLiteral("owner") << QStringLiteral("Owner");
        QTest::newRow("ddl") << QStringLiteral("ddl") << QStringLiteral("DDL");
        QTest::newRow("H5") << QStringLiteral("H5") << QStringLiteral("H5");
        QTest::newRow("QPS") << QStringLiteral("QPS") << QStringLiteral("高并发");
        QTest::newRow("高并发") << QStringLiteral("高并发") << QStringLiteral("高并发");
        QTest::newRow("信创") << QStringLiteral("信创") << QStringLiteral("信创");
        QTest::newRow("联调") << QStringLiteral("联调") << QStringLiteral("联调");
        QTest::newRow("提测") << QStringLiteral("提测") << QStringLiteral("提测");
        QTest::newRow("CRM") << QStringLiteral("CRM") << QStringLiteral("CRM");
        QTest::newRow("ERP") << QStringLiteral("ERP") << QStringLiteral("ERP");
        QTest::newRow("BI") << QStringLiteral("BI") << QStringLiteral("BI");
        QTest::newRow("投流") << QStringLiteral("投流") << QStringLiteral("投流");
        QTest::newRow("UV") << QStringLiteral("UV") << QStringLiteral("UV");
        QTest::newRow("PV") << QStringLiteral("PV") << QStringLiteral("PV");
        QTest::newRow("CTR") << QStringLiteral("CTR") << QStringLiteral("CTR");
        QTest::newRow("ARPU") << QStringLiteral("ARPU") << QStringLiteral("ARPU");
        QTest::newRow("NPS") << QStringLiteral("NPS") << QStringLiteral("NPS");
        QTest::newRow("出海") << QStringLiteral("出海") << QStringLiteral("出海");
        QTest::newRow("HC") << QStringLiteral("HC") << QStringLiteral("HC");
        QTest::newRow("内卷") << QStringLiteral("内卷") << QStringLiteral("内卷");

        // Short forms that only a name derived from a title may take.
        QTest::newRow("灰度") << QStringLiteral("灰度") << QStringLiteral("灰度");
        QTest::newRow("留存") << QStringLiteral("留存") << QStringLiteral("留存");
        QTest::newRow("转化") << QStringLiteral("转化") << QStringLiteral("转化");
        QTest::newRow("漏斗") << QStringLiteral("漏斗") << QStringLiteral("漏斗");
        QTest::newRow("公域") << QStringLiteral("公域") << QStringLiteral("公域");
        QTest::newRow("获客") << QStringLiteral("获客") << QStringLiteral("获客");
        QTest::newRow("促活") << QStringLiteral("促活") << QStringLiteral("促活");
        QTest::newRow("脱敏") << QStringLiteral("脱敏") << QStringLiteral("脱敏");
        QTest::newRow("上云") << QStringLiteral("上云") << QStringLiteral("云计算");
        QTest::newRow("闭源") << QStringLiteral("闭源") << QStringLiteral("闭源");

        // Other spellings of terms already explained.
        QTest::newRow("ToG") << QStringLiteral("ToG") << QStringLiteral("ToG");
        QTest::newRow("深度思考") << QStringLiteral("深度思考") << QStringLiteral("推理模型");
        QTest::newRow("CR") << QStringLiteral("CR") << QStringLiteral("代码评审");
        QTest::newRow("MR") << QStringLiteral("提个 MR") << QStringLiteral("合并请求");
        QTest::newRow("ROAS") << QStringLiteral("ROAS") << QStringLiteral("ROI");
        QTest::newRow("投产比") << QStringLiteral("投产比怎么算") << QStringLiteral("ROI");
        QTest::newRow("联网搜索") << QStringLiteral("联网搜索") << QStringLiteral("AI 搜索");
        QTest::newRow("闭源大模型") << QStringLiteral("闭源大模型") << QStringLiteral("闭源");

        // Names an explanation uses, and the everyday and glued forms of them.
        QTest::newRow("开放权重") << QStringLiteral("开放权重") << QStringLiteral("开源模型");
        QTest::newRow("奖励模型") << QStringLiteral("奖励模型") << QStringLiteral("RLHF");
        QTest::newRow("Reward Model") << QStringLiteral("reward model") << QStringLiteral("RLHF");
        QTest::newRow("学生模型") << QStringLiteral("学生模型") << QStringLiteral("蒸馏");
        QTest::newRow("教师模型") << QStringLiteral("教师模型") << QStringLiteral("蒸馏");
        QTest::newRow("短期记忆") << QStringLiteral("短期记忆") << QStringLiteral("智能体记忆");
        QTest::newRow("图片生成") << QStringLiteral("AI图片生成") << QStringLiteral("文生图");
        QTest::newRow("客服机器人") << QStringLiteral("客服机器人") << QStringLiteral("聊天机器人");
        QTest::newRow("连接器") << QStringLiteral("连接器") << QStringLiteral("插件");
        QTest::newRow("Lakehouse") << QStringLiteral("Lakehouse") << QStringLiteral("数据湖");
        QTest::newRow("垃圾进垃圾出")
            << QStringLiteral("垃圾进，垃圾出") << QStringLiteral("数据清洗");
        QTest::newRow("独立访客") << QStringLiteral("独立访客") << QStringLiteral("UV");
        QTest::newRow("四个9") << QStringLiteral("四个9") << QStringLiteral("高可用");
        QTest::newRow("几个 9") << QStringLiteral("几个 9") << QStringLiteral("高可用");
        QTest::newRow("三个9") << QStringLiteral("三个9") << QStringLiteral("高可用");
        QTest::newRow("五个 9") << QStringLiteral("五个 9") << QStringLiteral("高可用");
        QTest::newRow("五个9的可用性")
            << QStringLiteral("做到五个9的可用性") << QStringLiteral("高可用");
        QTest::newRow("小步快跑") << QStringLiteral("小步快跑") << QStringLiteral("迭代");
        QTest::newRow("成交额") << QStringLiteral("成交额") << QStringLiteral("GMV");
        QTest::newRow("交易额") << QStringLiteral("交易额") << QStringLiteral("GMV");
        QTest::newRow("回报率") << QStringLiteral("回报率") << QStringLiteral("ROI");
        QTest::newRow("拔草") << QStringLiteral("拔草") << QStringLiteral("种草");
        QTest::newRow("监管沙箱") << QStringLiteral("监管沙箱") << QStringLiteral("沙箱");
        QTest::newRow("产品召回") << QStringLiteral("产品召回") << QStringLiteral("召回");
        QTest::newRow("AIAgent") << QStringLiteral("AIAgent") << QStringLiteral("智能体");
        QTest::newRow("ScalingLaw") << QStringLiteral("ScalingLaw") << QStringLiteral("规模定律");
        QTest::newRow("PullRequest") << QStringLiteral("PullRequest") << QStringLiteral("合并请求");
        QTest::newRow("LandingPage") << QStringLiteral("LandingPage") << QStringLiteral("落地页");
    }
    void termsPeopleMeetAreAnswered()
    {
        QFETCH(QString, query);
        QFETCH(QString, name);
        const auto found = m_store.match(query);
        QVERIFY2(titleMentions(found, name),
                 qPrintable(
                     QStringLiteral("「%1」 finds %2, not the entry on 「%3」")
                         .arg(query, found ? describe(*found) : QStringLiteral("nothing"), name)));
    }
};

QTEST_GUILESS_MAIN(BuiltinDictionaryTest)
#include "tst_builtindictionary.moc"
