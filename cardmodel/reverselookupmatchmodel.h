#pragma once

#include "core/reverselookupmatch.h"

#include <QAbstractListModel>

namespace wordlumen {

/// The reverse-lookup candidates as a list model for the answer face.
class ReverseLookupMatchModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReverseLookupMatchModel)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Roles
    {
        IdRole = Qt::UserRole + 1,
        TermRole,
        EnglishRole,
        ReasonRole,
        ConfidenceRole,
        DisplayTermRole,
        AccessibleNameRole, ///< "displayTerm，reason，点击查看解释"
    };

    explicit ReverseLookupMatchModel(QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] int count() const { return int(m_matches.size()); }
    [[nodiscard]] const QList<ReverseLookupMatch> &matches() const { return m_matches; }
    void setMatches(const QList<ReverseLookupMatch> &matches);

signals:
    void countChanged();

private:
    QList<ReverseLookupMatch> m_matches;
};

} // namespace wordlumen
