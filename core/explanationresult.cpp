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

} // namespace wordlumen
