#pragma once

#include "core/glossaryentry.h"
#include "core/result.h"
#include "customglossaryentry.h"
#include "glossaryimportsummary.h"
#include "glossarylibrarysync.h"
#include "glossarypack.h"
#include "packerror.h"
#include "packmatchindex.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

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
 * The work is shared by three parts: GlossaryLibrarySync keeps the file and
 * the packs in step (the lock, the reads, the writes, the watch),
 * PackImportPolicy decides what an import does to the pack list, and
 * PackMatchIndex answers lookups from the enabled packs.
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

    [[nodiscard]] QString filePath() const { return m_library.filePath(); }

    /// Every pack, newest import first.
    [[nodiscard]] const QList<GlossaryPack> &packs() const { return m_library.packs(); }

    /// Why the library file could not be loaded; empty when it loaded (or did not exist).
    [[nodiscard]] QString loadError() const { return m_library.loadError(); }

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

    /// The pack that holds the entry `entryId` (a match's `id`), or nothing when none does now.
    [[nodiscard]] std::optional<GlossaryPack> packOf(const QUuid &entryId) const;

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
    void packsRead();

    Clock m_clock;
    GlossaryLibrarySync m_library;
    PackMatchIndex m_index;
};

} // namespace wordlumen
