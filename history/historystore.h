#pragma once

#include "core/result.h"
#include "historycheckpointer.h"
#include "historydatabase.h"
#include "historyentry.h"
#include "historyerror.h"
#include "historysettings.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace wordlumen {

class HistoryStatements;

/**
 * The lookup history: one row per term (by its term key) with the latest
 * answer shown for it, how often and when it was looked up, and whether it
 * is starred. Kept in a SQLite database beside the pack library
 * (`History.sqlite3`), shared by every program of the user.
 *
 * The database is opened on first use, never at construction, so start-up
 * does not pay for it. Every operation runs on the calling (main) thread and
 * is short: statements are prepared once per connection and a recording is
 * one transaction. Writers of several programs take turns (write-ahead
 * logging, a busy timeout), so none loses a row.
 *
 * When the entries are more than entryLimit(), the oldest unstarred ones are
 * evicted; starred entries are never evicted, even when they alone are more
 * (the answer recorded last then stays as the one unstarred entry).
 *
 * A file that is not a history database, or turns out corrupt (when opening
 * or later), is moved aside and a new one started; statusMessage() says where
 * it went. A database of a newer layout is left untouched and every operation
 * fails with `NewerSchema`.
 *
 * Lives on one thread (the main thread): Qt's database connections are
 * bound to the thread that made them.
 */
class HistoryStore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryStore)
    Q_PROPERTY(bool recordingEnabled READ recordingEnabled WRITE setRecordingEnabled NOTIFY
                   recordingEnabledChanged)
    Q_PROPERTY(int entryLimit READ entryLimit NOTIFY entryLimitChanged)
    Q_PROPERTY(QString statusMessage READ statusMessage NOTIFY statusMessageChanged)

public:
    /// The current time; UTC.
    using Clock = std::function<QDateTime()>;

    struct Options
    {
        /// 「记录查询历史」: off, record() stores nothing.
        bool recordingEnabled = HistorySettings::defaultEnabled();
        int entryLimit = HistorySettings::defaultLimit();
        /// The system clock when empty.
        Clock clock;
    };

    /// The history at `filePath` with the default options; nothing is opened yet.
    explicit HistoryStore(const QString &filePath = defaultFilePath(), QObject *parent = nullptr);
    HistoryStore(const QString &filePath, Options options, QObject *parent = nullptr);
    ~HistoryStore() override;

    /// `History.sqlite3` in the data folder, beside the pack library (on Linux
    /// `~/.local/share/Zintaro/History.sqlite3`).
    [[nodiscard]] static QString defaultFilePath();

    /// The options the stored settings ask for (HistorySettings), with the system clock.
    [[nodiscard]] static Options optionsFromSettings();

    [[nodiscard]] QString filePath() const { return m_database.filePath(); }

    /// Whether the database has been opened (it is on first use).
    [[nodiscard]] bool isOpen() const { return m_database.isOpen(); }

    [[nodiscard]] bool recordingEnabled() const { return m_recordingEnabled; }
    void setRecordingEnabled(bool enabled);

    [[nodiscard]] int entryLimit() const { return m_entryLimit; }
    /**
     * Sets the limit (held to HistorySettings' range) and, when the database is
     * open, evicts what is over it at once; otherwise when it is opened.
     */
    Result<Done, HistoryError> setEntryLimit(int limit);

    /**
     * Why history is unavailable (a newer layout, a file that could not be
     * moved aside, no driver), or that an unreadable file was moved aside and
     * where to. Empty while all is well.
     */
    [[nodiscard]] QString statusMessage() const { return m_statusMessage; }

    /**
     * Records an answer the card showed: a new row for a new term key, else
     * the row's count goes up by one and its last-seen time, answer, query,
     * origin and source become this one's (its context too, when this one has
     * one). Does nothing while recording is off, for notices (origin
     * `unavailable`) and for terms without a term key (only punctuation).
     */
    Result<Done, HistoryError> record(const HistoryRecord &record);

    /// Stars or unstars the row of `term` (by its term key); `NotFound` when there is none.
    Result<Done, HistoryError> setStarred(QStringView term, bool starred);
    Result<Done, HistoryError> star(QStringView term) { return setStarred(term, true); }
    Result<Done, HistoryError> unstar(QStringView term) { return setStarred(term, false); }
    /// False when there is no such row or history is unavailable.
    [[nodiscard]] bool isStarred(QStringView term);

    /// Removes the row of `term`; `NotFound` when there is none.
    Result<Done, HistoryError> remove(QStringView term);
    /// Removes every row, starred ones included.
    Result<Done, HistoryError> clear();

    /// A page of entries, newest (last seen) first.
    [[nodiscard]] Result<HistoryPage, HistoryError> list(const HistoryQuery &query);
    /// How many entries the query finds in all (its `after` and `limit` are ignored).
    [[nodiscard]] Result<qsizetype, HistoryError> count(const HistoryQuery &query);

    /// Up to `limit` distinct queries as typed, newest first: the walk of Up and Down in the input.
    [[nodiscard]] Result<QStringList, HistoryError> recentQueries(int limit);

    /// The saved row of `term` (by its term key), to show again without a request.
    [[nodiscard]] Result<std::optional<HistoryEntry>, HistoryError> savedAnswer(QStringView term);

    /**
     * Rows of this file were changed through another connection of this
     * program (the background HistoryWriter): tells this store's views, as
     * if the store had changed them.
     */
    void announceOutsideChange() { emit entriesChanged(); }

signals:
    /// Rows were added, changed or removed by this store.
    void entriesChanged();
    void recordingEnabledChanged();
    void entryLimitChanged();
    void statusMessageChanged();

private:
    template<typename T>
    Result<T, HistoryError> withDatabase(const std::function<Result<T, HistoryError>()> &work);
    Result<Done, HistoryError> ensureOpen();
    Result<Done, HistoryError> writeRecord(const QString &key, const HistoryRecord &record);
    /// Evicts the oldest unstarred rows beyond the limit, never the row `keptId`.
    Result<Done, HistoryError> evictOverLimit(qint64 keptId = 0);
    Result<Done, HistoryError>
    runInTransaction(const std::function<Result<Done, HistoryError>()> &work);
    void updateStatus(const std::optional<HistoryError> &error);
    /// Counts a commit; every kCommitsPerCheckpoint asks the checkpointer to fold the log in.
    void noteCommit();
    /// Stops the checkpointer and forgets the statements: the connection may close after.
    void releaseConnection();

    // The recording that starts the log over after a checkpoint waits for
    // the disk once (SQLite makes the new log's header durable): one in 256
    // is fewer than one in a hundred. A recording writes some 40 KB of log
    // (the row, its indexes and the search index's segments), so the log
    // stays near 10 MB.
    static constexpr int kCommitsPerCheckpoint = 256;
    [[nodiscard]] QDateTime now() const;

    HistoryDatabase m_database;
    std::unique_ptr<HistoryStatements> m_statements;
    std::unique_ptr<HistoryCheckpointer> m_checkpointer;
    int m_commitsSinceCheckpoint = 0;
    Clock m_clock;
    bool m_recordingEnabled;
    int m_entryLimit;
    QString m_statusMessage;
};

} // namespace wordlumen
