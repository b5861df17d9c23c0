#include "online/explanationpromptprofile.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using namespace wordlumen;

Q_DECLARE_METATYPE(wordlumen::ExplanationAudience)
Q_DECLARE_METATYPE(wordlumen::ExplanationLength)
Q_DECLARE_METATYPE(wordlumen::ExplanationPromptProfile)

namespace wordlumen {
// Readable failures of QCOMPARE on profiles.
char *toString(const ExplanationPromptProfile &profile)
{
    return QTest::toString(
        QStringLiteral("{%1, %2, \"%3\"}")
            .arg(toString(profile.audience), toString(profile.length), profile.customPerspective));
}
} // namespace wordlumen

namespace {

// The prompt for the defaults, written out whole.
const QString kPlainStandardPrompt = QStringLiteral(
    "你是放在电脑旁边的“Wordlumen”。把用户输入的 AI、软件或互联网术语翻成普通人马上能懂的白话。\n"
    "\n"
    "解释视角：\n"
    "面向没有专业背景的普通成年人，达到初中生也能听懂的程度；使用自然但不幼稚的白话，不预设用户懂行"
    "业术语。\n"
    "\n"
    "固定结构：\n"
    "先用一句白话说清是什么，再给一个贴近日常生活的类比；只有必要时补一句限制。\n"
    "\n"
    "输出要求：\n"
    "- 写两到三句，目标 70～100 个汉字。\n"
    "- 解释视角只改变内容重点和信息密度，不得因此增加篇幅。\n"
    "- 当前长度档的最终解释不得超过 100 个汉字；任何情况下都不得超过 180 个汉字。\n"
    "- 必须在字数上限前结束完整句子；宁可少讲一层，也不要把最后一句截断。\n"
    "- 不堆叠新术语；无法避免时，在同一句中顺手解释。\n"
    "- 不写标题、序号、开场寒暄，也不说“作为 AI”。\n"
    "- 如果输入含多个术语，优先解释最关键的一个；不确定缩写含义时说明可能含义，不要编造。");

const QString kPlainPerspective =
    QStringLiteral("面向没有专业背景的普通成年人，达到初中生也能听懂的程度；使用自然但不幼稚的白话"
                   "，不预设用户懂行业术语。");
const QString kPlainStructure =
    QStringLiteral("先用一句白话说清是什么，再给一个贴近日常生活的类比；只有必要时补一句限制。");
const QString kCustomStructure =
    QStringLiteral("按自定义视角组织内容，但仍先给结论，再补最有帮助的一层说明。");
const QString kStandardTarget = QStringLiteral("写两到三句，目标 70～100 个汉字。");

/// The default prompt with its variable parts replaced, each found exactly once.
QString promptWith(const QString &perspective, const QString &structure, const QString &target,
                   int limit)
{
    QString prompt = kPlainStandardPrompt;
    auto replaceOnce = [&prompt](const QString &from, const QString &to) {
        QCOMPARE(prompt.count(from), 1);
        prompt.replace(from, to);
    };
    replaceOnce(QStringLiteral("解释视角：\n") + kPlainPerspective,
                QStringLiteral("解释视角：\n") + perspective);
    replaceOnce(kPlainStructure, structure);
    replaceOnce(kStandardTarget, target);
    replaceOnce(QStringLiteral("不得超过 100 个汉字"),
                QStringLiteral("不得超过 %1 个汉字").arg(limit));
    return prompt;
}

} // namespace

class ExplanationPromptProfileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("Zintaro"));
        // A settings file of its own, so test executables may run in parallel.
        QCoreApplication::setApplicationName(
            QStringLiteral("Wordlumen-tst_explanationpromptprofile"));
    }
    void init() { QSettings().clear(); }
    void cleanupTestCase() { QSettings().clear(); }

    void defaultsGiveTheWholePlainPrompt()
    {
        const ExplanationPromptProfile profile = ExplanationPromptProfile::current();
        QCOMPARE(profile, ExplanationPromptProfile{});
        QCOMPARE(profile.systemPrompt(), kPlainStandardPrompt);
        QCOMPARE(profile.maximumCharacterCount(), 100);
    }

    void promptForEveryAudience_data()
    {
        QTest::addColumn<ExplanationAudience>("audience");
        QTest::addColumn<QString>("customPerspective");
        QTest::addColumn<QString>("perspective");
        QTest::addColumn<QString>("structure");

        const QString ignoredCustom = QStringLiteral("像给投资人讲");
        QTest::addRow("plain ignores the custom text")
            << ExplanationAudience::Plain << ignoredCustom << kPlainPerspective << kPlainStructure;
        QTest::addRow("quickStart")
            << ExplanationAudience::QuickStart << ignoredCustom
            << QStringLiteral("面向第一次接触这个概念、但希望马上用于工作的人；保留最少量必要术语，"
                              "并在同一句里顺手解释。")
            << QStringLiteral("先说它是什么，再说解决什么问题或通常在哪里使用；必要术语随句解释。");
        QTest::addRow("industryStarter")
            << ExplanationAudience::IndustryStarter << QString()
            << QStringLiteral("面向已经接触过相关行业的人；说明概念在工作流程中的位置、典型用法和一"
                              "个常见误区，不堆术语。")
            << QStringLiteral("先定位它在工作流程中的作用，再给一个典型用法或常见误区。");
        QTest::addRow("readyToAdvance")
            << ExplanationAudience::ReadyToAdvance << QString()
            << QStringLiteral("面向准备继续深入的人；聚焦一个关键机制、适用边界或方案权衡，必要时指"
                              "出最相关的上下游概念。")
            << QStringLiteral(
                   "先解释一个关键机制，再说明一个边界、权衡或判断标准；只展开最重要的一层。");
        QTest::addRow("custom repeats the label before the user's text")
            << ExplanationAudience::Custom << QStringLiteral("像给投资人讲")
            << QStringLiteral("解释视角：像给投资人讲") << kCustomStructure;
        QTest::addRow("custom trimmed at both ends, inner breaks kept")
            << ExplanationAudience::Custom << QStringLiteral("  \t先讲成本\n再讲风险\r\n\n")
            << QStringLiteral("解释视角：先讲成本\n再讲风险") << kCustomStructure;
        QTest::addRow("custom blank falls back")
            << ExplanationAudience::Custom << QStringLiteral(" \n\u3000\t ")
            << QStringLiteral("按用户填写的自定义视角解释。") << kCustomStructure;
        QTest::addRow("custom empty falls back")
            << ExplanationAudience::Custom << QString()
            << QStringLiteral("按用户填写的自定义视角解释。") << kCustomStructure;
    }
    void promptForEveryAudience()
    {
        QFETCH(ExplanationAudience, audience);
        QFETCH(QString, customPerspective);
        QFETCH(QString, perspective);
        QFETCH(QString, structure);
        const ExplanationPromptProfile profile{audience, ExplanationLength::Standard,
                                               customPerspective};
        QCOMPARE(profile.systemPrompt(), promptWith(perspective, structure, kStandardTarget, 100));
    }

    void promptForEveryLength_data()
    {
        QTest::addColumn<ExplanationLength>("length");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("limit");
        QTest::addRow("brief") << ExplanationLength::Brief
                               << QStringLiteral("只写一到两句，目标 40～60 个汉字。") << 60;
        QTest::addRow("standard") << ExplanationLength::Standard << kStandardTarget << 100;
        QTest::addRow("detailed") << ExplanationLength::Detailed
                                  << QStringLiteral("最多三小段，目标 120～170 个汉字。") << 180;
    }
    void promptForEveryLength()
    {
        QFETCH(ExplanationLength, length);
        QFETCH(QString, target);
        QFETCH(int, limit);
        const ExplanationPromptProfile profile{ExplanationAudience::Plain, length, {}};
        QCOMPARE(profile.maximumCharacterCount(), limit);
        QCOMPARE(maximumCharacterCount(length), limit);
        QCOMPARE(profile.systemPrompt(),
                 promptWith(kPlainPerspective, kPlainStructure, target, limit));
    }

    void currentReadsTheStoredValues_data()
    {
        QTest::addColumn<QVariant>("audience");
        QTest::addColumn<QVariant>("length");
        QTest::addColumn<QVariant>("perspective");
        QTest::addColumn<ExplanationPromptProfile>("profile");
        const QVariant absent;
        QTest::addRow("nothing stored") << absent << absent << absent << ExplanationPromptProfile{};
        QTest::addRow("every value")
            << QVariant(QStringLiteral("readyToAdvance")) << QVariant(QStringLiteral("detailed"))
            << QVariant(QStringLiteral(" 视角 "))
            << ExplanationPromptProfile{ExplanationAudience::ReadyToAdvance,
                                        ExplanationLength::Detailed, QStringLiteral(" 视角 ")};
        for (const char *legacy : {"elder", "parent", "juniorHigh", "elementary", "Custom", ""}) {
            QTest::addRow("audience \"%s\" reads as plain", legacy)
                << QVariant(QString::fromLatin1(legacy)) << absent << absent
                << ExplanationPromptProfile{};
        }
        QTest::addRow("length in other letter case")
            << absent << QVariant(QStringLiteral("Brief")) << absent << ExplanationPromptProfile{};
        QTest::addRow("brief") << QVariant(QStringLiteral("custom"))
                               << QVariant(QStringLiteral("brief")) << absent
                               << ExplanationPromptProfile{
                                      ExplanationAudience::Custom, ExplanationLength::Brief, {}};
    }
    void currentReadsTheStoredValues()
    {
        QFETCH(QVariant, audience);
        QFETCH(QVariant, length);
        QFETCH(QVariant, perspective);
        QFETCH(ExplanationPromptProfile, profile);
        QSettings settings;
        const std::pair<const char *, QVariant> stored[] = {
            {"explanationAudience", audience},
            {"explanationLength", length},
            {"customExplanationPerspective", perspective}};
        for (const auto &[key, value] : stored) {
            if (value.isValid())
                settings.setValue(QLatin1String(key), value);
        }
        settings.sync();
        QCOMPARE(ExplanationPromptProfile::current(), profile);
        // Reading never rewrites what was stored.
        QCOMPARE(QSettings().value(QStringLiteral("explanationAudience")), audience);
    }

    void profilesDifferingOnlyInTheCustomTextDiffer()
    {
        const ExplanationPromptProfile a{ExplanationAudience::Plain, ExplanationLength::Standard,
                                         QStringLiteral("甲")};
        ExplanationPromptProfile b = a;
        b.customPerspective = QStringLiteral("乙");
        QVERIFY(a != b);
        QCOMPARE(a.systemPrompt(), b.systemPrompt());
    }

    // The stored form round-trips for every case and is compared exactly.
    void rawValuesRoundTripCaseSensitively()
    {
        for (const ExplanationAudience audience : allExplanationAudiences())
            QVERIFY(explanationAudienceFromString(toString(audience)) == audience);
        for (const ExplanationLength length : allExplanationLengths())
            QVERIFY(explanationLengthFromString(toString(length)) == length);
        QVERIFY(!explanationLengthFromString(u"Standard"));
        QVERIFY(!explanationAudienceFromString(u"Plain"));
    }
};

QTEST_GUILESS_MAIN(ExplanationPromptProfileTest)
#include "tst_explanationpromptprofile.moc"
