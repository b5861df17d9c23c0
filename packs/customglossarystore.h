#pragma once

#include "core/glossaryentry.h"
#include "core/namematcher.h"
#include "core/result.h"
#include "customglossaryentry.h"
#include "glossaryimportsummary.h"
#include "glossarypack.h"
#include "packerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUuid>

#include <functional>
#include <optional>

QT_FORWARD_DECLARE_CLASS(QFileSystemWatcher)

namespace wordlumen {

/**
 * The user's supplement packs and the JSON file that keeps them.
 *
 * Every change is written to disk first and published only after the write
 * succeeded, so `packs()` always equals the last successful write. The packs
 * are listed newest import first.
 *
 * A library file that fails to load is never overwritten: before the first
 * write it is moved aside to `<name>.unreadable-<UTC time>.json` next to it,
 * and `loadError()` says where it went.
 *
 * Several programs may hold the same library (the app, the terminal
 * companion): each change takes a `QLockFile` beside the file
 * (`MyGlossary.json.lock`) from reading the file again to writing it, so no
 * program writes over a change it has not seen. A change made by another
 * program is noticed through a file watcher and published like our own.
 *
 * Lives on the main thread.
 */
class CustomGlossaryStore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CustomGlossaryStore)
    Q_PROPERTY(QList<wordlumen::GlossaryPack> packs READ packs NOTIFY packsChanged)
    Q_PROPERTY(QString loadError READ loadError NOTIFY loadErrorChanged)

public:
    /// The current time as stored: UTC, whole seconds.
    using Clock = std::function<QDateTime()>;

    /// Opens the library at `filePath` and loads it at once.
    explicit CustomGlossaryStore(const QString &filePath = defaultFilePath(),
                                 QObject *parent = nullptr);
    /// The same with a clock of the caller's (tests, tools that replay imports).
    CustomGlossaryStore(Clock clock, const QString &filePath, QObject *parent = nullptr);

    /**
     * `MyGlossary.json` in the data folder (DataLocation::folder(); on Linux
     * `~/.local/share/Zintaro/MyGlossary.json`).
     */
    [[nodiscard]] static QString defaultFilePath();

    [[nodiscard]] QString filePath() const { return m_filePath; }

    /// Every pack, newest import first.
    [[nodiscard]] const QList<GlossaryPack> &packs() const { return m_packs; }

    /// Why the library file could not be loaded; empty when it loaded (or did not exist).
    [[nodiscard]] QString loadError() const { return m_loadError; }

    /// The entries of the enabled packs: packs newest first, each in its stored order.
    [[nodiscard]] QList<CustomGlossaryEntry> entries() const;

    /// One item per element of `entries()`, with term and aliases as written.
    [[nodiscard]] QList<GlossaryCatalogItem> catalogItems() const;

    /**
     * The enabled entry that best matches `query`: a name equal to the whole
     * query beats every name found inside it, a longer found name beats a
     * shorter one, and on a tie the newer pack, the earlier entry and the term
     * before its aliases win. Works from term keys computed once per change of
     * the packs.
     */
    [[nodiscard]] std::optional<CustomGlossaryEntry> match(QStringView query) const;

    /**
     * Imports a .md, .markdown or .txt file. A pack with the same industry,
     * depth and perspective (compared as term keys) is replaced in place of
     * its older version, keeping its id and whether it is enabled.
     */
    Result<GlossaryImportSummary, PackError> importFile(const QString &path);

    /// Imports pack text as if read from a file called `sourceFileName`.
    Result<GlossaryImportSummary, PackError> importText(const QString &text,
                                                        const QString &sourceFileName);

    /// Switches a pack on or off; `PackageNotFound` when it is gone. The order does not change.
    Result<Done, PackError> setEnabled(bool enabled, const QUuid &packId);

    /// Deletes a pack; deleting one that is already gone still rewrites the file and succeeds.
    Result<Done, PackError> remove(const QUuid &packId);

    /**
     * Reads a pack file the way `importFile` does: `UnsupportedFileType` for
     * other extensions, `NotRegularFile` for folders, pipes and devices,
     * `FileTooLarge` above GlossaryPackageParser::kMaximumFileSize, `NotUtf8`
     * for other encodings and `ReadFailed` when it cannot be read at all.
     */
    [[nodiscard]] static Result<QString, PackError> readPackFile(const QString &path);

    /// Two packs are the same pack when these keys are equal.
    [[nodiscard]] static QString identityKey(const QString &industry, const QString &depth,
                                             const QString &perspective);

signals:
    void packsChanged();
    void loadErrorChanged();

private:
    // The names of one pack's entries, normalised. Kept per pack, so that a
    // change to one pack (or switching it) does not normalise the others again.
    struct PackKeys
    {
        QList<CustomGlossaryEntry> entries; // what the keys below were computed from
        QStringList termKeys;               // one per entry, possibly empty
        // Filled on the first query: alias keys of all entries in a row, and
        // where each entry's run starts (one more element than entries).
        bool hasAliasKeys = false;
        QStringList aliasKeys;
        QList<qsizetype> aliasStart;
    };

    // Everything a query needs: the enabled entries in walking order and
    // their names, the term before its aliases.
    struct MatchIndex
    {
        QList<CustomGlossaryEntry> entries;
        NameMatcher names; // targets are positions in `entries`
    };

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
    // Computes the new pack list from the current one, or refuses the change.
    using Change = std::function<Result<QList<GlossaryPack>, PackError>(QList<GlossaryPack>)>;

    static constexpr int kLockTimeoutMs = 5000;
    static constexpr int kReloadDelayMs = 50; // lets a writer's burst of events settle
    static constexpr int kLockedRetryMs = 200;

    void load();
    [[nodiscard]] DiskFile readDiskFile() const;
    [[nodiscard]] static Fingerprint fingerprintOf(const DiskFile &disk);
    /// Reads the file and adopts it when it differs from what we know; true when it did.
    bool refresh();
    void adopt(const DiskFile &disk);
    void migrateIfNeeded();
    /// Lock, read again, apply, write, publish: every change goes through here.
    Result<Done, PackError> change(const Change &apply);
    [[nodiscard]] QString lockFilePath() const;
    void scheduleReload();
    void reloadChangedFile();
    void watchFile();
    Result<Done, PackError> persist(const QList<GlossaryPack> &packs);
    Result<Done, PackError> moveUnreadableFileAside();
    void publish(QList<GlossaryPack> packs);
    void setLoadError(const QString &message);
    void failLoad(const QString &description);

    [[nodiscard]] const PackKeys &keysOf(const GlossaryPack &pack, bool withAliases) const;
    [[nodiscard]] const MatchIndex &matchIndex() const;
    [[nodiscard]] QList<const GlossaryPack *> enabledPacksNewestFirst() const;

    QString m_filePath;
    Clock m_clock;
    QList<GlossaryPack> m_packs;
    QString m_loadError;

    // What the file looked like when last read or written; nothing before the first read.
    std::optional<Fingerprint> m_known;
    // The file holds the oldest layout, shown as one pack but not yet rewritten.
    bool m_needsMigration = false;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer m_reloadTimer;

    // Set when the file on disk could not be loaded: the next write moves it
    // aside first. `m_loadFailure` is the description shown with it.
    bool m_fileIsUnreadable = false;
    QString m_loadFailure;
    QDateTime m_loadFailedAt;
    // After the move, the notice that says where the old file went; it stays
    // for the session, since it is the user's only pointer to that data.
    QString m_movedAsideNotice;

    // Built on the first query after a change of `m_packs`, or when the event
    // loop first idles after loading.
    mutable QHash<QUuid, PackKeys> m_packKeys;
    mutable std::optional<MatchIndex> m_matchIndex;
};

} // namespace wordlumen
