#pragma once

#include "core/result.h"
#include "glossarypack.h"
#include "packerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

namespace wordlumen {

class WatchedFile;

/**
 * The library file "MyGlossary.json" kept in step with the packs shown.
 *
 * Every change is written to disk first and published only after the write
 * succeeded, so `packs()` always equals the last successful write. The packs
 * are listed newest import first.
 *
 * Several programs may hold the same library (the app, the terminal
 * companion): each change takes a `QLockFile` beside the file
 * (`MyGlossary.json.lock`) from reading the file again to writing it, so no
 * program writes over a change it has not seen. A lock whose program died is
 * taken over; one held for more than five seconds refuses the change. A
 * change made by another program is noticed through a file watch and
 * published like our own.
 *
 * A library file that fails to load is never overwritten: before the first
 * write it is moved aside to `<name>.unreadable-<UTC time>.json` next to it,
 * and `loadError()` says where it went. A file in the oldest layout (a bare
 * word list) is shown as one pack and rewritten at once.
 *
 * Lives on the main thread.
 */
class GlossaryLibrarySync final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GlossaryLibrarySync)

public:
    /// The current time as stored: UTC, whole seconds.
    using Clock = std::function<QDateTime()>;
    /// Computes the new pack list from the current one, or refuses the change.
    using Change = std::function<Result<QList<GlossaryPack>, PackError>(QList<GlossaryPack>)>;

    /// Loads the file at `filePath` at once, and follows it from then on.
    GlossaryLibrarySync(Clock clock, QString filePath, QObject *parent = nullptr);

    [[nodiscard]] QString filePath() const { return m_filePath; }

    /// Every pack, newest import first: what the file held when last read or written.
    [[nodiscard]] const QList<GlossaryPack> &packs() const { return m_packs; }

    /// Why the library file could not be loaded; empty when it loaded (or did not exist).
    [[nodiscard]] QString loadError() const { return m_loadError; }

    /**
     * Locks the file, reads it again, applies `apply` to what it holds, writes
     * the result and publishes it. Nothing is written or published when
     * `apply` refuses, the lock is not taken, or the write fails.
     */
    Result<Done, PackError> change(const Change &apply);

signals:
    void packsChanged();
    void loadErrorChanged();

private:
    // The library file as last read: whether it exists, why it could not be
    // read, or its bytes.
    struct DiskFile
    {
        bool exists = false;
        QString readError;
        QByteArray bytes;
    };
    // Enough to tell that the file differs from the one last read or written.
    struct Fingerprint
    {
        bool exists = false;
        QString readError;
        qsizetype size = 0;
        size_t hash = 0;

        bool operator==(const Fingerprint &) const = default;
    };

    void load();
    [[nodiscard]] DiskFile readDiskFile() const;
    [[nodiscard]] static Fingerprint fingerprintOf(const DiskFile &disk);
    /// Reads the file and adopts it when it differs from what we know; true when it did.
    bool refresh();
    void adopt(const DiskFile &disk);
    void migrateIfNeeded();
    [[nodiscard]] QString lockFilePath() const;
    void reloadChangedFile();
    Result<Done, PackError> persist(const QList<GlossaryPack> &packs);
    Result<Done, PackError> moveUnreadableFileAside();
    void publish(QList<GlossaryPack> packs);
    void setLoadError(const QString &message);
    void failLoad(const QString &description);

    QString m_filePath;
    Clock m_clock;
    QList<GlossaryPack> m_packs;
    QString m_loadError;

    // What the file looked like when last read or written; nothing before the first read.
    std::optional<Fingerprint> m_known;
    // The file holds the oldest layout, shown as one pack but not yet rewritten.
    bool m_needsMigration = false;
    // Another program's changes; null until the file was first loaded.
    WatchedFile *m_watch = nullptr;
    // Looks again while another program holds the lock.
    QTimer m_lockedRetry;

    // Set when the file on disk could not be loaded: the next write moves it
    // aside first. `m_loadFailure` is the description shown with it.
    bool m_fileIsUnreadable = false;
    QString m_loadFailure;
    QDateTime m_loadFailedAt;
    // After the move, the notice that says where the old file went; it stays
    // for the session, since it is the user's only pointer to that data.
    QString m_movedAsideNotice;
};

} // namespace wordlumen
