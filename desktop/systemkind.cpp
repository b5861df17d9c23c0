#include "systemkind.h"

#include <QString>
#include <QSysInfo>

namespace wordlumen {

SystemKind currentSystemKind()
{
    const QString type = QSysInfo::productType();
    if (type == u"macos" || type == u"osx") {
        return SystemKind::MacOS;
    }
    if (type == u"windows") {
        return SystemKind::Windows;
    }
    return SystemKind::FreeDesktop;
}

} // namespace wordlumen
