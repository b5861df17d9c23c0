#pragma once

#include "cardmodel/passageterms.h"

#include <QAbstractListModel>
#include <QStringList>

namespace wordlumen {

/**
 * Terms of a passage as a list model: the chips of the answer's row, the
 * rows of the passage view, the terms the online search found.
 */
class PassageTermModel : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PassageTermModel)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    /// Every row's label, in order: what a view measures to lay chips out.
    Q_PROPERTY(QStringList labels READ labels NOTIFY labelsChanged)

public:
    enum Roles
    {
        LabelRole = Qt::UserRole + 1,
        TextRole,
        TermRole,
        HeadingRole,
        ExplanationRole,
        OriginRole,
        ChipNameRole, ///< a chip's name for screen readers: the heading
        RowNameRole,  ///< a row's: "heading，explanation，点击查看完整解释"
    };

    explicit PassageTermModel(QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] int count() const { return int(m_terms.size()); }
    [[nodiscard]] QStringList labels() const;
    [[nodiscard]] const QList<PassageTerm> &terms() const { return m_terms; }
    void setTerms(const QList<PassageTerm> &terms);

signals:
    void countChanged();
    void labelsChanged();

private:
    QList<PassageTerm> m_terms;
};

} // namespace wordlumen
