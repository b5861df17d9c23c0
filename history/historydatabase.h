#pragma once

#include "core/result.h"
#include "historyerror.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

QT_FORWARD_DECLARE_CLASS(QSqlError)

namespace wordlumen {

/**
 * The connection to one history database file: opening it, telling whether
 * it is ours, bringing its layout up to date, and moving a file that is not a
 * history database (or is corrupt) aside. HistoryStore runs the queries.
 *
 * Opening never changes a file that is not ours before it has been moved
 * aside, and never touches one written by a newer program: its header is
 * read as plain bytes first, before SQLite sees it.
 *
 * Write-ahead logging lets readers and a writer work at once and commits
 * without waiting for the disk (`synchronous=NORMAL`: a commit survives a
 * crash of the program, only a crash of the machine may lose the last few).
 * Writers wait for each other up to kBusyTimeoutMs.
 */
class HistoryDatabase final
{
public:
    /// How long a writer waits for another program's transaction before giving up.
    static constexpr int kBusyTimeoutMs = 3000;

    explicit HistoryDatabase(QString filePath);
    ~HistoryDatabase();
    Q_DISABLE_COPY_MOVE(HistoryDatabase)

    [[nodiscard]] const QString &filePath() const { return m_filePath; }

    /**
     * Opens the file, creating it and its folder when missing, and migrates it
     * to the current layout. Returns at once when already open; fails at once,
     * without looking again, once the file turned out to be of a newer layout.
     * A file that is not ours or is corrupt is moved aside and a new one
     * started (see notice()).
     */
    Result<Done, HistoryError> open(const QDateTime &now);

    [[nodiscard]] bool isOpen() const { return m_connection.isOpen(); }

    /// The open connection; only valid while isOpen().
    [[nodiscard]] QSqlDatabase connection() const { return m_connection; }

    /// Closes the connection. Every query on it must be gone first.
    void close();

    /**
     * For a database that failed with SQLITE_CORRUPT or SQLITE_NOTADB while in
     * use: closes it, moves it aside and opens a new one. Every query on the
     * connection must be gone first.
     */
    Result<Done, HistoryError> replaceUnreadableFile(const QDateTime &now);

    /// After a file was moved aside: what happened and where it went. Empty otherwise.
    [[nodiscard]] const QString &notice() const { return m_notice; }

    /// The user's error for a failed statement: `Unreadable` when SQLite says
    /// the file is no database or is corrupt.
    [[nodiscard]] static HistoryError errorFor(const QSqlError &error);

private:
    enum class FileKind
    {
        Missing,   ///< no file, or an empty one: SQLite starts a database in it
        Ours,      ///< our application id at a version we know
        Newer,     ///< our application id at a version above ours
        Undecided, ///< a SQLite file without our id in its header: SQLite must look
        Foreign,   ///< another program's SQLite file
        NotSqlite, ///< no SQLite file at all
    };

    [[nodiscard]] FileKind inspectHeader() const;
    Result<Done, HistoryError> openConnection();
    /// Asks SQLite what the file holds; for files whose header does not say.
    Result<FileKind, HistoryError> identify();
    Result<Done, HistoryError> configure();
    Result<Done, HistoryError> migrate();
    Result<Done, HistoryError> moveAside(const QString &reason, const QDateTime &now);
    Result<Done, HistoryError> failWith(const QSqlError &error, const char *what);

    QString m_filePath;
    QString m_connectionName;
    QSqlDatabase m_connection;
    bool m_newerSchema = false;
    // The last migration found another program's database inside the file.
    bool m_foreignFound = false;
    QString m_notice;
};

} // namespace wordlumen
