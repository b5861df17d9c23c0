#include "explanationpromptprofile.h"

#include "core/settingsschema.h"
#include "core/textmetrics.h"

#include <QSettings>

#include <array>

namespace wordlumen {

namespace {

struct AudienceTexts
{
    ExplanationAudience audience;
    const char16_t *raw;
    const char16_t *title;
    const char16_t *summary;
    /// Empty for Custom, whose perspective comes from the user.
    const char16_t *perspective;
    const char16_t *structure;
};

// Picker order. The summaries keep two spaces on each side of every arrow.
constexpr std::array<AudienceTexts, 5> kAudiences{{
    {ExplanationAudience::Plain, u"plain", u"通俗白话", u"一句白话  →  一个生活类比  →  必要限制",
     u"面向没有专业背景的普通成年人，达到初中生也能听懂的程度；使用自然但不幼稚的白话，"
     u"不预设用户懂行业术语。",
     u"先用一句白话说清是什么，再给一个贴近日常生活的类比；只有必要时补一句限制。"},
    {ExplanationAudience::QuickStart, u"quickStart", u"快速入门",
     u"一句定义  →  解决什么问题  →  常见场景",
     u"面向第一次接触这个概念、但希望马上用于工作的人；保留最少量必要术语，并在同一句里顺手解释。",
     u"先说它是什么，再说解决什么问题或通常在哪里使用；必要术语随句解释。"},
    {ExplanationAudience::IndustryStarter, u"industryStarter", u"业内初阶",
     u"流程位置  →  典型用法  →  常见误区",
     u"面向已经接触过相关行业的人；说明概念在工作流程中的位置、典型用法和一个常见误区，不堆术语。",
     u"先定位它在工作流程中的作用，再给一个典型用法或常见误区。"},
    {ExplanationAudience::ReadyToAdvance, u"readyToAdvance", u"准备进阶",
     u"关键机制  →  适用边界  →  一个权衡",
     u"面向准备继续深入的人；聚焦一个关键机制、适用边界或方案权衡，必要时指出最相关的上下游概念。",
     u"先解释一个关键机制，再说明一个边界、权衡或判断标准；只展开最重要的一层。"},
    {ExplanationAudience::Custom, u"custom", u"自定义", u"先给结论  →  按自定义视角补充一层", u"",
     u"按自定义视角组织内容，但仍先给结论，再补最有帮助的一层说明。"},
}};

struct LengthTexts
{
    ExplanationLength length;
    const char16_t *raw;
    const char16_t *title;
    const char16_t *summary;
    const char16_t *target;
    int maximum;
};

constexpr std::array<LengthTexts, 3> kLengths{{
    {ExplanationLength::Brief, u"brief", u"精简", u"快速扫读 · 1～2 句 · 40～60 字",
     u"只写一到两句，目标 40～60 个汉字。", 60},
    {ExplanationLength::Standard, u"standard", u"推荐", u"推荐默认 · 2～3 句 · 70～100 字",
     u"写两到三句，目标 70～100 个汉字。", 100},
    {ExplanationLength::Detailed, u"detailed", u"完整", u"完整理解 · 最多 3 小段 · 120～170 字",
     u"最多三小段，目标 120～170 个汉字。", 180},
}};

const AudienceTexts &texts(ExplanationAudience audience)
{
    for (const AudienceTexts &entry : kAudiences) {
        if (entry.audience == audience)
            return entry;
    }
    return kAudiences[0];
}

const LengthTexts &texts(ExplanationLength length)
{
    for (const LengthTexts &entry : kLengths) {
        if (entry.length == length)
            return entry;
    }
    return kLengths[1];
}

QString string(const char16_t *text)
{
    return QString::fromUtf16(text);
}

} // namespace

QList<ExplanationAudience> allExplanationAudiences()
{
    QList<ExplanationAudience> all;
    for (const AudienceTexts &entry : kAudiences)
        all.append(entry.audience);
    return all;
}

QList<ExplanationLength> allExplanationLengths()
{
    QList<ExplanationLength> all;
    for (const LengthTexts &entry : kLengths)
        all.append(entry.length);
    return all;
}

QString toString(ExplanationAudience audience)
{
    return string(texts(audience).raw);
}

std::optional<ExplanationAudience> explanationAudienceFromString(QStringView text)
{
    for (const AudienceTexts &entry : kAudiences) {
        if (text == QStringView(entry.raw))
            return entry.audience;
    }
    return std::nullopt;
}

QString title(ExplanationAudience audience)
{
    return string(texts(audience).title);
}

QString summary(ExplanationAudience audience)
{
    return string(texts(audience).summary);
}

ExplanationAudience audienceFromStoredValue(const std::optional<QString> &stored)
{
    if (!stored)
        return ExplanationAudience::Plain;
    return explanationAudienceFromString(*stored).value_or(ExplanationAudience::Plain);
}

QString toString(ExplanationLength length)
{
    return string(texts(length).raw);
}

std::optional<ExplanationLength> explanationLengthFromString(QStringView text)
{
    for (const LengthTexts &entry : kLengths) {
        if (text == QStringView(entry.raw))
            return entry.length;
    }
    return std::nullopt;
}

QString title(ExplanationLength length)
{
    return string(texts(length).title);
}

QString summary(ExplanationLength length)
{
    return string(texts(length).summary);
}

int maximumCharacterCount(ExplanationLength length)
{
    return texts(length).maximum;
}

ExplanationPromptProfile ExplanationPromptProfile::current()
{
    const QSettings settings;
    auto storedText = [&settings](const SettingSpec &spec) -> std::optional<QString> {
        const QVariant value = settings.value(spec.key);
        if (!value.isValid())
            return std::nullopt;
        return value.toString();
    };

    ExplanationPromptProfile profile;
    profile.audience = audienceFromStoredValue(storedText(SettingsSchema::explanationAudience()));
    // Only the two other exact raw values move the length off the default.
    const std::optional<QString> length = storedText(SettingsSchema::explanationLength());
    profile.length =
        length ? explanationLengthFromString(*length).value_or(ExplanationLength::Standard)
               : ExplanationLength::Standard;
    profile.customPerspective =
        storedText(SettingsSchema::customExplanationPerspective()).value_or(QString());
    return profile;
}

QString ExplanationPromptProfile::systemPrompt() const
{
    QString perspective;
    if (audience == ExplanationAudience::Custom) {
        const QString trimmed = TextMetrics::trimmed(customPerspective);
        // The section heading already says "解释视角："; repeating it before the
        // user's own text marks where their words begin.
        perspective = trimmed.isEmpty() ? QStringLiteral("按用户填写的自定义视角解释。")
                                        : QStringLiteral("解释视角：") + trimmed;
    } else {
        perspective = string(texts(audience).perspective);
    }

    const LengthTexts &lengthTexts = texts(length);
    return QStringLiteral("你是放在电脑旁边的“Wordlumen”。把用户输入的 "
                          "AI、软件或互联网术语翻成普通人马上能懂的"
                          "白话。\n\n解释视角：\n") +
           perspective + QStringLiteral("\n\n固定结构：\n") + string(texts(audience).structure) +
           QStringLiteral("\n\n输出要求：\n- ") + string(lengthTexts.target) +
           QStringLiteral("\n- 解释视角只改变内容重点和信息密度，不得因此增加篇幅。\n- "
                          "当前长度档的最终解释不得超过 ") +
           QString::number(lengthTexts.maximum) + QStringLiteral(" 个汉字；任何情况下都不得超过 ") +
           QString::number(kAbsoluteCharacterLimit) +
           QStringLiteral(" 个汉字。\n- "
                          "必须在字数上限前结束完整句子；宁可少讲一层，也不要把最后一句截断。\n- "
                          "不堆叠新术语；无法避免时，在同一句中顺手解释。\n- "
                          "不写标题、序号、开场寒暄，也不说“作为 AI”。\n- "
                          "如果输入含多个术语，优先解释最关键的一个；不确定缩写含义时说明可能含义，"
                          "不要编造。");
}

int ExplanationPromptProfile::maximumCharacterCount() const
{
    return wordlumen::maximumCharacterCount(length);
}

} // namespace wordlumen
