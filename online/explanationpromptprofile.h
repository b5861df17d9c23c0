#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace wordlumen {

/// For whom an online explanation is written. The stored form is the raw value.
enum class ExplanationAudience
{
    Plain,
    QuickStart,
    IndustryStarter,
    ReadyToAdvance,
    Custom,
};

/// How long an online explanation may be. The stored form is the raw value.
enum class ExplanationLength
{
    Brief,
    Standard,
    Detailed,
};

/// Every audience in picker order.
[[nodiscard]] QList<ExplanationAudience> allExplanationAudiences();
/// Every length in selector order.
[[nodiscard]] QList<ExplanationLength> allExplanationLengths();

/// The raw value ("plain", "quickStart", …).
[[nodiscard]] QString toString(ExplanationAudience audience);
/// Exact, case-sensitive match of a raw value.
[[nodiscard]] std::optional<ExplanationAudience> explanationAudienceFromString(QStringView text);
[[nodiscard]] QString title(ExplanationAudience audience);
[[nodiscard]] QString summary(ExplanationAudience audience);

/**
 * Reads a stored audience leniently: nothing, empty text and any unknown text
 * (including the values older versions stored, such as "elder") read as plain.
 * The stored value itself is left as it is.
 */
[[nodiscard]] ExplanationAudience audienceFromStoredValue(const std::optional<QString> &stored);

/// The raw value ("brief", "standard", "detailed").
[[nodiscard]] QString toString(ExplanationLength length);
/// Exact, case-sensitive match of a raw value.
[[nodiscard]] std::optional<ExplanationLength> explanationLengthFromString(QStringView text);
[[nodiscard]] QString title(ExplanationLength length);
[[nodiscard]] QString summary(ExplanationLength length);

/**
 * The hard limit, in user-perceived characters, of every answer shown at this
 * length: 60, 100 or 180. The prompt's target range sits below it.
 */
[[nodiscard]] int maximumCharacterCount(ExplanationLength length);

/// The limit no answer exceeds, whatever the length.
inline constexpr int kAbsoluteCharacterLimit = 180;

/// How the online service is asked to write an explanation.
struct ExplanationPromptProfile
{
    ExplanationAudience audience = ExplanationAudience::Plain;
    ExplanationLength length = ExplanationLength::Standard;
    /// As the user typed it; kept whatever the audience, used only for Custom.
    QString customPerspective;

    bool operator==(const ExplanationPromptProfile &) const = default;

    /// Reads the three stored keys afresh; nothing is cached.
    [[nodiscard]] static ExplanationPromptProfile current();

    /// The system message of an explanation request.
    [[nodiscard]] QString systemPrompt() const;

    [[nodiscard]] int maximumCharacterCount() const;
};

} // namespace wordlumen
