#include "packlistmodel.h"

#include "packs/customglossarystore.h"

namespace wordlumen {

PackListModel::PackListModel(CustomGlossaryStore &library, QObject *parent)
    : QAbstractListModel(parent)
    , m_library(&library)
    , m_packs(library.packs())
{
    connect(&library, &CustomGlossaryStore::packsChanged, this, &PackListModel::reload);
}

PackListModel::~PackListModel() = default;

int PackListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant PackListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const GlossaryPack &pack = m_packs[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return pack.displayName();
    case IdRole:
        return pack.id.toString(QUuid::WithoutBraces);
    case DetailRole:
        return detailLine(pack);
    case EnabledRole:
        return pack.isEnabled;
    case ToggleTooltipRole:
        return pack.isEnabled ? QStringLiteral("停用补充包") : QStringLiteral("启用补充包");
    case EntryCountRole:
        return int(pack.entryCount());
    default:
        return {};
    }
}

QHash<int, QByteArray> PackListModel::roleNames() const
{
    return {
        {IdRole, "packId"},
        {NameRole, "name"},
        {DetailRole, "detail"},
        {EnabledRole, "packEnabled"},
        {ToggleTooltipRole, "toggleTooltip"},
        {EntryCountRole, "entryCount"},
    };
}

std::optional<GlossaryPack> PackListModel::packAt(int row) const
{
    if (row < 0 || row >= m_packs.size()) {
        return std::nullopt;
    }
    return m_packs[row];
}

QString PackListModel::detailLine(const GlossaryPack &pack)
{
    const QString detail = pack.detail();
    if (!detail.isEmpty()) {
        return detail + QStringLiteral(" · %1 条").arg(pack.entryCount());
    }
    return QStringLiteral("%1 条 · ").arg(pack.entryCount()) + pack.sourceFileName;
}

void PackListModel::reload()
{
    const QList<GlossaryPack> packs = m_library ? m_library->packs() : QList<GlossaryPack>();
    const bool sameRows =
        packs.size() == m_packs.size() &&
        std::equal(packs.cbegin(), packs.cend(), m_packs.cbegin(),
                   [](const GlossaryPack &a, const GlossaryPack &b) { return a.id == b.id; });
    if (!sameRows) {
        beginResetModel();
        m_packs = packs;
        endResetModel();
        emit countChanged();
        return;
    }
    for (qsizetype row = 0; row < packs.size(); ++row) {
        if (packs[row] == m_packs[row]) {
            continue;
        }
        m_packs[row] = packs[row];
        const QModelIndex changed = index(int(row));
        emit dataChanged(changed, changed);
    }
}

} // namespace wordlumen
