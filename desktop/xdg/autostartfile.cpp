#include "autostartfile.h"

#include "core/identity.h"
#include "desktop/launchcommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace wordlumen {

namespace {

/// Whether a desktop entry's text asks to be started: a desktop switches an
/// entry off by writing Hidden=true (or, on GNOME, X-GNOME-Autostart-enabled=false).
bool entryIsActive(const QByteArray &text)
{
    bool inMainGroup = false;
    for (const QByteArray &raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup) {
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) {
            continue;
        }
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false")) {
            return false;
        }
    }
    return true;
}

} // namespace

AutostartFile::AutostartFile(QString path)
    : m_path(std::move(path))
{}

QString AutostartFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/") + QLatin1StringView(Identity::kReverseDomainName) +
           QStringLiteral(".desktop");
}

QByteArray AutostartFile::entryText()
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=%1\n"
                                        "Comment=随手解释看不懂的行业黑话\n"
                                        "Icon=%2\n"
                                        "Exec=%3\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(QLatin1StringView(Identity::kApplicationName),
                                  QLatin1StringView(Identity::kReverseDomainName),
                                  LaunchCommand::execValue({QStringLiteral("--background")}));
    return text.toUtf8();
}

bool AutostartFile::isEnabled() const
{
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) && entryIsActive(file.read(64 * 1024));
}

QString AutostartFile::setEnabled(bool enabled)
{
    if (enabled) {
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        QSaveFile file(m_path);
        if (!file.open(QIODevice::WriteOnly) || file.write(entryText()) < 0 || !file.commit()) {
            return QStringLiteral("没能写入登录启动项 %1：%2").arg(m_path, file.errorString());
        }
    } else if (QFile file(m_path); file.exists() && !file.remove()) {
        return QStringLiteral("没能删除登录启动项 %1：%2").arg(m_path, file.errorString());
    }
    return {};
}

} // namespace wordlumen
