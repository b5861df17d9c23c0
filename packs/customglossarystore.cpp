#include "customglossarystore.h"

#include "core/datalocation.h"
#include "core/termkey.h"
#include "glossarylibraryfile.h"
#include "glossarypackageparser.h"
#include "isotimestamp.h"
#include "packslog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QSaveFile>
#include <QSet>
#include <QTimer>

#include <algorithm>

namespace wordlumen {

namespace {

const QString kLoadFailedPrefix = QStringLiteral("本地补充包没有加载成功：");

void sortNewestFirst(QList<GlossaryPack> &packs)
{
    std::stable_sort(packs.begin(), packs.end(), [](const GlossaryPack &a, const GlossaryPack &b) {
        return a.importedAt > b.importedAt;
    });
}

// Ends a platform description as a sentence, without doubling its own full stop.
QString asSentence(const QString &text)
{
    if (text.endsWith(u'。') || text.endsWith(u'.'))
        return text;
    return text + u'。';
}

// `<dir>/MyGlossary.unreadable-20260301T081500Z.json`, with a counter when that name is taken.
QString unreadableCopyPath(const QString &filePath, const QDateTime &failedAt)
{
    const QFileInfo info(filePath);
    const QString stem = info.completeBaseName() + QStringLiteral(".unreadable-") +
                         IsoTimestamp::fileNameStamp(failedAt);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString candidate = info.dir().filePath(stem + suffix);
    for (int counter = 2; QFileInfo::exists(candidate); ++counter)
        candidate = info.dir().filePath(stem + u'-' + QString::number(counter) + suffix);
    return candidate;
}

} // namespace

CustomGlossaryStore::CustomGlossaryStore(const QString &filePath, QObject *parent)
    : CustomGlossaryStore(&IsoTimestamp::now, filePath, parent)
{}

CustomGlossaryStore::CustomGlossaryStore(Clock clock, const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
    , m_clock(std::move(clock))
{
    // Another program (the terminal companion, a second window) may change
    // the file at any time; its change is read and published like our own.
    // The folder is watched too, since writers replace the file by renaming.
    // Without an application there is no event loop to hear of changes.
    if (QCoreApplication::instance()) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this,
                &CustomGlossaryStore::scheduleReload);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
                &CustomGlossaryStore::scheduleReload);
    }
    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(kReloadDelayMs);
    connect(&m_reloadTimer, &QTimer::timeout, this, &CustomGlossaryStore::reloadChangedFile);

    load();
    watchFile();
    // Normalising every name of a large library takes a moment; do it once the
    // event loop is idle rather than inside the first query.
    if (!m_packs.isEmpty())
        QTimer::singleShot(0, this, [this] { static_cast<void>(matchIndex()); });
}

QString CustomGlossaryStore::defaultFilePath()
{
    return DataLocation::filePath(QStringLiteral("MyGlossary.json"));
}

// Loading --------------------------------------------------------------------

CustomGlossaryStore::DiskFile CustomGlossaryStore::readDiskFile() const
{
    DiskFile disk;
    const QFileInfo info(m_filePath);
    if (!info.exists())
        return disk;
    disk.exists = true;
    // Opening a pipe would wait for a writer that never comes.
    if (!info.isFile()) {
        disk.readError = QStringLiteral("它不是一个普通文件");
        return disk;
    }
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        disk.readError = file.errorString();
        return disk;
    }
    disk.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        disk.readError = file.errorString();
    return disk;
}

CustomGlossaryStore::Fingerprint CustomGlossaryStore::fingerprintOf(const DiskFile &disk)
{
    return {disk.exists, disk.readError, disk.bytes.size(), qHash(disk.bytes, 0x5eed)};
}

bool CustomGlossaryStore::refresh()
{
    const DiskFile disk = readDiskFile();
    const Fingerprint fingerprint = fingerprintOf(disk);
    if (m_known && *m_known == fingerprint)
        return false;
    m_known = fingerprint;
    adopt(disk);
    return true;
}

void CustomGlossaryStore::adopt(const DiskFile &disk)
{
    if (!disk.exists) {
        // Removed or never written: nothing to protect, nothing to show.
        m_fileIsUnreadable = false;
        setLoadError(m_movedAsideNotice);
        publish({});
        return;
    }
    if (!disk.readError.isEmpty()) {
        failLoad(disk.readError);
        return;
    }
    auto contents = GlossaryLibraryFile::decode(disk.bytes);
    if (!contents) {
        failLoad(contents.error());
        return;
    }
    m_fileIsUnreadable = false;
    setLoadError(m_movedAsideNotice);

    switch (contents->layout) {
    case GlossaryLibraryFile::Layout::Document:
    case GlossaryLibraryFile::Layout::PackArray: {
        // The previous layout is read as it is; the file is rewritten at the next change.
        QList<GlossaryPack> packs = std::move(contents.value().packs);
        sortNewestFirst(packs);
        publish(std::move(packs));
        break;
    }
    case GlossaryLibraryFile::Layout::LegacyEntries: {
        if (contents->legacyEntries.isEmpty()) {
            publish({});
            break;
        }
        // A word list from before packs existed becomes one enabled pack,
        // written in the current layout at once (see migrateIfNeeded). It is
        // the file's own content, so it is shown even when that write fails.
        GlossaryPack pack;
        pack.id = QUuid::createUuid();
        pack.industry = QStringLiteral("旧版自定义词库");
        pack.vocabularyDepth = kUnlabelled.toString();
        pack.explanationPerspective = kUnlabelled.toString();
        pack.sourceFileName = QStringLiteral("旧版本自动迁移");
        pack.entries = std::move(contents.value().legacyEntries);
        pack.importedAt = m_clock();
        pack.isEnabled = true;
        publish({pack});
        m_needsMigration = true;
        break;
    }
    }
}

void CustomGlossaryStore::load()
{
    refresh();
    migrateIfNeeded();
}

void CustomGlossaryStore::migrateIfNeeded()
{
    if (!m_needsMigration)
        return;
    const auto written =
        change([](const QList<GlossaryPack> &packs) -> Result<QList<GlossaryPack>, PackError> {
            return packs;
        });
    if (!written)
        setLoadError(kLoadFailedPrefix + written.error().message());
}

void CustomGlossaryStore::failLoad(const QString &description)
{
    qCInfo(lcPacks) << "library file not loaded:" << description;
    // Whatever was shown came from a file that is no longer there to back it.
    publish({});
    m_fileIsUnreadable = true;
    m_loadFailure = description;
    m_loadFailedAt = m_clock();
    setLoadError(
        kLoadFailedPrefix + asSentence(description) +
        QStringLiteral("原文件不会被覆盖：下次改动补充包前，它会先被移到 %1。")
            .arg(QDir::toNativeSeparators(unreadableCopyPath(m_filePath, m_loadFailedAt))));
}

// Writing --------------------------------------------------------------------

Result<Done, PackError> CustomGlossaryStore::moveUnreadableFileAside()
{
    if (!QFileInfo::exists(m_filePath)) {
        // Gone since the failed load (removed or moved by the user): nothing to protect.
        m_fileIsUnreadable = false;
        return Done{};
    }
    const QString target = unreadableCopyPath(m_filePath, m_loadFailedAt);
    QFile file(m_filePath);
    if (!file.rename(target)) {
        return PackError::fileSystem(
            QStringLiteral(
                "没有加载成功的补充包文件无法移到 %1，为了不覆盖它，这次改动没有保存：%2")
                .arg(QDir::toNativeSeparators(target), file.errorString()));
    }
    m_fileIsUnreadable = false;
    m_movedAsideNotice =
        kLoadFailedPrefix + asSentence(m_loadFailure) +
        QStringLiteral("原文件已移到 %1，可以从那里找回。").arg(QDir::toNativeSeparators(target));
    setLoadError(m_movedAsideNotice);
    return Done{};
}

Result<Done, PackError> CustomGlossaryStore::persist(const QList<GlossaryPack> &packs)
{
    if (m_fileIsUnreadable) {
        const auto moved = moveUnreadableFileAside();
        if (!moved)
            return moved.error();
    }

    // QSaveFile writes a temporary file and renames it over the old one only
    // after everything was written, so a failure leaves the old file intact.
    QSaveFile file(m_filePath);
    const QByteArray bytes = GlossaryLibraryFile::encode(packs);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return PackError::fileSystem(QStringLiteral("无法保存补充包到 %1：%2")
                                         .arg(QDir::toNativeSeparators(m_filePath), reason));
    }

    // What is on disk now is ours: the watcher's next look finds nothing new.
    m_known = fingerprintOf({true, {}, bytes});
    m_needsMigration = false;
    setLoadError(m_movedAsideNotice);
    return Done{};
}

Result<Done, PackError> CustomGlossaryStore::change(const Change &apply)
{
    const QString directory = QFileInfo(m_filePath).absolutePath();
    if (!QDir().mkpath(directory)) {
        return PackError::fileSystem(
            QStringLiteral("无法创建文件夹 %1。").arg(QDir::toNativeSeparators(directory)));
    }

    // Held from the read to the write, so that two programs changing the
    // library one after the other each start from what the other wrote.
    QLockFile lock(lockFilePath());
    if (!lock.tryLock(kLockTimeoutMs)) {
        qCWarning(lcPacks) << "library lock not taken:" << lock.error();
        if (lock.error() == QLockFile::LockFailedError)
            return PackError::libraryBusy();
        return PackError::fileSystem(
            QStringLiteral("无法保存补充包到 %1：无法在它旁边创建锁文件 %2。")
                .arg(QDir::toNativeSeparators(m_filePath),
                     QDir::toNativeSeparators(lockFilePath())));
    }

    // Another program may have written since we last looked; its packs are
    // what this change applies to, and they are published as they are read.
    if (refresh())
        qCInfo(lcPacks) << "library changed on disk; changing the newer version";

    auto packs = apply(m_packs);
    if (!packs)
        return packs.error();
    const auto written = persist(packs.value());
    if (!written)
        return written.error();
    publish(std::move(packs).value());
    return Done{};
}

QString CustomGlossaryStore::lockFilePath() const
{
    return m_filePath + QStringLiteral(".lock");
}

// Changes by other programs ------------------------------------------------------

void CustomGlossaryStore::scheduleReload()
{
    m_reloadTimer.start();
}

void CustomGlossaryStore::reloadChangedFile()
{
    // A writer holds the lock while it moves a damaged file aside and writes
    // the new one; reading in between would show a library that is briefly
    // gone. Its lock file's removal brings us back here.
    if (QFileInfo::exists(lockFilePath())) {
        m_reloadTimer.start(kLockedRetryMs);
        watchFile();
        return;
    }
    m_reloadTimer.setInterval(kReloadDelayMs);
    if (refresh()) {
        qCInfo(lcPacks) << "library changed by another program; published";
        migrateIfNeeded();
    }
    watchFile();
}

void CustomGlossaryStore::watchFile()
{
    if (!m_watcher)
        return;
    // Watches are dropped when their path goes away (a rename replaces the
    // file), so they are renewed after every look. Before the library's
    // folder exists, its nearest existing ancestor tells when it appears.
    QStringList wanted;
    QFileInfo info(m_filePath);
    if (info.exists())
        wanted.append(info.absoluteFilePath());
    QDir folder = info.absoluteDir();
    while (!folder.exists() && !folder.isRoot()) {
        if (!folder.cdUp())
            break;
    }
    wanted.append(folder.absolutePath());

    QStringList stale;
    for (const QString &path : m_watcher->files() + m_watcher->directories()) {
        if (!wanted.contains(path))
            stale.append(path);
    }
    if (!stale.isEmpty())
        m_watcher->removePaths(stale);
    QStringList missing;
    for (const QString &path : std::as_const(wanted)) {
        if (!m_watcher->files().contains(path) && !m_watcher->directories().contains(path))
            missing.append(path);
    }
    if (!missing.isEmpty())
        m_watcher->addPaths(missing);
}

void CustomGlossaryStore::publish(QList<GlossaryPack> packs)
{
    if (packs == m_packs)
        return;
    m_packs = std::move(packs);
    m_matchIndex.reset();
    emit packsChanged();
}

void CustomGlossaryStore::setLoadError(const QString &message)
{
    if (message == m_loadError)
        return;
    m_loadError = message;
    emit loadErrorChanged();
}

// Changes --------------------------------------------------------------------

Result<QString, PackError> CustomGlossaryStore::readPackFile(const QString &path)
{
    static const QStringList extensions{QStringLiteral("md"), QStringLiteral("markdown"),
                                        QStringLiteral("txt")};
    const QFileInfo info(path);
    if (!extensions.contains(info.suffix().toLower()))
        return PackError::unsupportedFileType();

    // Decided before opening: opening a pipe waits for a writer, and reading a
    // device may never end.
    if (!info.exists())
        return PackError::readFailed();
    if (!info.isFile())
        return PackError::notRegularFile();
    if (info.size() > GlossaryPackageParser::kMaximumFileSize)
        return PackError::fileTooLarge();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PackError::readFailed();
    // One byte more than allowed tells a file that grew since it was looked at.
    const QByteArray bytes = file.read(GlossaryPackageParser::kMaximumFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return PackError::readFailed();
    if (bytes.size() > GlossaryPackageParser::kMaximumFileSize)
        return PackError::fileTooLarge();

    return GlossaryPackageParser::decodeFileText(bytes);
}

Result<GlossaryImportSummary, PackError> CustomGlossaryStore::importFile(const QString &path)
{
    auto text = readPackFile(path);
    if (!text)
        return text.error();
    return importText(text.value(), QFileInfo(path).fileName());
}

Result<GlossaryImportSummary, PackError>
CustomGlossaryStore::importText(const QString &text, const QString &sourceFileName)
{
    const QDateTime now = m_clock();
    auto parsed = GlossaryPackageParser::parse(text, sourceFileName, now);
    if (!parsed)
        return parsed.error();
    GlossaryPackDraft draft = std::move(parsed).value();

    const QString key =
        identityKey(draft.industry, draft.vocabularyDepth, draft.explanationPerspective);
    std::optional<GlossaryImportSummary> summary;
    const auto changed = change([&](const QList<GlossaryPack> &current)
                                    -> Result<QList<GlossaryPack>, PackError> {
        qsizetype existing = -1;
        for (qsizetype i = 0; i < current.size(); ++i) {
            const GlossaryPack &pack = current[i];
            if (identityKey(pack.industry, pack.vocabularyDepth, pack.explanationPerspective) ==
                key) {
                existing = i;
                break;
            }
        }

        // Terms that other packs already explain are counted, not dropped. The
        // version being replaced is no "other" pack.
        QSet<QString> otherKeys;
        for (const GlossaryPack &pack : current) {
            if (existing >= 0 && pack.id == current[existing].id)
                continue;
            for (const QString &key : keysOf(pack, false).termKeys)
                otherKeys.insert(key);
        }
        qsizetype duplicates = 0;
        for (const CustomGlossaryEntry &entry : std::as_const(draft.entries)) {
            if (otherKeys.contains(termKey(entry.term)))
                ++duplicates;
        }

        GlossaryPack pack = GlossaryPack::fromDraft(
            draft, existing >= 0 ? current[existing].id : QUuid::createUuid(), now);
        // A pack the user switched off stays off when a newer version arrives.
        pack.isEnabled = existing >= 0 ? current[existing].isEnabled : true;

        // The new version goes first and the sort keeps it there among packs of
        // the same second: timestamps are whole seconds, and the pack imported
        // last is still the newest.
        QList<GlossaryPack> packs = current;
        if (existing >= 0)
            packs.remove(existing);
        packs.prepend(pack);
        sortNewestFirst(packs);
        summary = GlossaryImportSummary{pack, existing >= 0, duplicates, draft.ignoredEntryCount};
        return packs;
    });
    if (!changed)
        return changed.error();
    return *summary;
}

Result<Done, PackError> CustomGlossaryStore::setEnabled(bool enabled, const QUuid &packId)
{
    return change([&](QList<GlossaryPack> packs) -> Result<QList<GlossaryPack>, PackError> {
        const auto it = std::find_if(packs.begin(), packs.end(),
                                     [&](const GlossaryPack &pack) { return pack.id == packId; });
        if (it == packs.end())
            return PackError::packageNotFound();
        it->isEnabled = enabled;
        return packs;
    });
}

Result<Done, PackError> CustomGlossaryStore::remove(const QUuid &packId)
{
    return change([&](QList<GlossaryPack> packs) -> Result<QList<GlossaryPack>, PackError> {
        packs.removeIf([&](const GlossaryPack &pack) { return pack.id == packId; });
        return packs;
    });
}

QString CustomGlossaryStore::identityKey(const QString &industry, const QString &depth,
                                         const QString &perspective)
{
    return termKey(industry) + u'|' + termKey(depth) + u'|' + termKey(perspective);
}

// Reading for lookups ---------------------------------------------------------

QList<const GlossaryPack *> CustomGlossaryStore::enabledPacksNewestFirst() const
{
    QList<const GlossaryPack *> packs;
    for (const GlossaryPack &pack : m_packs) {
        if (pack.isEnabled)
            packs.append(&pack);
    }
    // The list is kept in this order already; sorting again keeps the rule
    // independent of how the list came about.
    std::stable_sort(packs.begin(), packs.end(), [](const GlossaryPack *a, const GlossaryPack *b) {
        return a->importedAt > b->importedAt;
    });
    return packs;
}

QList<CustomGlossaryEntry> CustomGlossaryStore::entries() const
{
    QList<CustomGlossaryEntry> result;
    for (const GlossaryPack *pack : enabledPacksNewestFirst())
        result.append(pack->entries);
    return result;
}

QList<GlossaryCatalogItem> CustomGlossaryStore::catalogItems() const
{
    QList<GlossaryCatalogItem> items;
    for (const GlossaryPack *pack : enabledPacksNewestFirst()) {
        for (const CustomGlossaryEntry &entry : pack->entries)
            items.append({entry.term, entry.aliases});
    }
    return items;
}

const CustomGlossaryStore::PackKeys &CustomGlossaryStore::keysOf(const GlossaryPack &pack,
                                                                 bool withAliases) const
{
    auto it = m_packKeys.find(pack.id);
    // QList compares shared data by pointer first, so an unchanged pack costs nothing here.
    if (it == m_packKeys.end() || it->entries != pack.entries) {
        PackKeys keys;
        keys.entries = pack.entries;
        keys.termKeys.reserve(pack.entries.size());
        for (const CustomGlossaryEntry &entry : pack.entries)
            keys.termKeys.append(termKey(entry.term));
        it = m_packKeys.insert(pack.id, std::move(keys));
    }
    if (withAliases && !it->hasAliasKeys) {
        it->aliasStart.reserve(pack.entries.size() + 1);
        for (const CustomGlossaryEntry &entry : pack.entries) {
            it->aliasStart.append(it->aliasKeys.size());
            for (const QString &alias : entry.aliases)
                it->aliasKeys.append(termKey(alias));
        }
        it->aliasStart.append(it->aliasKeys.size());
        it->hasAliasKeys = true;
    }
    return *it;
}

const CustomGlossaryStore::MatchIndex &CustomGlossaryStore::matchIndex() const
{
    if (m_matchIndex)
        return *m_matchIndex;

    MatchIndex index;
    for (const GlossaryPack *pack : enabledPacksNewestFirst()) {
        const PackKeys &keys = keysOf(*pack, true);
        const qsizetype offset = index.entries.size();
        index.entries.append(pack->entries);
        for (qsizetype i = 0; i < pack->entries.size(); ++i) {
            // The term before its aliases, as the rule walks them.
            index.names.add(keys.termKeys[i], offset + i);
            for (qsizetype a = keys.aliasStart[i]; a < keys.aliasStart[i + 1]; ++a)
                index.names.add(keys.aliasKeys[a], offset + i);
        }
    }

    // Forget the keys of packs that are gone; switched-off packs keep theirs.
    QSet<QUuid> present;
    for (const GlossaryPack &pack : m_packs)
        present.insert(pack.id);
    m_packKeys.removeIf([&](const auto &it) { return !present.contains(it.key()); });

    m_matchIndex = std::move(index);
    return *m_matchIndex;
}

std::optional<CustomGlossaryEntry> CustomGlossaryStore::match(QStringView query) const
{
    const QString q = termKey(query);
    if (q.isEmpty())
        return std::nullopt;
    const MatchIndex &index = matchIndex();
    const auto best = index.names.bestMatch(q);
    if (!best)
        return std::nullopt;
    return index.entries[*best];
}

} // namespace wordlumen
