#include "watchedfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace wordlumen {

WatchedFile::WatchedFile(const QString &filePath, std::chrono::milliseconds settleInterval,
                         MissingFolder missingFolder, QObject *parent)
    : QObject(parent)
    , m_filePath(QFileInfo(filePath).absoluteFilePath())
    , m_settleInterval(settleInterval)
    , m_missingFolder(missingFolder)
{
    if (!QCoreApplication::instance())
        return;
    m_settle.setSingleShot(true);
    m_settle.setInterval(m_settleInterval);
    connect(&m_settle, &QTimer::timeout, this, &WatchedFile::settled);

    m_watcher = new QFileSystemWatcher(this);
    const auto restart = qOverload<>(&QTimer::start);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, restart);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, restart);
    renewWatches();
}

QStringList WatchedFile::watchedPaths() const
{
    if (!m_watcher)
        return {};
    return m_watcher->files() + m_watcher->directories();
}

void WatchedFile::settled()
{
    renewWatches();
    emit changed();
}

void WatchedFile::renewWatches()
{
    const QFileInfo file(m_filePath);
    QString folderPath = file.absolutePath();
    if (m_missingFolder == MissingFolder::Create)
        QDir().mkpath(folderPath);
    // Until the folder exists (or when it could not be made), the nearest
    // folder above it that does exist tells when it appears. (QDir::cdUp
    // refuses to step out of a folder that does not exist.)
    while (!QFileInfo(folderPath).isDir()) {
        const QString parent = QFileInfo(folderPath).absolutePath();
        if (parent == folderPath)
            break;
        folderPath = parent;
    }

    // Every watch but the folder's is made afresh: a watch on the file that
    // outlived a rename would follow the old file, which nobody writes any more.
    QStringList stale = watchedPaths();
    const bool folderWatched = stale.removeAll(folderPath) > 0;
    if (!stale.isEmpty())
        m_watcher->removePaths(stale);
    if (!folderWatched)
        m_watcher->addPath(folderPath);
    if (file.exists())
        m_watcher->addPath(m_filePath);
}

} // namespace wordlumen
