#pragma once

#include "packs/bundledpacks.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace wordlumen {

class CustomGlossaryStore;

/**
 * The packs that ship with the program, as the vocabulary page offers them:
 * what each covers, its size, and whether the library already holds it, in
 * which case adding it again is an update. Rows follow the library: an import,
 * a switch or a delete elsewhere changes the state shown here.
 */
class BundledPackListModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BundledPackListModel)
    QML_ELEMENT
    QML_UNCREATABLE("The vocabulary page makes its list of shipped packs.")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Roles
    {
        SlugRole = Qt::UserRole + 1,
        NameRole,     ///< the pack's title, "软件与运维词库"
        CoverageRole, ///< "软件与运维 · 常用词 · 给不写代码的同事"
        EntryCountRole,
        DetailRole,      ///< the coverage and "210 条", the row's second line
        AddedRole,       ///< the library holds this pack (switched on or off)
        AddedStateRole,  ///< "已添加", "已添加 · 已停用", or empty while not added
        ActionTitleRole, ///< "添加", or "更新" once added
        ActionAccessibleNameRole, ///< the button's name for screen readers, "添加 软件与运维词库"
    };
    Q_ENUM(Roles)

    explicit BundledPackListModel(CustomGlossaryStore &library, QObject *parent = nullptr);
    ~BundledPackListModel() override;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] int count() const { return int(m_packs.size()); }
    /// The shipped pack in a row; nothing for a row that does not exist.
    [[nodiscard]] std::optional<BundledPack> packAt(int row) const;

    /// Offers these packs, in this order.
    void setPacks(QList<BundledPack> packs);

signals:
    void countChanged();

private:
    void libraryChanged();

    QPointer<CustomGlossaryStore> m_library;
    QList<BundledPack> m_packs;
    // Per row: nothing while not added, else whether the added pack is
    // switched on; kept so that a library change updates only the rows it touched.
    QList<std::optional<bool>> m_added;
};

} // namespace wordlumen
