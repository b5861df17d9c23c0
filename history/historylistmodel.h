#pragma once

#include "historyentry.h"
#include "historyerror.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

namespace wordlumen {

class HistoryStore;

/**
 * The history as the control center's page lists it: newest first, narrowed
 * by a search text and to starred entries, read from the store a page at a
 * time as the view scrolls (canFetchMore/fetchMore), so a history of ten
 * thousand rows shows its first page at once. Nothing is read before the
 * view first asks (or refresh() is called).
 *
 * Follows the store's own changes (an answer recorded by the card while the
 * page is open); changes made by another program show after refresh().
 */
class HistoryListModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryListModel)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(bool starredOnly READ starredOnly WRITE setStarredOnly NOTIFY starredOnlyChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)

public:
    enum Roles
    {
        TermRole = Qt::UserRole + 1,
        QueryRole,
        AnswerRole,
        /// The origin's stored form: "custom", "local" or "deepSeek".
        OriginRole,
        /// AnswerSource::displayText(): the pack, the dictionary, or host · model · style.
        SourceRole,
        ContextRole,
        /// How often the term was looked up.
        CountRole,
        /// The QDateTime itself (UTC).
        LastSeenRole,
        /// 「今天 14:05」, 「12月3日」: HistoryTimeText::lastSeenText.
        LastSeenTextRole,
        StarredRole,
        /// The row's second line: 「今天 14:05 · 本地词典 · 查过 3 次」.
        DetailRole,
        /// What a screen reader says for the row: term, the answer's start, the detail, the star.
        AccessibleNameRole,
    };
    Q_ENUM(Roles)

    /// The current time; the texts of LastSeenTextRole are relative to it.
    using Clock = std::function<QDateTime()>;

    /// Rows read per page.
    static constexpr int kPageSize = 50;

    explicit HistoryListModel(HistoryStore *store, QObject *parent = nullptr);
    HistoryListModel(HistoryStore *store, Clock clock, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;
    [[nodiscard]] bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    [[nodiscard]] QString searchText() const { return m_query.search; }
    void setSearchText(const QString &text);
    [[nodiscard]] bool starredOnly() const { return m_query.starredOnly; }
    void setStarredOnly(bool starredOnly);

    /// Why the last read or change failed; empty after one that succeeded.
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }

    /// The entry of `row`, or nothing outside the rows read.
    [[nodiscard]] std::optional<HistoryEntry> entryAt(int row) const;

    /// Reads the first page again (and forgets the others).
    Q_INVOKABLE void refresh();
    /// Stars or unstars the entry of `row`. Unstarred while only starred ones show, it leaves the
    /// list.
    Q_INVOKABLE bool setStarred(int row, bool starred);
    Q_INVOKABLE bool star(int row) { return setStarred(row, true); }
    Q_INVOKABLE bool unstar(int row) { return setStarred(row, false); }
    Q_INVOKABLE bool remove(int row);
    /// Removes every entry of the history, not only those shown.
    Q_INVOKABLE bool clear();

signals:
    void searchTextChanged();
    void starredOnlyChanged();
    void errorMessageChanged();

private:
    [[nodiscard]] QString lastSeenText(const HistoryEntry &entry) const;
    [[nodiscard]] QString detail(const HistoryEntry &entry) const;
    void load(bool firstPage);
    void setError(const std::optional<HistoryError> &error);
    void storeChanged();

    QPointer<HistoryStore> m_store;
    Clock m_clock;
    HistoryQuery m_query;
    QList<HistoryEntry> m_entries;
    // Where the next page starts; nothing once the last page is read.
    std::optional<HistoryCursor> m_next;
    bool m_started = false;
    bool m_atEnd = false;
    QString m_errorMessage;
    // Set while this model changes the store, whose change signal it then ignores.
    bool m_changing = false;
    bool m_refreshPending = false;
    // Set while rows read are announced to the views.
    bool m_announcing = false;
};

} // namespace wordlumen
