#include "historydatabase.h"

#include "historylog.h"
#include "historyschema.h"
#include "packs/isotimestamp.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QtEndian>

namespace wordlumen {

namespace {

// SQLite's primary result codes that matter here.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

// The file header (https://www.sqlite.org/fileformat.html): the magic string,
// then user_version at byte 60 and application_id at byte 68, big-endian.
constexpr qsizetype kHeaderSize = 100;
constexpr char kMagic[] = "SQLite format 3";
constexpr qsizetype kUserVersionOffset = 60;
constexpr qsizetype kApplicationIdOffset = 68;

// Files beside the database that belong to it and go wherever it goes: a
// write-ahead log left next to another database would be read into it.
const QStringList &companionSuffixes()
{
    static const QStringList suffixes{QStringLiteral("-wal"), QStringLiteral("-shm"),
                                      QStringLiteral("-journal")};
    return suffixes;
}

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    // Extended codes keep the primary code in their low byte.
    return ok ? (code & 0xff) : -1;
}

QString connectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("wordlumen-history-%1").arg(counter.fetchAndAddRelaxed(1));
}

// `<dir>/History.unreadable-20261208T101500Z.sqlite3`, with a counter when that name is taken.
QString unreadableCopyPath(const QString &filePath, const QDateTime &now)
{
    const QFileInfo info(filePath);
    const QString stem = info.completeBaseName() + QStringLiteral(".unreadable-") +
                         IsoTimestamp::fileNameStamp(now.toUTC());
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString candidate = info.dir().filePath(stem + suffix);
    for (int counter = 2; QFileInfo::exists(candidate); ++counter)
        candidate = info.dir().filePath(stem + u'-' + QString::number(counter) + suffix);
    return candidate;
}

struct Identity
{
    qint32 applicationId = 0;
    int userVersion = 0;
    int schemaObjects = 0;
};

} // namespace

HistoryDatabase::HistoryDatabase(QString filePath)
    : m_filePath(std::move(filePath))
    , m_connectionName(connectionName())
{}

HistoryDatabase::~HistoryDatabase()
{
    close();
}

HistoryError HistoryDatabase::errorFor(const QSqlError &error)
{
    switch (primaryCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return HistoryError::Busy;
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return HistoryError::Unreadable;
    case kSqliteCantOpen:
        return HistoryError::CannotOpen;
    default:
        return HistoryError::StorageFailed;
    }
}

Result<Done, HistoryError> HistoryDatabase::open(const QDateTime &now)
{
    if (isOpen())
        return Done{};
    if (m_newerSchema)
        return HistoryError::NewerSchema;

    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath())) {
        qCWarning(lcHistory) << "cannot create the history folder";
        return HistoryError::CannotOpen;
    }
    // A folder, pipe or device is nothing to open, and nothing to move aside either.
    if (info.exists() && !info.isFile()) {
        qCWarning(lcHistory) << "the history path is not a regular file";
        return HistoryError::CannotOpen;
    }

    // At most one file is moved aside per opening: the new one is ours.
    bool movedAside = false;
    for (;;) {
        auto moveAsideOnce =
            [&](const QString &reason) -> std::optional<Result<Done, HistoryError>> {
            close();
            if (movedAside)
                return HistoryError::Unreadable;
            movedAside = true;
            if (auto moved = moveAside(reason, now); !moved)
                return moved;
            return std::nullopt;
        };
        const QString notOurs = QStringLiteral("它不是 Wordlumen 的查询历史");
        const QString corrupt = QStringLiteral("文件已损坏");

        FileKind kind = inspectHeader();
        if (kind == FileKind::Newer) {
            m_newerSchema = true;
            qCWarning(lcHistory) << "the history database has a newer layout; left untouched";
            return HistoryError::NewerSchema;
        }
        if (kind == FileKind::NotSqlite || kind == FileKind::Foreign) {
            if (auto failed = moveAsideOnce(notOurs))
                return *failed;
            continue;
        }

        if (auto opened = openConnection(); !opened)
            return opened;

        // Asked before anything is written: a foreign file is moved away as it was.
        if (kind == FileKind::Undecided) {
            const auto identified = identify();
            if (!identified) {
                if (identified.error() == HistoryError::Unreadable) {
                    if (auto failed = moveAsideOnce(corrupt))
                        return *failed;
                    continue;
                }
                close();
                return identified.error();
            }
            if (identified.value() == FileKind::Newer) {
                // Its header did not say so yet: the change is still in the log.
                close();
                m_newerSchema = true;
                qCWarning(lcHistory) << "the history database has a newer layout; left untouched";
                return HistoryError::NewerSchema;
            }
            if (identified.value() == FileKind::Foreign) {
                if (auto failed = moveAsideOnce(notOurs))
                    return *failed;
                continue;
            }
        }

        auto ready = configure();
        if (ready)
            ready = migrate();
        if (ready)
            return Done{};
        if (m_newerSchema) {
            close();
            return HistoryError::NewerSchema;
        }
        if (ready.error() == HistoryError::Unreadable) {
            if (auto failed = moveAsideOnce(m_foreignFound ? notOurs : corrupt))
                return *failed;
            continue;
        }
        close();
        return ready.error();
    }
}

Result<Done, HistoryError> HistoryDatabase::replaceUnreadableFile(const QDateTime &now)
{
    close();
    if (auto moved = moveAside(QStringLiteral("文件已损坏"), now); !moved)
        return moved;
    return open(now);
}

void HistoryDatabase::close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    m_connection.close();
    m_connection = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

HistoryDatabase::FileKind HistoryDatabase::inspectHeader() const
{
    QFile file(m_filePath);
    if (!file.exists())
        return FileKind::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return FileKind::Undecided; // SQLite will say why it cannot open it
    const QByteArray header = file.read(kHeaderSize);
    if (header.isEmpty())
        return FileKind::Missing;
    if (header.size() < kHeaderSize || !header.startsWith(QByteArrayView(kMagic, sizeof kMagic)))
        return FileKind::NotSqlite;

    const auto *bytes = reinterpret_cast<const uchar *>(header.constData());
    const qint32 applicationId = qFromBigEndian<qint32>(bytes + kApplicationIdOffset);
    const qint32 userVersion = qFromBigEndian<qint32>(bytes + kUserVersionOffset);
    if (applicationId == HistorySchema::kApplicationId)
        return userVersion > HistorySchema::currentVersion() ? FileKind::Newer : FileKind::Ours;
    // Without an id it may be ours all the same: a database just created by
    // another program keeps its first pages in the write-ahead log until a
    // checkpoint, so only SQLite can tell.
    return applicationId == 0 ? FileKind::Undecided : FileKind::Foreign;
}

Result<Done, HistoryError> HistoryDatabase::openConnection()
{
    m_connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!m_connection.isValid()) {
        qCWarning(lcHistory) << "Qt's SQLite driver (QSQLITE) is not installed";
        close();
        return HistoryError::DriverMissing;
    }
    m_connection.setDatabaseName(m_filePath);
    m_connection.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!m_connection.open()) {
        qCWarning(lcHistory) << "cannot open the history database:"
                             << m_connection.lastError().text();
        close();
        return HistoryError::CannotOpen;
    }
    return Done{};
}

namespace {

Result<Identity, QSqlError> readIdentity(const QSqlDatabase &connection)
{
    Identity identity;
    QSqlQuery query(connection);
    auto integer = [&](const QString &statement, auto *target) -> std::optional<QSqlError> {
        if (!query.exec(statement) || !query.next())
            return query.lastError();
        *target = static_cast<std::remove_pointer_t<decltype(target)>>(query.value(0).toLongLong());
        return std::nullopt;
    };
    if (auto error = integer(QStringLiteral("PRAGMA application_id"), &identity.applicationId))
        return *error;
    if (auto error = integer(QStringLiteral("PRAGMA user_version"), &identity.userVersion))
        return *error;
    if (auto error =
            integer(QStringLiteral("SELECT count(*) FROM sqlite_master"), &identity.schemaObjects))
        return *error;
    return identity;
}

} // namespace

Result<HistoryDatabase::FileKind, HistoryError> HistoryDatabase::identify()
{
    const auto identity = readIdentity(m_connection);
    if (!identity)
        return failWith(identity.error(), "read the database's identity").error();
    if (identity->applicationId == HistorySchema::kApplicationId)
        return identity->userVersion > HistorySchema::currentVersion() ? FileKind::Newer
                                                                       : FileKind::Ours;
    // An empty database (a file of length zero, or a header alone) becomes ours.
    if (identity->applicationId == 0 && identity->userVersion == 0 && identity->schemaObjects == 0)
        return FileKind::Missing;
    return FileKind::Foreign;
}

Result<Done, HistoryError> HistoryDatabase::configure()
{
    QSqlQuery query(m_connection);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
        return failWith(query.lastError(), "switch to write-ahead logging");
    if (query.next() && query.value(0).toString() != u"wal")
        qCWarning(lcHistory) << "the file system does not allow write-ahead logging; using"
                             << query.value(0).toString();
    if (!query.exec(QStringLiteral("PRAGMA synchronous = NORMAL")))
        return failWith(query.lastError(), "set synchronous=NORMAL");
    // Checkpoints run on a thread of their own (HistoryCheckpointer), not in
    // a commit. A log can only start over once it is folded in entirely,
    // which a burst of recordings (an import, a script) outruns: past 32 MiB
    // a commit folds it in itself, as SQLite does by default at 4 MiB. The
    // log's file is reused when the log starts over, not cut back, which
    // would cost the recording that starts it a truncation.
    if (!query.exec(QStringLiteral("PRAGMA wal_autocheckpoint = 8192")))
        return failWith(query.lastError(), "set the checkpoint policy");
    return Done{};
}

Result<Done, HistoryError> HistoryDatabase::migrate()
{
    m_foreignFound = false;
    QSqlQuery query(m_connection);
    // Immediate, so that two programs creating the same new file take turns:
    // the second finds the first one's layout and adds nothing.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return failWith(query.lastError(), "begin the migration");
    auto rollBack = [&] {
        QSqlQuery(m_connection).exec(QStringLiteral("ROLLBACK"));
    };

    const auto identity = readIdentity(m_connection);
    if (!identity) {
        rollBack();
        return failWith(identity.error(), "read the database's identity");
    }
    const bool ours = identity->applicationId == HistorySchema::kApplicationId;
    const bool empty =
        identity->applicationId == 0 && identity->userVersion == 0 && identity->schemaObjects == 0;
    if (!ours && !empty) {
        rollBack();
        m_foreignFound = true;
        return HistoryError::Unreadable;
    }
    if (identity->userVersion > HistorySchema::currentVersion()) {
        rollBack();
        m_newerSchema = true;
        qCWarning(lcHistory) << "the history database has a newer layout; left untouched";
        return HistoryError::NewerSchema;
    }

    for (const HistorySchema::Step &step : HistorySchema::steps()) {
        if (step.version <= identity->userVersion)
            continue;
        for (const QString &statement : step.statements) {
            if (!query.exec(statement)) {
                const QSqlError error = query.lastError();
                rollBack();
                return failWith(error, "migrate the layout");
            }
        }
        const QString stamp = QStringLiteral("PRAGMA user_version = %1").arg(step.version);
        if (!query.exec(stamp)) {
            const QSqlError error = query.lastError();
            rollBack();
            return failWith(error, "record the layout version");
        }
        qCInfo(lcHistory) << "history layout migrated to version" << step.version;
    }
    if (identity->userVersion == 0 &&
        !query.exec(
            QStringLiteral("PRAGMA application_id = %1").arg(HistorySchema::kApplicationId))) {
        const QSqlError error = query.lastError();
        rollBack();
        return failWith(error, "mark the file as a history database");
    }
    if (!query.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = query.lastError();
        rollBack();
        return failWith(error, "commit the migration");
    }
    return Done{};
}

Result<Done, HistoryError> HistoryDatabase::moveAside(const QString &reason, const QDateTime &now)
{
    close();
    const QString target = unreadableCopyPath(m_filePath, now);
    if (!QFile::rename(m_filePath, target)) {
        qCWarning(lcHistory) << "cannot move the unreadable history file aside";
        return HistoryError::Unreadable;
    }
    for (const QString &suffix : companionSuffixes()) {
        if (QFileInfo::exists(m_filePath + suffix) &&
            !QFile::rename(m_filePath + suffix, target + suffix)) {
            // A log left here would be read into the new database: stop instead.
            qCWarning(lcHistory) << "cannot move the history file's" << suffix << "aside";
            return HistoryError::Unreadable;
        }
    }
    qCWarning(lcHistory) << "moved an unreadable history file aside";
    m_notice = QStringLiteral("查询历史文件读不了（%1），已原样移到 %2，并新建了一份空的查询历史。")
                   .arg(reason, QDir::toNativeSeparators(target));
    return Done{};
}

Result<Done, HistoryError> HistoryDatabase::failWith(const QSqlError &error, const char *what)
{
    // SQLite's own text names the failure, never the statement's values.
    qCWarning(lcHistory) << "cannot" << what << "-" << error.nativeErrorCode()
                         << error.databaseText();
    return errorFor(error);
}

} // namespace wordlumen
