#include "historywriter.h"

#include "core/termkey.h"
#include "historylog.h"

#include <QCoreApplication>

#include <memory>

namespace wordlumen {

/// Lives on the writer's thread with the store it writes through, made there on first use.
class HistoryWriterWorker final : public QObject
{
    Q_OBJECT

public:
    HistoryWriterWorker(QString filePath, HistoryStore::Options options)
        : m_filePath(std::move(filePath))
        , m_options(std::move(options))
    {}

    HistoryStore &store()
    {
        if (!m_store)
            m_store = std::make_unique<HistoryStore>(m_filePath, m_options);
        return *m_store;
    }

    /// Closes the connection on the thread that made it, and ends the thread's loop.
    void finish()
    {
        m_store.reset();
        QThread::currentThread()->quit();
    }

private:
    QString m_filePath;
    HistoryStore::Options m_options;
    std::unique_ptr<HistoryStore> m_store;
};

HistoryWriter::HistoryWriter(HistoryStore *store, HistoryStore::Clock clock, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_clock(std::move(clock))
{
    m_thread.setObjectName(QStringLiteral("history writer"));
    if (m_store)
        connect(m_store, &HistoryStore::entryLimitChanged, this, &HistoryWriter::limitChanged);
}

HistoryWriter::~HistoryWriter()
{
    if (!m_worker)
        return;
    // Queued behind every recording handed over: they are all written first.
    QMetaObject::invokeMethod(m_worker, &HistoryWriterWorker::finish, Qt::QueuedConnection);
    m_thread.wait();
    delete m_worker;
}

void HistoryWriter::ensureStarted()
{
    if (m_worker)
        return;
    // Recording is decided here, on the caller's side, before anything is
    // handed over; the thread's store records whatever reaches it.
    HistoryStore::Options options;
    options.recordingEnabled = true;
    options.entryLimit = m_store ? m_store->entryLimit() : HistorySettings::defaultLimit();
    options.clock = m_clock;
    m_worker = new HistoryWriterWorker(m_store ? m_store->filePath() : QString(), options);
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

void HistoryWriter::post(std::function<void(HistoryStore &)> work)
{
    ensureStarted();
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, work = std::move(work)] { work(worker->store()); },
        Qt::QueuedConnection);
}

bool HistoryWriter::record(const HistoryRecord &record)
{
    if (!m_store || !m_store->recordingEnabled() || record.origin == ExplanationOrigin::Unavailable)
        return false;
    QString key = termKey(record.term);
    if (key.isEmpty())
        return false;
    const QDateTime now = m_clock ? m_clock().toUTC() : QDateTime::currentDateTimeUtc();
    m_pending.append({key, record, now});
    post([this, key, record](HistoryStore &store) {
        const auto written = store.record(record);
        const std::optional<HistoryError> error =
            written ? std::nullopt : std::optional(written.error());
        const bool starred = written && store.isStarred(record.term);
        QMetaObject::invokeMethod(
            this,
            [this, key, error, starred] {
                // Replies come in the order the work was handed over.
                if (!m_pending.isEmpty())
                    m_pending.removeFirst();
                if (error) {
                    qCWarning(lcHistory).noquote()
                        << "an answer could not be recorded:" << historyErrorMessage(*error);
                    emit recordFailed(key, *error);
                    return;
                }
                if (m_store)
                    m_store->announceOutsideChange();
                emit recordWritten(key, starred);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void HistoryWriter::setStarred(const QString &term, bool starred)
{
    const QString key = termKey(term);
    PendingStar &pending = m_pendingStars[key];
    pending.starred = starred;
    ++pending.inFlight;
    post([this, key, term, starred](HistoryStore &store) {
        const auto changed = store.setStarred(term, starred);
        const std::optional<HistoryError> error =
            changed ? std::nullopt : std::optional(changed.error());
        QMetaObject::invokeMethod(
            this,
            [this, key, starred, error] {
                auto it = m_pendingStars.find(key);
                if (it != m_pendingStars.end() && --it->inFlight <= 0)
                    m_pendingStars.erase(it);
                if (error) {
                    emit starFailed(key, *error);
                    return;
                }
                if (m_store)
                    m_store->announceOutsideChange();
                emit starWritten(key, starred);
            },
            Qt::QueuedConnection);
    });
}

void HistoryWriter::readStar(const QString &term)
{
    const QString key = termKey(term);
    post([this, key, term](HistoryStore &store) {
        const auto saved = store.savedAnswer(term);
        const bool found = saved && saved.value().has_value();
        const bool starred = found && saved.value()->starred;
        QMetaObject::invokeMethod(
            this, [this, key, found, starred] { emit starRead(key, found, starred); },
            Qt::QueuedConnection);
    });
}

std::optional<HistoryWriter::Pending> HistoryWriter::pendingRecord(QStringView term) const
{
    const QString key = termKey(term);
    for (auto it = m_pending.crbegin(); it != m_pending.crend(); ++it) {
        if (it->termKey == key)
            return *it;
    }
    return std::nullopt;
}

std::optional<bool> HistoryWriter::pendingStar(QStringView term) const
{
    const auto it = m_pendingStars.constFind(termKey(term));
    if (it == m_pendingStars.constEnd())
        return std::nullopt;
    return it->starred;
}

void HistoryWriter::waitForWritten()
{
    if (!m_worker)
        return;
    QMetaObject::invokeMethod(
        m_worker, [] {}, Qt::BlockingQueuedConnection);
    // The replies are queued for this thread: deliver them now.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void HistoryWriter::limitChanged()
{
    if (!m_worker || !m_store)
        return;
    const int limit = m_store->entryLimit();
    post([limit](HistoryStore &store) {
        if (const auto applied = store.setEntryLimit(limit); !applied)
            qCWarning(lcHistory).noquote()
                << "the new limit could not be applied:" << historyErrorMessage(applied.error());
    });
}

} // namespace wordlumen

#include "historywriter.moc"
