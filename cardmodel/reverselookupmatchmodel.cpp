#include "reverselookupmatchmodel.h"

namespace wordlumen {

ReverseLookupMatchModel::ReverseLookupMatchModel(QObject *parent)
    : QAbstractListModel(parent)
{}

int ReverseLookupMatchModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_matches.size());
}

QVariant ReverseLookupMatchModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ReverseLookupMatch &match = m_matches[index.row()];
    switch (role) {
    case IdRole:
        return match.id();
    case TermRole:
        return match.term;
    case EnglishRole:
        return match.english.value_or(QString());
    case ReasonRole:
        return match.reason;
    case ConfidenceRole:
        return match.confidence.value_or(QString());
    case Qt::DisplayRole:
    case DisplayTermRole:
        return match.displayTerm();
    case AccessibleNameRole:
        return match.displayTerm() + QStringLiteral("，") + match.reason +
               QStringLiteral("，点击查看解释");
    default:
        return {};
    }
}

QHash<int, QByteArray> ReverseLookupMatchModel::roleNames() const
{
    return {
        {IdRole, "matchId"},
        {TermRole, "term"},
        {EnglishRole, "english"},
        {ReasonRole, "reason"},
        {ConfidenceRole, "confidence"},
        {DisplayTermRole, "displayTerm"},
        {AccessibleNameRole, "accessibleName"},
    };
}

void ReverseLookupMatchModel::setMatches(const QList<ReverseLookupMatch> &matches)
{
    if (matches == m_matches)
        return;
    const bool countChanges = matches.size() != m_matches.size();
    beginResetModel();
    m_matches = matches;
    endResetModel();
    if (countChanges)
        emit countChanged();
}

} // namespace wordlumen
