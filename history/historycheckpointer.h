#pragma once

#include <QObject>
#include <QString>
#include <QThread>

namespace wordlumen {

class HistoryCheckpointWorker;

/**
 * Folds the history's write-ahead log back into the database on a thread of
 * its own. A checkpoint copies what the log holds and waits for the disk
 * twice; done inside a recording on the main thread (SQLite's automatic
 * checkpoint), it made one recording in a hundred take 15 ms and more. The
 * main connection leaves the automatic checkpoint to bursts that outrun
 * this thread, and asks here instead.
 *
 * The thread and its connection start with the first request, so a short
 * run (the terminal companion) never starts them; its closing connection
 * folds the log in, as SQLite does for the last connection to a file.
 * Checkpoints are passive: they never wait for, nor hold up, a writer.
 */
class HistoryCheckpointer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryCheckpointer)

public:
    explicit HistoryCheckpointer(QString filePath, QObject *parent = nullptr);
    /// Closes the thread's connection (checkpointing once more) and stops the thread.
    ~HistoryCheckpointer() override;

    /// Asks for a checkpoint and returns at once; requests made while one runs become one.
    void request();

private:
    QString m_filePath;
    QThread m_thread;
    HistoryCheckpointWorker *m_worker = nullptr;
};

} // namespace wordlumen
