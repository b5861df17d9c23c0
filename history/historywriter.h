#pragma once

#include "historyentry.h"
#include "historyerror.h"
#include "historystore.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

#include <optional>

namespace wordlumen {

class HistoryWriterWorker;

/**
 * Writes the card's recordings (and its stars) into the history on a thread
 * of its own, so that showing an answer never waits for the database: a
 * recording that starts the log over waits for the disk, the search index
 * merges its segments now and then, and another program may hold the write
 * lock for a moment. On the calling thread a recording costs a copy of the
 * record and a queued call.
 *
 * The thread has its own connection to the file of `store`, the store the
 * rest of the program reads through (the history page, saved answers, the
 * recent queries), and follows its switch and its limit: nothing is handed
 * over while `store` has recording off, and the limit it is given is the
 * thread's too. What the thread writes is announced through the store's
 * entriesChanged, as if the store had written it.
 *
 * Everything handed over is written in order: a star set after a recording
 * applies to the row that recording made. Until the thread has written a
 * recording it is still here (pendingRecord), so a lookup of the same term
 * in the meantime finds it. The thread starts with the first recording and
 * is stopped, after everything handed over is written, when the writer goes.
 */
class HistoryWriter final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryWriter)

public:
    /// Writes into `store`'s file; `clock` (called on the writer's thread) for the times written.
    explicit HistoryWriter(HistoryStore *store, HistoryStore::Clock clock = {},
                           QObject *parent = nullptr);
    /// Waits until everything handed over is written.
    ~HistoryWriter() override;

    /// A recording handed over and not yet written.
    struct Pending
    {
        QString termKey;
        HistoryRecord record;
        /// When it was handed over (UTC): its time in the history, give or take the queue.
        QDateTime handedAt;
    };

    /**
     * Hands `record` to the thread and returns at once; recordWritten or
     * recordFailed follow. False, and nothing is handed over, while recording
     * is off or for what the history never keeps (notices, terms without a
     * term key).
     */
    bool record(const HistoryRecord &record);

    /// Stars or unstars `term` after everything handed over so far; starWritten or starFailed
    /// follow.
    void setStarred(const QString &term, bool starred);

    /// Asks whether `term` is in the history and starred, after everything handed over so far;
    /// starRead follows.
    void readStar(const QString &term);

    /// The newest recording of `term` (by its term key) that is not written yet.
    [[nodiscard]] std::optional<Pending> pendingRecord(QStringView term) const;
    /// The star state asked for `term` and not written yet.
    [[nodiscard]] std::optional<bool> pendingStar(QStringView term) const;
    /// Recordings handed over and not yet written, oldest first.
    [[nodiscard]] const QList<Pending> &pendingRecords() const { return m_pending; }

    /**
     * Blocks until everything handed over is written and its signals are
     * emitted: for leaving the program, tests and benchmarks, never for the card.
     */
    void waitForWritten();

signals:
    /// `termKey`'s recording is written; `starred` is the row's star as it is now.
    void recordWritten(const QString &termKey, bool starred);
    void recordFailed(const QString &termKey, wordlumen::HistoryError error);
    void starWritten(const QString &termKey, bool starred);
    /// The star could not be set; `NotFound` when the term is not in the history.
    void starFailed(const QString &termKey, wordlumen::HistoryError error);
    /// What readStar found: whether the term is in the history, and starred.
    void starRead(const QString &termKey, bool found, bool starred);

private:
    void ensureStarted();
    void post(std::function<void(HistoryStore &)> work);
    void limitChanged();

    QPointer<HistoryStore> m_store;
    HistoryStore::Clock m_clock;
    QThread m_thread;
    HistoryWriterWorker *m_worker = nullptr;
    QList<Pending> m_pending;
    // Star changes handed over and not yet written, by term key; the last one
    // asked for each key, with how many are still on their way.
    struct PendingStar
    {
        bool starred = false;
        int inFlight = 0;
    };
    QHash<QString, PendingStar> m_pendingStars;
};

} // namespace wordlumen
