#include "bundledpacklistmodel.h"

#include "packs/customglossarystore.h"

namespace wordlumen {

namespace {

// Nothing while the library does not hold the pack, else whether it is switched on.
std::optional<bool> addedState(const BundledPack &pack, const CustomGlossaryStore *library)
{
    const auto added = library ? pack.addedVersion(library->packs()) : std::nullopt;
    return added ? std::optional(added->isEnabled) : std::nullopt;
}

} // namespace

BundledPackListModel::BundledPackListModel(CustomGlossaryStore &library, QObject *parent)
    : QAbstractListModel(parent)
    , m_library(&library)
{
    connect(&library, &CustomGlossaryStore::packsChanged, this,
            &BundledPackListModel::libraryChanged);
}

BundledPackListModel::~BundledPackListModel() = default;

int BundledPackListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant BundledPackListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const BundledPack &pack = m_packs[index.row()];
    const std::optional<bool> added = m_added[index.row()];
    const QString action = added ? QStringLiteral("更新") : QStringLiteral("添加");
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return pack.name;
    case SlugRole:
        return pack.slug;
    case CoverageRole:
        return pack.coverage();
    case EntryCountRole:
        return int(pack.entryCount);
    case DetailRole:
        return pack.coverage() + QStringLiteral(" · %1 条").arg(pack.entryCount);
    case AddedRole:
        return added.has_value();
    case AddedStateRole:
        if (!added) {
            return QString();
        }
        return *added ? QStringLiteral("已添加") : QStringLiteral("已添加 · 已停用");
    case ActionTitleRole:
        return action;
    case ActionAccessibleNameRole:
        return action + u' ' + pack.name;
    default:
        return {};
    }
}

QHash<int, QByteArray> BundledPackListModel::roleNames() const
{
    return {
        {SlugRole, "slug"},
        {NameRole, "name"},
        {CoverageRole, "coverage"},
        {EntryCountRole, "entryCount"},
        {DetailRole, "detail"},
        {AddedRole, "added"},
        {AddedStateRole, "addedState"},
        {ActionTitleRole, "actionTitle"},
        {ActionAccessibleNameRole, "actionAccessibleName"},
    };
}

std::optional<BundledPack> BundledPackListModel::packAt(int row) const
{
    if (row < 0 || row >= m_packs.size()) {
        return std::nullopt;
    }
    return m_packs[row];
}

void BundledPackListModel::setPacks(QList<BundledPack> packs)
{
    if (packs == m_packs) {
        return;
    }
    beginResetModel();
    m_packs = std::move(packs);
    m_added.clear();
    for (const BundledPack &pack : std::as_const(m_packs)) {
        m_added.append(addedState(pack, m_library));
    }
    endResetModel();
    emit countChanged();
}

void BundledPackListModel::libraryChanged()
{
    for (qsizetype row = 0; row < m_packs.size(); ++row) {
        const std::optional<bool> added = addedState(m_packs[row], m_library);
        if (added != m_added[row]) {
            m_added[row] = added;
            const QModelIndex index = this->index(int(row));
            emit dataChanged(index, index);
        }
    }
}

} // namespace wordlumen
