#pragma once

#include "packs/glossarypack.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

class CustomGlossaryStore;

/**
 * The library's packs as the vocabulary page lists them, newest import first.
 * A change that keeps the same packs in the same order (switching one on or
 * off) updates the rows in place, so the list does not rebuild its delegates.
 */
class PackListModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PackListModel)
    QML_ELEMENT
    QML_UNCREATABLE("The vocabulary page makes its pack list.")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Roles
    {
        IdRole = Qt::UserRole + 1,
        NameRole,   ///< the pack's display name
        DetailRole, ///< "入门 · 零基础 · 35 条", or "35 条 · 文件名.md"
        EnabledRole,
        ToggleTooltipRole, ///< "停用补充包" while enabled, "启用补充包" while not
        EntryCountRole,
    };
    Q_ENUM(Roles)

    explicit PackListModel(CustomGlossaryStore &library, QObject *parent = nullptr);
    ~PackListModel() override;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] int count() const { return int(m_packs.size()); }
    /// The pack in a row; nothing for a row that does not exist.
    [[nodiscard]] std::optional<GlossaryPack> packAt(int row) const;

    /// The detail line of a pack's row.
    [[nodiscard]] static QString detailLine(const GlossaryPack &pack);

signals:
    void countChanged();

private:
    void reload();

    QPointer<CustomGlossaryStore> m_library;
    QList<GlossaryPack> m_packs;
};

} // namespace wordlumen
