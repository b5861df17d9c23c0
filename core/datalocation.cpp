#include "datalocation.h"

#include "identity.h"

#include <QDir>
#include <QStandardPaths>

namespace wordlumen::DataLocation {

QString folder()
{
    QString base = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation).value(0);
    if (base.isEmpty())
        base = QDir::tempPath();
    return QDir(base).filePath(QLatin1StringView(Identity::kOrganizationName));
}

QString filePath(const QString &fileName)
{
    return QDir(folder()).filePath(fileName);
}

} // namespace wordlumen::DataLocation
