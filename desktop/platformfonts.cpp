#include "platformfonts.h"

namespace wordlumen::PlatformFonts {

// Only the freedesktop.org families are chosen so far (Noto CJK, Debian's
// fonts-noto-cjk); a port names its system's own (docs/porting.md).
QString sansFamily(SystemKind)
{
    return QStringLiteral("Noto Sans CJK SC");
}

QString serifFamily(SystemKind)
{
    return QStringLiteral("Noto Serif CJK SC");
}

} // namespace wordlumen::PlatformFonts
