#pragma once

#include <QSizeF>
#include <QString>
#include <QStringView>

namespace wordlumen {

/// The two looks of the collapsed trigger; the stored form is the raw value.
enum class FloatingTriggerStyle
{
    Compact, ///< "compact": a dot, "WORD" and "/ 001"
    Wide,    ///< "wide": the logo mark, "Wordlumen" and a chevron
};

[[nodiscard]] QString toString(FloatingTriggerStyle style);
/// A missing or unknown stored value means compact.
[[nodiscard]] FloatingTriggerStyle floatingTriggerStyleFromString(QStringView text);

/// The panel while collapsed: the capsule plus 12 points on every side for its shadow.
[[nodiscard]] QSizeF collapsedPanelSize(FloatingTriggerStyle style);
/// The visible capsule of the trigger.
[[nodiscard]] QSizeF triggerCapsuleSize(FloatingTriggerStyle style);

} // namespace wordlumen
