#include "identity.h"

#include <QCoreApplication>

namespace wordlumen::Identity {

const char *version()
{
    return WORDLUMEN_VERSION;
}

void applyToApplication()
{
    QCoreApplication::setOrganizationName(QLatin1StringView(kOrganizationName));
    QCoreApplication::setApplicationName(QLatin1StringView(kApplicationName));
    QCoreApplication::setApplicationVersion(QLatin1StringView(version()));
}

} // namespace wordlumen::Identity
