#include "chatprotocol.h"

#include "core/textmetrics.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace wordlumen::ChatProtocol {

namespace {

// The registrable domain of the default endpoint's host. A plain suffix test:
// every subdomain of it counts as the service itself.
constexpr auto kServiceDomain = "deepseek.com";

constexpr int kMaximumMatches = 3;

/// Reads an optional string member: absent and null give nothing, other types fail.
bool optionalString(const QJsonObject &object, const QString &key, std::optional<QString> *out)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull()) {
        *out = std::nullopt;
        return true;
    }
    if (!value.isString())
        return false;
    *out = value.toString();
    return true;
}

/**
 * Decodes {"choices": [{<member>: {"content": string|null}}, …]} strictly: every
 * choice must have the member, as a strict decoder of the whole array would
 * require. Returns the first choice's content.
 */
std::optional<ChatDecodingError> decodeChoices(const QByteArray &json, const QString &member,
                                               std::optional<QString> *firstContent)
{
    using Kind = ChatDecodingError::Kind;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return ChatDecodingError(Kind::NotJson);
    if (!document.isObject())
        return ChatDecodingError(Kind::WrongType);

    const QJsonValue choices = document.object().value(QStringLiteral("choices"));
    if (choices.isUndefined())
        return ChatDecodingError(Kind::MissingValue);
    if (!choices.isArray())
        return ChatDecodingError(Kind::WrongType);

    *firstContent = std::nullopt;
    bool first = true;
    for (const QJsonValue choice : choices.toArray()) {
        if (!choice.isObject())
            return ChatDecodingError(Kind::WrongType);
        const QJsonValue message = choice.toObject().value(member);
        if (message.isUndefined())
            return ChatDecodingError(Kind::MissingValue);
        if (!message.isObject())
            return ChatDecodingError(Kind::WrongType);
        std::optional<QString> content;
        if (!optionalString(message.toObject(), QStringLiteral("content"), &content))
            return ChatDecodingError(Kind::WrongType);
        if (first)
            *firstContent = content;
        first = false;
    }
    return std::nullopt;
}

} // namespace

bool sendsThinkingSwitch(const QUrl &endpoint)
{
    const QString host = endpoint.host().toLower();
    return !host.isEmpty() && host.endsWith(QLatin1String(kServiceDomain));
}

QByteArray requestBody(const QString &model, const QString &systemPrompt,
                       const QString &userContent, bool stream, double temperature,
                       bool thinkingSwitch)
{
    const QJsonArray messages{
        QJsonObject{{QStringLiteral("role"), QStringLiteral("system")},
                    {QStringLiteral("content"), systemPrompt}},
        QJsonObject{{QStringLiteral("role"), QStringLiteral("user")},
                    {QStringLiteral("content"), userContent}},
    };
    QJsonObject body{
        {QStringLiteral("model"), model},
        {QStringLiteral("messages"), messages},
        {QStringLiteral("stream"), stream},
        {QStringLiteral("temperature"), temperature},
    };
    if (thinkingSwitch)
        body.insert(QStringLiteral("thinking"),
                    QJsonObject{{QStringLiteral("type"), QStringLiteral("disabled")}});
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

void LineSplitter::append(const QByteArray &data)
{
    if (m_position > 0 && m_position == m_buffer.size()) {
        m_buffer.clear();
        m_position = 0;
    }
    m_buffer.append(data);
}

std::optional<QByteArray> LineSplitter::nextLine()
{
    if (m_pendingCarriageReturn && m_position < m_buffer.size()) {
        // A CR ended the previous read; an LF right after it belongs to the same terminator.
        if (m_buffer.at(m_position) == '\n')
            ++m_position;
        m_pendingCarriageReturn = false;
    }
    const qsizetype size = m_buffer.size();
    for (qsizetype i = m_position; i < size; ++i) {
        const char c = m_buffer.at(i);
        if (c != '\n' && c != '\r')
            continue;
        QByteArray line = m_buffer.mid(m_position, i - m_position);
        m_position = i + 1;
        if (c == '\r') {
            if (m_position < size) {
                if (m_buffer.at(m_position) == '\n')
                    ++m_position;
            } else {
                m_pendingCarriageReturn = true;
            }
        }
        return line;
    }
    if (m_position > 0 && m_position * 2 > size) {
        m_buffer.remove(0, m_position);
        m_position = 0;
    }
    return std::nullopt;
}

std::optional<QByteArray> LineSplitter::takeRemainder()
{
    if (m_position >= m_buffer.size())
        return std::nullopt;
    QByteArray rest = m_buffer.mid(m_position);
    m_buffer.clear();
    m_position = 0;
    return rest;
}

StreamLine parseStreamLine(const QByteArray &line)
{
    // Only "data:" in the first column, case-sensitive: event names, ids,
    // comments and blank lines fall through as ignored.
    if (!line.startsWith("data:"))
        return {};
    const QString payload = TextMetrics::trimmedBlanks(QString::fromUtf8(line.mid(5)));
    if (payload == QLatin1String("[DONE]"))
        return {StreamLine::Kind::Done, {}, std::nullopt};

    std::optional<QString> content;
    if (auto error = decodeChoices(payload.toUtf8(), QStringLiteral("delta"), &content))
        return {StreamLine::Kind::Invalid, {}, error};
    if (!content || content->isEmpty())
        return {};
    return {StreamLine::Kind::Piece, *content, std::nullopt};
}

ChatResponseContent decodeChatResponse(const QByteArray &body)
{
    ChatResponseContent result;
    result.error = decodeChoices(body, QStringLiteral("message"), &result.content);
    return result;
}

std::optional<QList<ReverseLookupMatch>> decodeMatches(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    const QJsonValue matches = document.object().value(QStringLiteral("matches"));
    if (!matches.isArray())
        return std::nullopt;
    QList<ReverseLookupMatch> decoded;
    for (const QJsonValue value : matches.toArray()) {
        if (!value.isObject())
            return std::nullopt;
        std::optional<ReverseLookupMatch> match = ReverseLookupMatch::fromJson(value.toObject());
        if (!match)
            return std::nullopt;
        decoded.append(std::move(*match));
    }
    return decoded;
}

QList<ReverseLookupMatch> cleanedMatches(const QList<ReverseLookupMatch> &matches)
{
    QList<ReverseLookupMatch> kept;
    QSet<QString> seen;
    for (const ReverseLookupMatch &match : matches) {
        ReverseLookupMatch clean;
        clean.term = TextMetrics::trimmed(match.term);
        clean.reason = TextMetrics::trimmed(match.reason);
        if (clean.term.isEmpty() || clean.reason.isEmpty())
            continue;
        const QString key = clean.term.toLower();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (match.english) {
            const QString english = TextMetrics::trimmed(*match.english);
            if (!english.isEmpty())
                clean.english = english;
        }
        clean.confidence = match.confidence;
        kept.append(std::move(clean));
        if (kept.size() == kMaximumMatches)
            break;
    }
    return kept;
}

} // namespace wordlumen::ChatProtocol
