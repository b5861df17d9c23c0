// The reply of a reverse lookup: the chat response around it, the JSON object
// inside the message text and the cleaning of the candidates.
//
// A reply that decodes gives at most three candidates, each trimmed, with a
// term and a reason, no two with the same term; and the same candidates sent
// back as a reply decode to themselves.

#include "core/textmetrics.h"
#include "fuzzcheck.h"
#include "online/reverselookuprequest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

using namespace wordlumen;

namespace {

QByteArray replyWith(const QList<ReverseLookupMatch> &matches)
{
    QJsonArray array;
    for (const ReverseLookupMatch &match : matches)
        array.append(match.toJson());
    const QString content =
        QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("matches"), array}}).toJson());
    const QJsonObject message{{QStringLiteral("role"), QStringLiteral("assistant")},
                              {QStringLiteral("content"), content}};
    const QJsonObject choice{{QStringLiteral("index"), 0}, {QStringLiteral("message"), message}};
    return QJsonDocument(QJsonObject{{QStringLiteral("choices"), QJsonArray{choice}}}).toJson();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto matches = ReverseLookupRequest::decodeReply(fuzz::inputBytes(data, size));
    if (!matches)
        return 0;

    WORDLUMEN_FUZZ_CHECK(matches->size() <= 3);
    QSet<QString> terms;
    for (const ReverseLookupMatch &match : *matches) {
        WORDLUMEN_FUZZ_CHECK(!match.term.isEmpty());
        WORDLUMEN_FUZZ_CHECK(TextMetrics::trimmed(match.term) == match.term);
        WORDLUMEN_FUZZ_CHECK(!match.reason.isEmpty());
        WORDLUMEN_FUZZ_CHECK(TextMetrics::trimmed(match.reason) == match.reason);
        if (match.english) {
            WORDLUMEN_FUZZ_CHECK(!match.english->isEmpty());
            WORDLUMEN_FUZZ_CHECK(TextMetrics::trimmed(*match.english) == *match.english);
        }
        WORDLUMEN_FUZZ_CHECK(!terms.contains(match.term.toLower()));
        terms.insert(match.term.toLower());
    }

    const auto again = ReverseLookupRequest::decodeReply(replyWith(*matches));
    WORDLUMEN_FUZZ_CHECK(again.hasValue());
    WORDLUMEN_FUZZ_CHECK(again.value() == matches.value());
    return 0;
}
