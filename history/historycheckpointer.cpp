#include "historycheckpointer.h"

#include "historylog.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
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

    QAtomicInteger<bool> pending = false;

    void checkpoint()
    {
        pending = false;
        if (!QSqlDatabase::contains(m_connectionName)) {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
            // Opened only if it exists: the store made it, and stops us before
            // it moves the file aside.
            db.setDatabaseName(QUrl::fromLocalFile(m_filePath).toString(QUrl::FullyEncoded) +
                               QStringLiteral("?mode=rw"));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1000"));
            if (!db.open()) {
                qCWarning(lcHistory) << "cannot open the history for checkpoints";
                return;
            }
        }
        QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
        if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")))
            qCWarning(lcHistory) << "checkpoint failed:" << query.lastError().nativeErrorCode()
                                 << query.lastError().databaseText();
    }

    void close()
    {
        if (!QSqlDatabase::contains(m_connectionName))
            return;
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }

private:
    QString m_filePath;
    QString m_connectionName;
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
    QMetaObject::invokeMethod(m_worker, &HistoryCheckpointWorker::checkpoint, Qt::QueuedConnection);
}

} // namespace wordlumen

#include "historycheckpointer.moc"
