#include "launchrequest.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace wordlumen {

namespace {

constexpr std::pair<LaunchRequest::Action, const char *> kActionNames[] = {
    {LaunchRequest::Action::Open, "open"},
    {LaunchRequest::Action::Toggle, "toggle"},
    {LaunchRequest::Action::Lookup, "lookup"},
    {LaunchRequest::Action::Selection, "selection"},
    {LaunchRequest::Action::Settings, "settings"},
    {LaunchRequest::Action::Background, "background"},
};

} // namespace

QString toString(LaunchRequest::Action action)
{
    for (const auto &[value, name] : kActionNames) {
        if (value == action) {
            return QString::fromLatin1(name);
        }
    }
    return {};
}

std::optional<LaunchRequest::Action> launchActionFromString(const QString &name)
{
    for (const auto &[value, text] : kActionNames) {
        if (name == QLatin1StringView(text)) {
            return value;
        }
    }
    return std::nullopt;
}

QByteArray LaunchRequest::encode() const
{
    QJsonObject object{{QStringLiteral("action"), toString(action)}};
    if (action == Action::Lookup) {
        object[QStringLiteral("text")] = text;
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<LaunchRequest> LaunchRequest::decode(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    // What a launch of an earlier version sends: show the card again.
    if (trimmed == "reopen") {
        return LaunchRequest{};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(trimmed, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    const auto action = launchActionFromString(object.value(QStringLiteral("action")).toString());
    if (!action) {
        return std::nullopt;
    }
    LaunchRequest request{*action, {}};
    if (*action == Action::Lookup) {
        const QJsonValue text = object.value(QStringLiteral("text"));
        if (!text.isString()) {
            return std::nullopt;
        }
        request.text = text.toString();
    }
    return request;
}

} // namespace wordlumen
