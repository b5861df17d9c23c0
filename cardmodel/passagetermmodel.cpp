#include "passagetermmodel.h"

namespace wordlumen {

PassageTermModel::PassageTermModel(QObject *parent)
    : QAbstractListModel(parent)
{}

int PassageTermModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant PassageTermModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const PassageTerm &term = m_terms[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case LabelRole:
        return term.label;
    case TextRole:
        return term.text;
    case TermRole:
        return term.term;
    case HeadingRole:
    case ChipNameRole:
        return term.heading();
    case ExplanationRole:
        return term.explanation;
    case OriginRole:
        return QVariant::fromValue(term.origin);
    case RowNameRole:
        return term.heading() + QStringLiteral("，") + term.explanation +
               QStringLiteral("，点击查看完整解释");
    default:
        return {};
    }
}

QHash<int, QByteArray> PassageTermModel::roleNames() const
{
    return {
        {LabelRole, "label"},
        {TextRole, "text"},
        {TermRole, "term"},
        {HeadingRole, "heading"},
        {ExplanationRole, "explanation"},
        {OriginRole, "origin"},
        {ChipNameRole, "chipName"},
        {RowNameRole, "rowName"},
    };
}

QStringList PassageTermModel::labels() const
{
    QStringList labels;
    for (const PassageTerm &term : m_terms)
        labels.append(term.label);
    return labels;
}

void PassageTermModel::setTerms(const QList<PassageTerm> &terms)
{
    if (terms == m_terms)
        return;
    const bool countChanges = terms.size() != m_terms.size();
    const bool labelsChange = labels() != [&] {
        QStringList next;
        for (const PassageTerm &term : terms)
            next.append(term.label);
        return next;
    }();
    beginResetModel();
    m_terms = terms;
    endResetModel();
    if (countChanges)
        emit countChanged();
    if (labelsChange)
        emit labelsChanged();
}

} // namespace wordlumen
