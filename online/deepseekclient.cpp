#include "deepseekclient.h"

#include "chatprotocol.h"
#include "endpointrule.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkRequest>

#include <utility>

namespace wordlumen {

namespace {

constexpr double kExplanationTemperature = 0.35;
constexpr double kReverseLookupTemperature = 0.2;
constexpr double kJargonSearchTemperature = 0.2;

// Only a leading part of a long catalogue is offered, to keep the prompt small.
constexpr qsizetype kCatalogItemLimit = 200;
constexpr qsizetype kAliasLimit = 6;

// Twelve lines, each ending with a line feed: 722 bytes of UTF-8.
const QString kReverseLookupRules = QStringLiteral(
    "你负责把普通人的自然语言描述反查成 AI、软件或互联网专业术语。\n"
    "\n"
    "规则：\n"
    "- 优先从候选词库中选择；如果确实不在词库，也可以给出更准确的常见术语。\n"
    "- 最多返回 3 个候选，按可能性从高到低排列。\n"
    "- term 写最常用的中文名；english 写英文名或缩写，没有时写 null。\n"
    "- reason 只用一句白话说明为什么匹配，控制在 36 个汉字内。\n"
    "- 不解释完整概念，不寒暄，不输出 Markdown。\n"
    "- 只返回下面结构的合法 JSON：\n"
    "{\"matches\":[{\"term\":\"上下文窗口\",\"english\":\"Context Window\",\"reason\":\"指 AI "
    "一次能处理的信息容量\",\"confidence\":\"high\"}]}\n"
    "\n"
    "候选词库（只包含术语与别名）：\n");

QString singleLine(QString text)
{
    return text.replace(u'\n', u' ');
}

} // namespace

Result<DeepSeekClient, DeepSeekError> DeepSeekClient::build(const OnlineSettings &settings,
                                                            const QString &apiKey,
                                                            const ExplanationPromptProfile &profile,
                                                            QNetworkAccessManager &session)
{
    const Result<QUrl, DeepSeekError> url = EndpointRule::parse(settings.endpointText);
    if (!url)
        return url.error();
    DeepSeekClient client;
    client.endpoint = *url;
    client.model = settings.model;
    client.apiKey = apiKey;
    client.promptProfile = profile;
    client.session = &session;
    return client;
}

ExplanationStream *DeepSeekClient::explain(const QString &term, QObject *parent) const
{
    auto *stream = new ExplanationStream(parent);
    if (const std::optional<DeepSeekError> refused = EndpointRule::refusal(endpoint)) {
        stream->failSoon(*refused);
        return stream;
    }
    stream->start(sessionToUse(), request(), explanationRequestBody(term));
    return stream;
}

ReverseLookupRequest *DeepSeekClient::reverseLookup(const QString &description,
                                                    const QList<GlossaryCatalogItem> &catalog,
                                                    QObject *parent) const
{
    auto *lookup = new ReverseLookupRequest(parent);
    if (const std::optional<DeepSeekError> refused = EndpointRule::refusal(endpoint)) {
        lookup->failSoon(*refused);
        return lookup;
    }
    lookup->start(sessionToUse(), request(), reverseLookupRequestBody(description, catalog));
    return lookup;
}

JargonSearchRequest *DeepSeekClient::findJargon(const QString &passage,
                                                const QStringList &knownNames,
                                                QObject *parent) const
{
    const QString sent = JargonSearch::sentPassage(passage);
    auto *search = new JargonSearchRequest(sent, knownNames, parent);
    if (const std::optional<DeepSeekError> refused = EndpointRule::refusal(endpoint)) {
        search->failSoon(*refused);
        return search;
    }
    search->start(sessionToUse(), request(), jargonSearchRequestBody(sent, knownNames));
    return search;
}

QByteArray DeepSeekClient::explanationRequestBody(const QString &term) const
{
    return ChatProtocol::requestBody(model, promptProfile.systemPrompt(), term, true,
                                     kExplanationTemperature,
                                     ChatProtocol::sendsThinkingSwitch(endpoint));
}

QByteArray DeepSeekClient::reverseLookupRequestBody(const QString &description,
                                                    const QList<GlossaryCatalogItem> &catalog) const
{
    return ChatProtocol::requestBody(model, reverseLookupPrompt(catalog), description, false,
                                     kReverseLookupTemperature,
                                     ChatProtocol::sendsThinkingSwitch(endpoint));
}

QByteArray DeepSeekClient::jargonSearchRequestBody(const QString &sentPassage,
                                                   const QStringList &knownNames) const
{
    return ChatProtocol::requestBody(model, JargonSearch::prompt(knownNames), sentPassage, false,
                                     kJargonSearchTemperature,
                                     ChatProtocol::sendsThinkingSwitch(endpoint));
}

QString DeepSeekClient::reverseLookupPrompt(const QList<GlossaryCatalogItem> &catalog)
{
    QStringList lines;
    for (const GlossaryCatalogItem &item : catalog.first(qMin(catalog.size(), kCatalogItemLimit))) {
        QStringList aliases;
        for (const QString &alias : item.aliases.first(qMin(item.aliases.size(), kAliasLimit)))
            aliases.append(singleLine(alias));
        const QString joined = aliases.join(QStringLiteral(" / "));
        QString line = QStringLiteral("- ") + singleLine(item.term);
        if (!joined.isEmpty())
            line += QStringLiteral(" | ") + joined;
        lines.append(line);
    }
    return kReverseLookupRules + lines.join(u'\n');
}

std::optional<QByteArray> DeepSeekClient::extractJSONObject(const QString &text)
{
    const qsizetype open = text.indexOf(u'{');
    const qsizetype close = text.lastIndexOf(u'}');
    if (open < 0 || close < 0 || close < open)
        return std::nullopt;
    return text.mid(open, close - open + 1).toUtf8();
}

QNetworkAccessManager &DeepSeekClient::sharedSession()
{
    static QNetworkAccessManager *session = nullptr;
    if (!session) {
        session = new QNetworkAccessManager;
        session->setTransferTimeout(60000);
        // The session's HTTP thread closes its TLS connections as it ends and
        // needs the application object for that. A child of the application
        // would end only after it, and Qt would complain on standard error; a
        // post routine runs first thing in the application's destructor.
        qAddPostRoutine([] { delete std::exchange(session, nullptr); });
    }
    return *session;
}

QNetworkRequest DeepSeekClient::request() const
{
    QNetworkRequest request(endpoint);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader(QByteArrayLiteral("Authorization"),
                         QByteArrayLiteral("Bearer ") + apiKey.toUtf8());
    request.setTransferTimeout(static_cast<int>(transferTimeout.count()));
    // Every redirect target passes the same check as the endpoint, so the
    // bearer token cannot be led onto a clear-text connection.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    return request;
}

QNetworkAccessManager &DeepSeekClient::sessionToUse() const
{
    return session ? *session : sharedSession();
}

} // namespace wordlumen
