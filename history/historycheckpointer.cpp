#include "historycheckpointer.h"

#include "historylog.h"

#include <QAtomicInteger>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtEndian>
#include <QTimer>
#include <QUrl>

namespace wordlumen {

/// Lives on the checkpointer's thread, where its connection was made.
class HistoryCheckpointWorker final : public QObject
{
    Q_OBJECT

public:
    explicit HistoryCheckpointWorker(QString filePath)
        : m_filePath(std::move(filePath))
    {
        static QAtomicInteger<quint64> counter;
        m_connectionName =
            QStringLiteral("wordlumen-history-checkpoint-%1").arg(counter.fetchAndAddRelaxed(1));
    }

    /// Set by a request until the worker takes it up, so that requests made meanwhile become one.
    QAtomicInteger<bool> pending = false;

    /// A new request: the log is folded in now, and later again if it has not started over.
    void requested()
    {
        pending = false;
        m_triesLeft = kTries;
        m_lastStart = -1;
        checkpoint();
    }

    void close()
    {
        m_closed = true;
        if (!QSqlDatabase::contains(m_connectionName))
            return;
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }

private:
    // Passes in a row, and tries in all, before the log is left for the next request.
    static constexpr int kPasses = 4;
    static constexpr int kTries = 20;
    // While recordings outrun the passes, and after a pass that caught up.
    static constexpr int kBehindDelayMs = 200;
    static constexpr int kCaughtUpDelayMs = 1000;

    // The log starts over (in the next recording) only once a checkpoint has
    // folded in all of it, and that recording waits for the disk once, so
    // one start per request is the aim. Recordings that arrive while a pass
    // waits for the disk leave a few frames behind; another pass copies just
    // those. A burst outruns the passes, and recordings may come right after
    // a pass caught up, before the log could start over: later tries fold
    // those in, until the log has started over or no longer changes.
    void checkpoint()
    {
        if (m_closed || !ensureOpen())
            return;
        if (m_lastStart >= 0 && logStarts() != m_lastStart)
            return; // started over since the last try: done
        QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
        int logFrames = 0;
        int foldedFrames = 0;
        for (int pass = 0; pass < kPasses; ++pass) {
            if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")) || !query.next()) {
                qCWarning(lcHistory) << "checkpoint failed:" << query.lastError().nativeErrorCode()
                                     << query.lastError().databaseText();
                return;
            }
            // busy, frames in the log, frames folded in
            logFrames = query.value(1).toInt();
            foldedFrames = query.value(2).toInt();
            query.finish();
            if (foldedFrames >= logFrames)
                break;
        }
        const bool caughtUp = foldedFrames >= logFrames;
        const bool unchanged = caughtUp && logFrames == m_lastLogFrames;
        m_lastLogFrames = logFrames;
        m_lastStart = logStarts();
        if (unchanged || m_triesLeft-- <= 0)
            return;
        QTimer::singleShot(caughtUp ? kCaughtUpDelayMs : kBehindDelayMs, this,
                           &HistoryCheckpointWorker::checkpoint);
    }

    // How often the log has started over: its header counts it (bytes 12 to
    // 15, big-endian). Read from the file, since asking SQLite would fold in
    // frames, and a fold that lets the log start over costs that recording a wait.
    [[nodiscard]] qint64 logStarts() const
    {
        QFile log(m_filePath + QStringLiteral("-wal"));
        if (!log.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray header = log.read(16);
        return header.size() < 16 ? -1 : qFromBigEndian<quint32>(header.constData() + 12);
    }

    bool ensureOpen()
    {
        if (QSqlDatabase::contains(m_connectionName))
            return true;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        // Opened only if it exists: the store made it, and stops us before it
        // moves the file aside.
        db.setDatabaseName(QUrl::fromLocalFile(m_filePath).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1000"));
        if (db.open())
            return true;
        qCWarning(lcHistory) << "cannot open the history for checkpoints";
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        return false;
    }

    QString m_filePath;
    QString m_connectionName;
    int m_triesLeft = 0;
    int m_lastLogFrames = -1;
    qint64 m_lastStart = -1;
    // After close(), nothing opens the connection again.
    bool m_closed = false;
};

HistoryCheckpointer::HistoryCheckpointer(QString filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{
    m_thread.setObjectName(QStringLiteral("history checkpoints"));
}

HistoryCheckpointer::~HistoryCheckpointer()
{
    if (!m_worker)
        return;
    QMetaObject::invokeMethod(m_worker, &HistoryCheckpointWorker::close,
                              Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

void HistoryCheckpointer::request()
{
    if (!m_worker) {
        m_worker = new HistoryCheckpointWorker(m_filePath);
        m_worker->moveToThread(&m_thread);
        m_thread.start(QThread::LowPriority);
    }
    if (m_worker->pending.fetchAndStoreRelaxed(true))
        return;
    QMetaObject::invokeMethod(m_worker, &HistoryCheckpointWorker::requested, Qt::QueuedConnection);
}

} // namespace wordlumen

#include "historycheckpointer.moc"
