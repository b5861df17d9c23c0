#include "settingsschema.h"

#include <QSettings>

namespace wordlumen {

namespace {

SettingSpec text(const char *key, QString defaultValue, bool terminal = true)
{
    return {QLatin1StringView(key), SettingType::Text, std::move(defaultValue), {}, 0, 0, terminal};
}

SettingSpec choice(const char *key, QStringList choices)
{
    const QString first = choices.value(0);
    return {QLatin1StringView(key), SettingType::Choice, first, std::move(choices), 0, 0, true};
}

std::optional<bool> booleanFrom(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    // Settings files keep booleans as text.
    const QString text = value.toString().trimmed().toLower();
    if (text == u"true")
        return true;
    if (text == u"false")
        return false;
    return std::nullopt;
}

} // namespace

QVariant SettingSpec::stored(const QSettings &settings) const
{
    const QVariant value = settings.value(key);
    return value.isValid() ? value : defaultValue;
}

QString SettingSpec::storedText(const QSettings &settings) const
{
    const QVariant value = stored(settings);
    if (type == SettingType::Boolean) {
        const bool on = booleanFrom(value).value_or(defaultValue.toBool());
        return on ? QStringLiteral("true") : QStringLiteral("false");
    }
    return value.toString();
}

std::optional<QVariant> SettingSpec::parse(const QString &text) const
{
    switch (type) {
    case SettingType::Text:
        return QVariant(text);
    case SettingType::Choice:
        if (choices.contains(text))
            return QVariant(text);
        return std::nullopt;
    case SettingType::Boolean:
        if (text == u"true" || text == u"false")
            return QVariant(text == u"true");
        return std::nullopt;
    case SettingType::Integer: {
        bool ok = false;
        const qint64 number = text.toLongLong(&ok);
        if (!ok || number < minimum || number > maximum)
            return std::nullopt;
        return QVariant(number);
    }
    case SettingType::Number: {
        bool ok = false;
        const double number = text.toDouble(&ok);
        if (!ok)
            return std::nullopt;
        return QVariant(number);
    }
    }
    return std::nullopt;
}

QString SettingSpec::allowedText() const
{
    switch (type) {
    case SettingType::Choice:
        return choices.join(QStringLiteral("、"));
    case SettingType::Boolean:
        return QStringLiteral("true、false");
    case SettingType::Integer:
        return QStringLiteral("%1 到 %2 之间的整数").arg(minimum).arg(maximum);
    case SettingType::Number:
        return QStringLiteral("一个数");
    case SettingType::Text:
        break;
    }
    return QStringLiteral("任意文字");
}

namespace SettingsSchema {

// The stored forms of the choices are those of the types they stand for
// (ExplanationAudience, ExplanationLength, FloatingTriggerStyle); a test
// checks that both agree.

const SettingSpec &explanationAudience()
{
    static const SettingSpec spec =
        choice("explanationAudience", {QStringLiteral("plain"), QStringLiteral("quickStart"),
                                       QStringLiteral("industryStarter"),
                                       QStringLiteral("readyToAdvance"), QStringLiteral("custom")});
    return spec;
}

const SettingSpec &explanationLength()
{
    static const SettingSpec spec = [] {
        SettingSpec s =
            choice("explanationLength", {QStringLiteral("brief"), QStringLiteral("standard"),
                                         QStringLiteral("detailed")});
        s.defaultValue = QStringLiteral("standard");
        return s;
    }();
    return spec;
}

const SettingSpec &customExplanationPerspective()
{
    static const SettingSpec spec = text("customExplanationPerspective", QString());
    return spec;
}

const SettingSpec &deepseekEndpoint()
{
    static const SettingSpec spec =
        text("deepseekEndpoint", QStringLiteral("https://api.deepseek.com/chat/completions"));
    return spec;
}

const SettingSpec &deepseekModel()
{
    static const SettingSpec spec = text("deepseekModel", QStringLiteral("deepseek-v4-flash"));
    return spec;
}

const SettingSpec &floatingCardOriginX()
{
    static const SettingSpec spec{
        QLatin1StringView("floatingCardOriginX"), SettingType::Number, {}, {}, 0, 0, false};
    return spec;
}

const SettingSpec &floatingCardOriginY()
{
    static const SettingSpec spec{
        QLatin1StringView("floatingCardOriginY"), SettingType::Number, {}, {}, 0, 0, false};
    return spec;
}

const SettingSpec &floatingTriggerStyle()
{
    static const SettingSpec spec =
        choice("floatingTriggerStyle", {QStringLiteral("compact"), QStringLiteral("wide")});
    return spec;
}

const SettingSpec &globalShortcut()
{
    static const SettingSpec spec = text("globalShortcut", QStringLiteral("Ctrl+Alt+E"), false);
    return spec;
}

const SettingSpec &historyEnabled()
{
    static const SettingSpec spec{
        QLatin1StringView("historyEnabled"), SettingType::Boolean, true, {}, 0, 0, true};
    return spec;
}

const SettingSpec &historyLimit()
{
    // Entries kept before the oldest unstarred ones are evicted; starred ones always stay.
    static const SettingSpec spec{
        QLatin1StringView("historyLimit"), SettingType::Integer, 1000, {}, 10, 100000, true};
    return spec;
}

QList<const SettingSpec *> all()
{
    return {&deepseekEndpoint(),
            &deepseekModel(),
            &explanationAudience(),
            &explanationLength(),
            &customExplanationPerspective(),
            &floatingTriggerStyle(),
            &floatingCardOriginX(),
            &floatingCardOriginY(),
            &globalShortcut(),
            &historyEnabled(),
            &historyLimit()};
}

const SettingSpec *find(QAnyStringView key)
{
    for (const SettingSpec *spec : all()) {
        if (QAnyStringView::equal(spec->key, key))
            return spec;
    }
    return nullptr;
}

} // namespace SettingsSchema
} // namespace wordlumen
