#include "explanationresult.h"

namespace wordlumen {

QString toString(ExplanationOrigin origin)
{
    switch (origin) {
    case ExplanationOrigin::Local:
        return QStringLiteral("local");
    case ExplanationOrigin::Custom:
        return QStringLiteral("custom");
    case ExplanationOrigin::DeepSeek:
        return QStringLiteral("deepSeek");
    case ExplanationOrigin::Unavailable:
        return QStringLiteral("unavailable");
    }
    return {};
}

std::optional<ExplanationOrigin> explanationOriginFromString(QStringView text)
{
    for (const ExplanationOrigin origin :
         {ExplanationOrigin::Local, ExplanationOrigin::Custom, ExplanationOrigin::DeepSeek,
          ExplanationOrigin::Unavailable}) {
        if (text == toString(origin))
            return origin;
    }
    return std::nullopt;
}

} // namespace wordlumen
