#include "reverselookupmatch.h"

#include <QJsonValue>

namespace wordlumen {

QString ReverseLookupMatch::id() const
{
    return term + u'|' + english.value_or(QString());
}

QString ReverseLookupMatch::displayTerm() const
{
    if (english && !english->isEmpty() && english->compare(term, Qt::CaseInsensitive) != 0)
        return term + QStringLiteral(" · ") + *english;
    return term;
}

QJsonObject ReverseLookupMatch::toJson() const
{
    QJsonObject object{{QStringLiteral("term"), term}, {QStringLiteral("reason"), reason}};
    if (english)
        object.insert(QStringLiteral("english"), *english);
    if (confidence)
        object.insert(QStringLiteral("confidence"), *confidence);
    return object;
}

std::optional<ReverseLookupMatch> ReverseLookupMatch::fromJson(const QJsonObject &object)
{
    const QJsonValue term = object.value(QStringLiteral("term"));
    const QJsonValue reason = object.value(QStringLiteral("reason"));
    if (!term.isString() || !reason.isString())
        return std::nullopt;

    // Optional keys may be absent or null; any other non-string makes the
    // object undecodable, as a strict decoder would.
    auto optionalString = [&object](const QString &key, bool *ok) -> std::optional<QString> {
        const QJsonValue value = object.value(key);
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        if (!value.isString()) {
            *ok = false;
            return std::nullopt;
        }
        return value.toString();
    };
    bool ok = true;
    ReverseLookupMatch match;
    match.term = term.toString();
    match.reason = reason.toString();
    match.english = optionalString(QStringLiteral("english"), &ok);
    match.confidence = optionalString(QStringLiteral("confidence"), &ok);
    if (!ok)
        return std::nullopt;
    return match;
}

} // namespace wordlumen
