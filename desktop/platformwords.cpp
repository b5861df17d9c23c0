#include "desktop/platformwords.h"

namespace wordlumen::PlatformWords {

namespace {

const QString kMacComputer = QStringLiteral("这台 Mac");
const QString kMacSecretStore = QStringLiteral("钥匙串");

} // namespace

QString thisComputer(SystemKind system)
{
    return system == SystemKind::MacOS ? kMacComputer : QStringLiteral("这台电脑");
}

QString secretStore(SystemKind system)
{
    return system == SystemKind::MacOS ? kMacSecretStore : QStringLiteral("系统密钥环");
}

QString localized(const QString &macText, SystemKind system)
{
    if (system == SystemKind::MacOS) {
        return macText;
    }
    QString text = macText;
    // "这台 Mac 的" spaces the Latin word off from the Chinese around it; the
    // all-Chinese replacement must not keep that space.
    text.replace(kMacComputer + u' ', thisComputer(system));
    text.replace(kMacComputer, thisComputer(system));
    text.replace(kMacSecretStore, secretStore(system));
    return text;
}

} // namespace wordlumen::PlatformWords
