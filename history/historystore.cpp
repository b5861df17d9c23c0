#include "historystore.h"

#include "core/datalocation.h"
#include "core/termkey.h"
#include "core/textmetrics.h"
#include "historylog.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace wordlumen {

namespace {

// Queries and passages are the user's text and may be long (a pasted
// paragraph); what is kept of them is enough to recognise them.
constexpr qsizetype kMaximumKeptLength = 1000;

// The trigram index finds substrings of three characters or more; shorter
// search texts are matched by LIKE over the rows (a scan, still fast at the
// sizes the limit allows).
constexpr qsizetype kShortestIndexedSearch = 3;

const QString kColumns = QStringLiteral(
    "id, term_key, term, query, answer, origin, source_name, source_endpoint, source_model,"
    " source_style, context, lookup_count, first_seen, last_seen, starred");

QString kept(const QString &text)
{
    const QString trimmed = TextMetrics::trimmed(text);
    if (trimmed.size() <= kMaximumKeptLength)
        return trimmed;
    return TextMetrics::leftGraphemes(trimmed, kMaximumKeptLength);
}

// Qt binds a null string as SQL NULL; every text column holds text, empty or not.
QString text(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QDateTime fromMs(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

HistoryEntry entryFromRow(const QSqlQuery &row)
{
    HistoryEntry entry;
    entry.id = row.value(0).toLongLong();
    entry.termKey = row.value(1).toString();
    entry.term = row.value(2).toString();
    entry.query = row.value(3).toString();
    entry.answer = row.value(4).toString();
    entry.origin =
        explanationOriginFromString(row.value(5).toString()).value_or(ExplanationOrigin::Local);
    entry.source = {row.value(6).toString(), row.value(7).toString(), row.value(8).toString(),
                    row.value(9).toString()};
    entry.context = row.value(10).toString();
    entry.lookupCount = row.value(11).toInt();
    entry.firstSeen = fromMs(row.value(12).toLongLong());
    entry.lastSeen = fromMs(row.value(13).toLongLong());
    entry.starred = row.value(14).toInt() != 0;
    return entry;
}

QString likePattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'%', QStringLiteral("\\%"));
    escaped.replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

// One FTS5 phrase: the whole text, quotes doubled, so no character of it is
// read as query syntax.
QString phrase(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// The WHERE clause of a list or count and the values it binds, in order.
struct Filter
{
    QStringList conditions;
    QVariantList values;

    [[nodiscard]] QString where() const
    {
        return conditions.isEmpty()
                   ? QString()
                   : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    }
};

Filter filterFor(const HistoryQuery &query, bool paged)
{
    Filter filter;
    if (query.starredOnly)
        filter.conditions.append(QStringLiteral("starred = 1"));
    if (query.since.isValid()) {
        filter.conditions.append(QStringLiteral("last_seen >= ?"));
        filter.values.append(query.since.toMSecsSinceEpoch());
    }
    if (paged && query.after) {
        filter.conditions.append(QStringLiteral("(last_seen, id) < (?, ?)"));
        filter.values.append(query.after->lastSeenMs);
        filter.values.append(query.after->id);
    }
    const QString search = TextMetrics::trimmed(query.search);
    if (!search.isEmpty()) {
        if (search.toUcs4().size() >= kShortestIndexedSearch) {
            // Written `+id`, so that SQLite walks the rows newest first and
            // checks each against the matches, stopping at the page's end,
            // instead of sorting every match of a common text (ten times
            // slower when most rows match; a rare text costs a walk of the
            // index, about 2 ms at 10,000 rows).
            filter.conditions.append(QStringLiteral(
                "+id IN (SELECT rowid FROM entries_text WHERE entries_text MATCH ?)"));
            filter.values.append(phrase(search));
        } else {
            filter.conditions.append(
                QStringLiteral("(term LIKE ? ESCAPE '\\' OR answer LIKE ? ESCAPE '\\')"));
            filter.values.append(likePattern(search));
            filter.values.append(likePattern(search));
        }
    }
    return filter;
}

} // namespace

/// Statements prepared once per connection, by their text.
class HistoryStatements final
{
public:
    explicit HistoryStatements(const QSqlDatabase &connection)
        : connection(connection)
    {}

    QSqlDatabase connection;
    QHash<QString, QSqlQuery> prepared;

    /// The prepared statement for `sql`; prepared on first use. Nothing when it will not prepare.
    QSqlQuery *statement(const QString &sql, QSqlError *error)
    {
        auto it = prepared.find(sql);
        if (it != prepared.end())
            return &*it;
        QSqlQuery query(connection);
        query.setForwardOnly(true);
        if (!query.prepare(sql)) {
            *error = query.lastError();
            return nullptr;
        }
        return &*prepared.insert(sql, std::move(query));
    }
};

HistoryStore::HistoryStore(const QString &filePath, QObject *parent)
    : HistoryStore(filePath, Options{}, parent)
{}

HistoryStore::HistoryStore(const QString &filePath, Options options, QObject *parent)
    : QObject(parent)
    , m_database(filePath)
    , m_clock(std::move(options.clock))
    , m_recordingEnabled(options.recordingEnabled)
    , m_entryLimit(HistorySettings::clampedLimit(options.entryLimit))
{}

HistoryStore::~HistoryStore()
{
    releaseConnection();
}

void HistoryStore::releaseConnection()
{
    // The checkpointer's connection closes first, so that ours is the last
    // one to the file and folds the log in when it closes; the statements go
    // before the connection they belong to.
    m_checkpointer.reset();
    m_commitsSinceCheckpoint = 0;
    m_statements.reset();
}

void HistoryStore::noteCommit()
{
    if (++m_commitsSinceCheckpoint < kCommitsPerCheckpoint)
        return;
    m_commitsSinceCheckpoint = 0;
    if (!m_checkpointer)
        m_checkpointer = std::make_unique<HistoryCheckpointer>(m_database.filePath());
    m_checkpointer->request();
}

QString HistoryStore::defaultFilePath()
{
    return DataLocation::filePath(QStringLiteral("History.sqlite3"));
}

HistoryStore::Options HistoryStore::optionsFromSettings()
{
    return {HistorySettings::enabled(), HistorySettings::limit(), {}};
}

QDateTime HistoryStore::now() const
{
    return m_clock ? m_clock().toUTC() : QDateTime::currentDateTimeUtc();
}

void HistoryStore::setRecordingEnabled(bool enabled)
{
    if (m_recordingEnabled == enabled)
        return;
    m_recordingEnabled = enabled;
    emit recordingEnabledChanged();
}

Result<Done, HistoryError> HistoryStore::setEntryLimit(int limit)
{
    const int clamped = HistorySettings::clampedLimit(limit);
    if (clamped != m_entryLimit) {
        m_entryLimit = clamped;
        emit entryLimitChanged();
    }
    if (!isOpen())
        return Done{};
    return withDatabase<Done>(
        [this] { return runInTransaction([this] { return evictOverLimit(); }); });
}

void HistoryStore::updateStatus(const std::optional<HistoryError> &error)
{
    QString message = m_database.notice();
    if (error && *error != HistoryError::Busy && *error != HistoryError::StorageFailed &&
        *error != HistoryError::NotFound)
        message = historyErrorMessage(*error);
    if (message == m_statusMessage)
        return;
    m_statusMessage = message;
    emit statusMessageChanged();
}

Result<Done, HistoryError> HistoryStore::ensureOpen()
{
    if (isOpen())
        return Done{};
    releaseConnection();
    const auto opened = m_database.open(now());
    updateStatus(opened ? std::nullopt : std::optional(opened.error()));
    if (!opened)
        return opened;
    m_statements = std::make_unique<HistoryStatements>(m_database.connection());
    // The limit may have been lowered while the database was closed, or by another program.
    return runInTransaction([this] { return evictOverLimit(); });
}

template<typename T>
Result<T, HistoryError>
HistoryStore::withDatabase(const std::function<Result<T, HistoryError>()> &work)
{
    auto attempt = [&]() -> Result<T, HistoryError> {
        if (auto opened = ensureOpen(); !opened)
            return opened.error();
        return work();
    };
    Result<T, HistoryError> result = attempt();
    // A file that cannot be read when opening was moved aside by the opening
    // itself; one that turns out corrupt in use is moved aside here, and the
    // work is tried once more on the new file.
    if (result || result.error() != HistoryError::Unreadable || !isOpen())
        return result;
    releaseConnection();
    const auto replaced = m_database.replaceUnreadableFile(now());
    updateStatus(replaced ? std::nullopt : std::optional(replaced.error()));
    if (!replaced)
        return replaced.error();
    m_statements = std::make_unique<HistoryStatements>(m_database.connection());
    emit entriesChanged();
    return work();
}

namespace {

// Runs a prepared statement with `values`. Rows, if any, are read by the
// caller, which then calls finish(): an unfinished read would keep a snapshot
// open and hold back checkpoints.
Result<QSqlQuery *, HistoryError> run(HistoryStatements *statements, const QString &sql,
                                      const QVariantList &values)
{
    QSqlError error;
    QSqlQuery *query = statements->statement(sql, &error);
    if (query) {
        for (qsizetype i = 0; i < values.size(); ++i)
            query->bindValue(int(i), values[i]);
        if (query->exec())
            return query;
        error = query->lastError();
        query->finish();
    }
    // SQLite's own text names the failure, never the bound values.
    qCWarning(lcHistory) << "statement failed:" << error.nativeErrorCode() << error.databaseText();
    return HistoryDatabase::errorFor(error);
}

} // namespace

Result<Done, HistoryError>
HistoryStore::runInTransaction(const std::function<Result<Done, HistoryError>()> &work)
{
    // Immediate: the write lock is taken (or waited for) up front, so a
    // transaction never fails half-way because another program wrote first.
    const auto begun = run(m_statements.get(), QStringLiteral("BEGIN IMMEDIATE"), {});
    if (!begun)
        return begun.error();
    begun.value()->finish();
    auto result = work();
    if (result) {
        const auto committed = run(m_statements.get(), QStringLiteral("COMMIT"), {});
        if (committed) {
            committed.value()->finish();
            noteCommit();
            return Done{};
        }
        result = committed.error();
    }
    if (const auto rolledBack = run(m_statements.get(), QStringLiteral("ROLLBACK"), {}))
        rolledBack.value()->finish();
    return result;
}

Result<Done, HistoryError> HistoryStore::evictOverLimit(qint64 keptId)
{
    auto counted = run(m_statements.get(), QStringLiteral("SELECT count(*) FROM entries"), {});
    if (!counted)
        return counted.error();
    QSqlQuery *count = counted.value();
    const qint64 rows = count->next() ? count->value(0).toLongLong() : 0;
    count->finish();
    if (rows <= m_entryLimit)
        return Done{};
    auto evicted = run(m_statements.get(),
                       QStringLiteral("DELETE FROM entries WHERE id IN (SELECT id FROM entries"
                                      " WHERE starred = 0 AND id != ? ORDER BY last_seen, id"
                                      " LIMIT ?)"),
                       {keptId, rows - m_entryLimit});
    if (!evicted)
        return evicted.error();
    evicted.value()->finish();
    return Done{};
}

Result<Done, HistoryError> HistoryStore::record(const HistoryRecord &record)
{
    if (!m_recordingEnabled || record.origin == ExplanationOrigin::Unavailable)
        return Done{};
    const QString key = termKey(record.term);
    if (key.isEmpty())
        return Done{};
    auto written = withDatabase<Done>([&] { return writeRecord(key, record); });
    if (written)
        emit entriesChanged();
    return written;
}

Result<Done, HistoryError> HistoryStore::writeRecord(const QString &key,
                                                     const HistoryRecord &record)
{
    return runInTransaction([&]() -> Result<Done, HistoryError> {
        const qint64 nowMs = now().toMSecsSinceEpoch();
        const AnswerSource source = record.source.withoutCredentials();
        const QString term = TextMetrics::trimmed(record.term);
        const QString context = kept(record.context);

        auto found = run(m_statements.get(),
                         QStringLiteral("SELECT id FROM entries WHERE term_key = ?"), {key});
        if (!found)
            return found.error();
        QSqlQuery *row = found.value();
        const bool exists = row->next();
        const qint64 id = exists ? row->value(0).toLongLong() : 0;
        row->finish();

        if (exists) {
            // A lookup without a known passage keeps the one recorded before.
            auto updated = run(
                m_statements.get(),
                QStringLiteral("UPDATE entries SET term = ?, query = ?, answer = ?, origin = ?,"
                               " source_name = ?, source_endpoint = ?, source_model = ?,"
                               " source_style = ?, context = CASE WHEN ? = '' THEN context"
                               " ELSE ? END, lookup_count = lookup_count + 1, last_seen = ?"
                               " WHERE id = ?"),
                {text(term), text(kept(record.query)), text(record.answer), toString(record.origin),
                 text(source.name), text(source.endpoint), text(source.model), text(source.style),
                 text(context), text(context), nowMs, id});
            if (!updated)
                return updated.error();
            updated.value()->finish();
            return Done{};
        }

        auto inserted =
            run(m_statements.get(),
                QStringLiteral("INSERT INTO entries (term_key, term, query, answer, origin,"
                               " source_name, source_endpoint, source_model, source_style, context,"
                               " lookup_count, first_seen, last_seen, starred)"
                               " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?, ?, 0)"),
                {key, text(term), text(kept(record.query)), text(record.answer),
                 toString(record.origin), text(source.name), text(source.endpoint),
                 text(source.model), text(source.style), text(context), nowMs, nowMs});
        if (!inserted)
            return inserted.error();
        const qint64 insertedId = inserted.value()->lastInsertId().toLongLong();
        inserted.value()->finish();
        // The answer just recorded stays even when starred entries alone fill the limit.
        return evictOverLimit(insertedId);
    });
}

Result<Done, HistoryError> HistoryStore::setStarred(QStringView term, bool starred)
{
    const QString key = termKey(term);
    auto changed = withDatabase<Done>([&]() -> Result<Done, HistoryError> {
        auto updated = run(m_statements.get(),
                           QStringLiteral("UPDATE entries SET starred = ? WHERE term_key = ?"),
                           {starred ? 1 : 0, key});
        if (!updated)
            return updated.error();
        const int affected = updated.value()->numRowsAffected();
        updated.value()->finish();
        return affected > 0 ? Result<Done, HistoryError>(Done{}) : HistoryError::NotFound;
    });
    if (changed)
        emit entriesChanged();
    return changed;
}

bool HistoryStore::isStarred(QStringView term)
{
    const auto saved = savedAnswer(term);
    return saved && saved.value() && saved.value()->starred;
}

Result<Done, HistoryError> HistoryStore::remove(QStringView term)
{
    const QString key = termKey(term);
    auto removed = withDatabase<Done>([&]() -> Result<Done, HistoryError> {
        auto deleted = run(m_statements.get(),
                           QStringLiteral("DELETE FROM entries WHERE term_key = ?"), {key});
        if (!deleted)
            return deleted.error();
        const int affected = deleted.value()->numRowsAffected();
        deleted.value()->finish();
        return affected > 0 ? Result<Done, HistoryError>(Done{}) : HistoryError::NotFound;
    });
    if (removed)
        emit entriesChanged();
    return removed;
}

Result<Done, HistoryError> HistoryStore::clear()
{
    auto cleared = withDatabase<Done>([this] {
        return runInTransaction([this]() -> Result<Done, HistoryError> {
            auto deleted = run(m_statements.get(), QStringLiteral("DELETE FROM entries"), {});
            if (!deleted)
                return deleted.error();
            deleted.value()->finish();
            return Done{};
        });
    });
    if (cleared)
        emit entriesChanged();
    return cleared;
}

Result<HistoryPage, HistoryError> HistoryStore::list(const HistoryQuery &query)
{
    return withDatabase<HistoryPage>([&]() -> Result<HistoryPage, HistoryError> {
        Filter filter = filterFor(query, true);
        QString sql = QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM entries") +
                      filter.where() + QStringLiteral(" ORDER BY last_seen DESC, id DESC");
        if (query.limit > 0) {
            // One more than asked tells whether another page follows.
            sql += QStringLiteral(" LIMIT ?");
            filter.values.append(query.limit + 1);
        }
        auto listed = run(m_statements.get(), sql, filter.values);
        if (!listed)
            return listed.error();
        QSqlQuery *rows = listed.value();
        HistoryPage page;
        while (rows->next()) {
            if (query.limit > 0 && page.entries.size() == query.limit) {
                const HistoryEntry &last = page.entries.constLast();
                page.next = HistoryCursor{last.lastSeen.toMSecsSinceEpoch(), last.id};
                break;
            }
            page.entries.append(entryFromRow(*rows));
        }
        rows->finish();
        return page;
    });
}

Result<qsizetype, HistoryError> HistoryStore::count(const HistoryQuery &query)
{
    return withDatabase<qsizetype>([&]() -> Result<qsizetype, HistoryError> {
        const Filter filter = filterFor(query, false);
        auto counted =
            run(m_statements.get(), QStringLiteral("SELECT count(*) FROM entries") + filter.where(),
                filter.values);
        if (!counted)
            return counted.error();
        QSqlQuery *row = counted.value();
        const qsizetype rows = row->next() ? row->value(0).toLongLong() : 0;
        row->finish();
        return rows;
    });
}

Result<QStringList, HistoryError> HistoryStore::recentQueries(int limit)
{
    return withDatabase<QStringList>([&]() -> Result<QStringList, HistoryError> {
        // Rows are one per term, so different rows rarely share a query; a few
        // more rows than asked leave room for the repeats that are dropped.
        auto listed = run(m_statements.get(),
                          QStringLiteral("SELECT query FROM entries"
                                         " ORDER BY last_seen DESC, id DESC LIMIT ?"),
                          {qMax(limit, 0) * 4 + 8});
        if (!listed)
            return listed.error();
        QSqlQuery *rows = listed.value();
        QStringList queries;
        QSet<QString> seen;
        while (queries.size() < limit && rows->next()) {
            QString text = rows->value(0).toString();
            if (text.isEmpty() || seen.contains(text))
                continue;
            seen.insert(text);
            queries.append(std::move(text));
        }
        rows->finish();
        return queries;
    });
}

Result<std::optional<HistoryEntry>, HistoryError> HistoryStore::savedAnswer(QStringView term)
{
    const QString key = termKey(term);
    if (key.isEmpty())
        return std::optional<HistoryEntry>();
    return withDatabase<std::optional<HistoryEntry>>(
        [&]() -> Result<std::optional<HistoryEntry>, HistoryError> {
            auto found = run(m_statements.get(),
                             QStringLiteral("SELECT ") + kColumns +
                                 QStringLiteral(" FROM entries WHERE term_key = ?"),
                             {key});
            if (!found)
                return found.error();
            QSqlQuery *row = found.value();
            std::optional<HistoryEntry> entry;
            if (row->next())
                entry = entryFromRow(*row);
            row->finish();
            return entry;
        });
}

} // namespace wordlumen
