#include "historylistmodel.h"

#include "core/answertext.h"
#include "historystore.h"
#include "historytimetext.h"

#include <QScopedValueRollback>
#include <QTimer>

namespace wordlumen {

HistoryListModel::HistoryListModel(HistoryStore *store, QObject *parent)
    : HistoryListModel(store, {}, parent)
{}

HistoryListModel::HistoryListModel(HistoryStore *store, Clock clock, QObject *parent)
    : QAbstractListModel(parent)
    , m_store(store)
    , m_clock(std::move(clock))
{
    m_query.limit = kPageSize;
    if (m_store)
        connect(m_store, &HistoryStore::entriesChanged, this, &HistoryListModel::storeChanged);
}

int HistoryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant HistoryListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const HistoryEntry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case TermRole:
        return entry.term;
    case QueryRole:
        return entry.query;
    case AnswerRole:
        return entry.answer;
    case OriginRole:
        return toString(entry.origin);
    case SourceRole:
        return entry.source.displayText();
    case ContextRole:
        return entry.context;
    case CountRole:
        return entry.lookupCount;
    case LastSeenRole:
        return entry.lastSeen;
    case LastSeenTextRole:
        return lastSeenText(entry);
    case StarredRole:
        return entry.starred;
    case DetailRole:
        return detail(entry);
    case AccessibleNameRole: {
        // The answer's beginning is enough to recognise it; the row opens the rest.
        QStringList parts{entry.term, AnswerText::readableExplanation(entry.answer, 60),
                          detail(entry)};
        if (entry.starred)
            parts.append(QStringLiteral("已收藏"));
        parts.removeAll(QString());
        return parts.join(QStringLiteral("，"));
    }
    default:
        return {};
    }
}

QHash<int, QByteArray> HistoryListModel::roleNames() const
{
    return {
        {TermRole, "term"},
        {QueryRole, "query"},
        {AnswerRole, "answer"},
        {OriginRole, "origin"},
        {SourceRole, "source"},
        {ContextRole, "context"},
        {CountRole, "lookupCount"},
        {LastSeenRole, "lastSeen"},
        {LastSeenTextRole, "lastSeenText"},
        {StarredRole, "starred"},
        {DetailRole, "detail"},
        {AccessibleNameRole, "accessibleName"},
    };
}

QString HistoryListModel::lastSeenText(const HistoryEntry &entry) const
{
    return HistoryTimeText::lastSeenText(entry.lastSeen,
                                         m_clock ? m_clock() : QDateTime::currentDateTime());
}

QString HistoryListModel::detail(const HistoryEntry &entry) const
{
    QStringList parts{lastSeenText(entry), entry.source.displayText()};
    if (entry.lookupCount > 1)
        parts.append(QStringLiteral("查过 %1 次").arg(entry.lookupCount));
    parts.removeAll(QString());
    return parts.join(QStringLiteral(" · "));
}

bool HistoryListModel::canFetchMore(const QModelIndex &parent) const
{
    // Not while rows read are announced: a view that asks for more in its
    // handler gets the next page when it scrolls on.
    return !parent.isValid() && m_store && !m_atEnd && !m_announcing;
}

void HistoryListModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        load(!m_started);
}

std::optional<HistoryEntry> HistoryListModel::entryAt(int row) const
{
    if (row < 0 || row >= m_entries.size())
        return std::nullopt;
    return m_entries.at(row);
}

void HistoryListModel::setSearchText(const QString &text)
{
    if (m_query.search == text)
        return;
    m_query.search = text;
    emit searchTextChanged();
    refresh();
}

void HistoryListModel::setStarredOnly(bool starredOnly)
{
    if (m_query.starredOnly == starredOnly)
        return;
    m_query.starredOnly = starredOnly;
    emit starredOnlyChanged();
    refresh();
}

void HistoryListModel::refresh()
{
    m_refreshPending = false;
    load(true);
}

void HistoryListModel::load(bool firstPage)
{
    if (!m_store)
        return;
    HistoryQuery query = m_query;
    query.after = firstPage ? std::nullopt : m_next;
    const auto page = m_store->list(query);

    if (firstPage) {
        beginResetModel();
        m_entries.clear();
        m_next.reset();
        m_started = true;
        // A store that cannot be read has nothing more to give until refreshed.
        m_atEnd = !page || !page->next;
        if (page) {
            m_entries = page->entries;
            m_next = page->next;
        }
        const QScopedValueRollback resetting(m_announcing, true);
        endResetModel();
    } else if (page && !page->entries.isEmpty()) {
        // The cursor moves before the views hear of the rows: one that asks
        // for more while they are inserted gets the page after these.
        m_next = page->next;
        m_atEnd = !m_next;
        const int first = int(m_entries.size());
        const QScopedValueRollback inserting(m_announcing, true);
        beginInsertRows({}, first, first + int(page->entries.size()) - 1);
        m_entries.append(page->entries);
        endInsertRows();
    } else {
        m_atEnd = true;
    }
    setError(page ? std::nullopt : std::optional(page.error()));
}

bool HistoryListModel::setStarred(int row, bool starred)
{
    if (!m_store || row < 0 || row >= m_entries.size())
        return false;
    const QScopedValueRollback changing(m_changing, true);
    const auto changed = m_store->setStarred(m_entries.at(row).term, starred);
    setError(changed ? std::nullopt : std::optional(changed.error()));
    if (!changed)
        return false;
    if (m_query.starredOnly && !starred) {
        beginRemoveRows({}, row, row);
        m_entries.removeAt(row);
        endRemoveRows();
        return true;
    }
    m_entries[row].starred = starred;
    const QModelIndex changedIndex = index(row);
    emit dataChanged(changedIndex, changedIndex, {StarredRole});
    return true;
}

bool HistoryListModel::remove(int row)
{
    if (!m_store || row < 0 || row >= m_entries.size())
        return false;
    const QScopedValueRollback changing(m_changing, true);
    const auto removed = m_store->remove(m_entries.at(row).term);
    // An entry another program removed already is gone all the same.
    const bool gone = removed || removed.error() == HistoryError::NotFound;
    setError(gone ? std::nullopt : std::optional(removed.error()));
    if (!gone)
        return false;
    beginRemoveRows({}, row, row);
    m_entries.removeAt(row);
    endRemoveRows();
    return true;
}

bool HistoryListModel::clear()
{
    if (!m_store)
        return false;
    const QScopedValueRollback changing(m_changing, true);
    const auto cleared = m_store->clear();
    setError(cleared ? std::nullopt : std::optional(cleared.error()));
    if (!cleared)
        return false;
    beginResetModel();
    m_entries.clear();
    m_next.reset();
    m_started = true;
    m_atEnd = true;
    endResetModel();
    return true;
}

void HistoryListModel::storeChanged()
{
    // Our own changes are applied in place; another part of the program (the
    // card recording an answer) changed the store: read the first page again
    // once the event loop is back, so a burst of changes costs one read.
    if (m_changing || !m_started || m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshPending)
            refresh();
    });
}

void HistoryListModel::setError(const std::optional<HistoryError> &error)
{
    const QString message = error ? historyErrorMessage(*error) : QString();
    if (m_errorMessage == message)
        return;
    m_errorMessage = message;
    emit errorMessageChanged();
}

} // namespace wordlumen
