#include "lookupdecision.h"

#include "core/queryintentdetector.h"

namespace wordlumen {

QString LookupDecision::missingTermNotice()
{
    return QStringLiteral(
        "本地词典还没收录这个词。接上在线 API 后，我可以继续把它翻成容易理解的白话。");
}

QString LookupDecision::descriptionNotice()
{
    return QStringLiteral("这句话像是在描述一个专业术语。接上在线 API "
                          "后，我可以反查最可能的黑话，而且不会打断你正在工作的主对话。");
}

bool LookupDecision::needsKey(const LookupSources &sources, ExplanationAudience audience)
{
    if (sources.pack) {
        return false;
    }
    return !(sources.dictionary && audience == ExplanationAudience::Plain);
}

LookupDecision LookupDecision::decide(const QString &query, const LookupSources &sources,
                                      ExplanationAudience audience, bool hasKey)
{
    if (sources.pack) {
        return {Kind::LocalAnswer, sources.pack->term, sources.pack->explanation,
                ExplanationOrigin::Custom};
    }
    // The plain audience takes a dictionary hit as written, and so does
    // everyone without a key; with one, the service explains it again in the
    // chosen style and the dictionary only lends the term its proper title.
    if (sources.dictionary && (audience == ExplanationAudience::Plain || !hasKey)) {
        return {Kind::LocalAnswer, sources.dictionary->term, sources.dictionary->explanation,
                ExplanationOrigin::Local};
    }
    const bool reverse = QueryIntentDetector::shouldReverseLookup(query);
    if (!hasKey) {
        return {Kind::Notice, query, reverse ? descriptionNotice() : missingTermNotice(),
                ExplanationOrigin::Unavailable};
    }
    if (reverse) {
        return {Kind::OnlineReverseLookup, query, QString(), ExplanationOrigin::DeepSeek};
    }
    return {Kind::OnlineExplanation, sources.dictionary ? sources.dictionary->term : query,
            QString(), ExplanationOrigin::DeepSeek};
}

} // namespace wordlumen
