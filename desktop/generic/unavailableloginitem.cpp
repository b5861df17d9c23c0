#include "unavailableloginitem.h"

namespace wordlumen {

QString UnavailableLoginItem::setEnabled(bool enabled)
{
    if (!enabled) {
        return {};
    }
    return QStringLiteral(
        "这个系统上还不能让 Wordlumen 在登录时启动，请在系统的启动项设置里添加它。");
}

} // namespace wordlumen
