#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>

QT_FORWARD_DECLARE_CLASS(QFileSystemWatcher)

namespace wordlumen {

/**
 * Tells when one file may have changed, whichever program changed it.
 *
 * Watches the file and its folder. The folder's watch is what sees the file
 * appear, go, or be replaced: writers replace files by renaming a finished
 * copy over them, which ends a watch on the old file, so after every burst
 * the watches are renewed on whatever now stands at the path. A file that does
 * not exist yet is fine; a folder that does not exist is either made
 * (`MissingFolder::Create`) or waited for through the nearest folder above it
 * that exists (`MissingFolder::WaitFor`).
 *
 * A writer causes several events (a temporary file, the rename, a lock file
 * coming and going), so they are gathered into one `changed()` once none came
 * for the settle interval. The signal means "look again", not "it differs":
 * anything in the folder raises it, and the caller compares what it reads.
 *
 * Without a QCoreApplication there is no event loop to hear anything, so
 * nothing is watched (and no folder made).
 */
class WatchedFile final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WatchedFile)

public:
    /// What to do about the file's folder while it does not exist.
    enum class MissingFolder
    {
        WaitFor, ///< watch the nearest existing folder above it until it appears
        Create,  ///< make it (and any folder above it): the first writer may be another program
    };

    /// Starts watching `filePath` at once.
    WatchedFile(const QString &filePath, std::chrono::milliseconds settleInterval,
                MissingFolder missingFolder, QObject *parent = nullptr);

    [[nodiscard]] QString filePath() const { return m_filePath; }
    [[nodiscard]] std::chrono::milliseconds settleInterval() const { return m_settleInterval; }

    /// False without a QCoreApplication, when nothing can be heard.
    [[nodiscard]] bool isWatching() const { return m_watcher != nullptr; }

    /// What is watched now: the file when it exists, and its folder or the folder waited through.
    [[nodiscard]] QStringList watchedPaths() const;

signals:
    /// The file or its folder changed, once per burst; the file may be gone.
    void changed();

private:
    void renewWatches();
    void settled();

    QString m_filePath; // absolute
    std::chrono::milliseconds m_settleInterval;
    MissingFolder m_missingFolder;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer m_settle;
};

} // namespace wordlumen
