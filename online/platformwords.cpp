#include "platformwords.h"

namespace wordlumen::PlatformWords {

namespace {

const QString kMacComputer = QStringLiteral("这台 Mac");
const QString kMacSecretStore = QStringLiteral("钥匙串");

} // namespace

QString thisComputer()
{
#ifdef Q_OS_MACOS
    return kMacComputer;
#else
    return QStringLiteral("这台电脑");
#endif
}

QString secretStore()
{
#ifdef Q_OS_MACOS
    return kMacSecretStore;
#else
    return QStringLiteral("系统密钥环");
#endif
}

QString localized(const QString &macText)
{
    QString text = macText;
    // "这台 Mac 的" spaces the Latin word off from the Chinese around it; the
    // all-Chinese replacement must not keep that space.
    if (thisComputer() != kMacComputer)
        text.replace(kMacComputer + u' ', thisComputer());
    text.replace(kMacComputer, thisComputer());
    text.replace(kMacSecretStore, secretStore());
    return text;
}

} // namespace wordlumen::PlatformWords
