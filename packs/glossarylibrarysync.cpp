#include "glossarylibrarysync.h"

#include "core/watchedfile.h"
#include "glossarylibraryfile.h"
#include "isotimestamp.h"
#include "packslog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QUuid>

#include <chrono>

namespace wordlumen {

namespace {

using namespace std::chrono_literals;

constexpr int kLockTimeoutMs = 5000;
// Lets a writer's burst of events (temporary file, rename, lock file) settle.
constexpr auto kReloadDelay = 50ms;
constexpr auto kLockedRetry = 200ms;

const QString kLoadFailedPrefix = QStringLiteral("本地补充包没有加载成功：");

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

GlossaryLibrarySync::GlossaryLibrarySync(Clock clock, QString filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
    , m_clock(std::move(clock))
{
    m_lockedRetry.setSingleShot(true);
    m_lockedRetry.setInterval(kLockedRetry);
    connect(&m_lockedRetry, &QTimer::timeout, this, &GlossaryLibrarySync::reloadChangedFile);

    load();

    // Another program (the terminal companion, a second window) may change
    // the file at any time; its change is read and published like our own.
    // Watched from after the load, so that a migration's own write is not
    // heard as someone else's. The folder is not made before the first write.
    m_watch = new WatchedFile(m_filePath, kReloadDelay, WatchedFile::MissingFolder::WaitFor, this);
    connect(m_watch, &WatchedFile::changed, this, &GlossaryLibrarySync::reloadChangedFile);
}

// Loading --------------------------------------------------------------------

GlossaryLibrarySync::DiskFile GlossaryLibrarySync::readDiskFile() const
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

GlossaryLibrarySync::Fingerprint GlossaryLibrarySync::fingerprintOf(const DiskFile &disk)
{
    return {disk.exists, disk.readError, disk.bytes.size(), qHash(disk.bytes, 0x5eed)};
}

bool GlossaryLibrarySync::refresh()
{
    const DiskFile disk = readDiskFile();
    const Fingerprint fingerprint = fingerprintOf(disk);
    if (m_known && *m_known == fingerprint)
        return false;
    m_known = fingerprint;
    adopt(disk);
    return true;
}

void GlossaryLibrarySync::adopt(const DiskFile &disk)
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
        GlossaryPack::sortNewestFirst(packs);
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

void GlossaryLibrarySync::load()
{
    refresh();
    migrateIfNeeded();
}

void GlossaryLibrarySync::migrateIfNeeded()
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

void GlossaryLibrarySync::failLoad(const QString &description)
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

Result<Done, PackError> GlossaryLibrarySync::moveUnreadableFileAside()
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

Result<Done, PackError> GlossaryLibrarySync::persist(const QList<GlossaryPack> &packs)
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

    // What is on disk now is ours: the watch's next look finds nothing new.
    m_known = fingerprintOf({true, {}, bytes});
    m_needsMigration = false;
    setLoadError(m_movedAsideNotice);
    return Done{};
}

Result<Done, PackError> GlossaryLibrarySync::change(const Change &apply)
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

QString GlossaryLibrarySync::lockFilePath() const
{
    return m_filePath + QStringLiteral(".lock");
}

// Changes by other programs ------------------------------------------------------

void GlossaryLibrarySync::reloadChangedFile()
{
    // A writer holds the lock while it moves a damaged file aside and writes
    // the new one; reading in between would show a library that is briefly
    // gone. The lock file's removal, or the retry, brings us back here.
    if (QFileInfo::exists(lockFilePath())) {
        m_lockedRetry.start();
        return;
    }
    m_lockedRetry.stop();
    if (refresh()) {
        qCInfo(lcPacks) << "library changed by another program; published";
        migrateIfNeeded();
    }
}

void GlossaryLibrarySync::publish(QList<GlossaryPack> packs)
{
    if (packs == m_packs)
        return;
    m_packs = std::move(packs);
    emit packsChanged();
}

void GlossaryLibrarySync::setLoadError(const QString &message)
{
    if (message == m_loadError)
        return;
    m_loadError = message;
    emit loadErrorChanged();
}

} // namespace wordlumen
