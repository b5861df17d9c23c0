#pragma once

#include <QAnyStringView>
#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class QSettings;

namespace wordlumen {

/// How a stored setting's value is kept and checked.
enum class SettingType
{
    /// Any text, stored as typed.
    Text,
    /// One of a fixed list of stored forms.
    Choice,
    /// true or false.
    Boolean,
    /// A whole number within a range.
    Integer,
    /// A number (a place on the desktop).
    Number,
};

/**
 * One stored setting: its key in the settings file, the kind of value, the
 * default that stands when nothing is stored, and the values a write may
 * store. Every part of the program that reads or writes a setting, and the
 * terminal's `config` verb, takes its key and default from here.
 */
struct SettingSpec
{
    QLatin1StringView key;
    SettingType type = SettingType::Text;
    /// Invalid for a setting without one (a place not yet chosen).
    QVariant defaultValue;
    /// The stored forms of a Choice, in the order they are offered.
    QStringList choices;
    /// The range of an Integer, both ends allowed.
    qint64 minimum = 0;
    qint64 maximum = 0;
    /// Whether `wordlumen-cli config` reads and writes it.
    bool terminal = false;

    /// The stored value, or the default when nothing is stored (raw: a reader applies its own
    /// rule).
    [[nodiscard]] QVariant stored(const QSettings &settings) const;
    /// The stored value as the terminal prints it: text, true/false or a number.
    [[nodiscard]] QString storedText(const QSettings &settings) const;
    /**
     * The value a typed text stands for, checked against the type, the
     * choices and the range; nothing when the text is no such value. Text
     * goes as typed.
     */
    [[nodiscard]] std::optional<QVariant> parse(const QString &text) const;
    /// What a write may store, for a message: the choices, "true、false" or the range.
    [[nodiscard]] QString allowedText() const;
};

namespace SettingsSchema {

// The explanation style of online answers.
[[nodiscard]] const SettingSpec &explanationAudience();
[[nodiscard]] const SettingSpec &explanationLength();
[[nodiscard]] const SettingSpec &customExplanationPerspective();
// The online service.
[[nodiscard]] const SettingSpec &deepseekEndpoint();
[[nodiscard]] const SettingSpec &deepseekModel();
// The floating panel: its place (desktop coordinates) and the trigger's shape.
[[nodiscard]] const SettingSpec &floatingCardOriginX();
[[nodiscard]] const SettingSpec &floatingCardOriginY();
[[nodiscard]] const SettingSpec &floatingTriggerStyle();
// The global shortcut that looks up the selection, in Qt's portable text.
[[nodiscard]] const SettingSpec &globalShortcut();
// The lookup history: 「记录查询历史」 and how many entries are kept.
[[nodiscard]] const SettingSpec &historyEnabled();
[[nodiscard]] const SettingSpec &historyLimit();

/// Every setting, in the order the terminal lists them.
[[nodiscard]] QList<const SettingSpec *> all();
/// The setting stored under `key`; null for none.
[[nodiscard]] const SettingSpec *find(QAnyStringView key);

} // namespace SettingsSchema
} // namespace wordlumen
