#include "identity.h"

#include <QCoreApplication>

namespace wordlumen::Identity {

void applyToApplication()
{
    QCoreApplication::setOrganizationName(QLatin1StringView(kOrganizationName));
    QCoreApplication::setApplicationName(QLatin1StringView(kApplicationName));
}

} // namespace wordlumen::Identity
