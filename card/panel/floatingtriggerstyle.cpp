#include "floatingtriggerstyle.h"

namespace wordlumen {

namespace {
constexpr double kShadowMargin = 12;
}

QString toString(FloatingTriggerStyle style)
{
    return style == FloatingTriggerStyle::Wide ? QStringLiteral("wide") : QStringLiteral("compact");
}

FloatingTriggerStyle floatingTriggerStyleFromString(QStringView text)
{
    return text == u"wide" ? FloatingTriggerStyle::Wide : FloatingTriggerStyle::Compact;
}

QSizeF triggerCapsuleSize(FloatingTriggerStyle style)
{
    return style == FloatingTriggerStyle::Wide ? QSizeF(164, 44) : QSizeF(116, 36);
}

QSizeF collapsedPanelSize(FloatingTriggerStyle style)
{
    return triggerCapsuleSize(style).grownBy(
        {kShadowMargin, kShadowMargin, kShadowMargin, kShadowMargin});
}

} // namespace wordlumen
