#include "historypagemodel.h"

#include "desktop/platformwords.h"
#include "history/historysettings.h"
#include "history/historystore.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <algorithm>

namespace wordlumen {

namespace {

QString count(qsizetype n)
{
    // 「1,000」: grouped as Chinese text groups long numbers.
    return QLocale(QLocale::Chinese, QLocale::China).toString(n);
}

QString extension(HistoryExport::Format format)
{
    switch (format) {
    case HistoryExport::Format::Pack:
        return QStringLiteral("md");
    case HistoryExport::Format::Tsv:
        return QStringLiteral("txt");
    case HistoryExport::Format::Csv:
        return QStringLiteral("csv");
    }
    return {};
}

} // namespace

HistoryPageModel::HistoryPageModel(HistoryStore *store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_entries(new HistoryListModel(store, this))
{
    connect(m_entries, &QAbstractItemModel::modelReset, this, &HistoryPageModel::listChanged);
    connect(m_entries, &QAbstractItemModel::rowsInserted, this, &HistoryPageModel::listChanged);
    connect(m_entries, &QAbstractItemModel::rowsRemoved, this, &HistoryPageModel::listChanged);
    connect(m_entries, &HistoryListModel::errorMessageChanged, this,
            &HistoryPageModel::statusLineChanged);
    connect(m_entries, &HistoryListModel::errorMessageChanged, this,
            &HistoryPageModel::settingsChanged);
    if (m_store) {
        connect(m_store, &HistoryStore::recordingEnabledChanged, this,
                &HistoryPageModel::settingsChanged);
        connect(m_store, &HistoryStore::recordingEnabledChanged, this,
                &HistoryPageModel::listChanged);
        connect(m_store, &HistoryStore::entryLimitChanged, this,
                &HistoryPageModel::settingsChanged);
        connect(m_store, &HistoryStore::statusMessageChanged, this,
                &HistoryPageModel::statusLineChanged);
    }
}

HistoryPageModel::~HistoryPageModel() = default;

QString HistoryPageModel::sidebarDetail() const
{
    if (!m_store)
        return QStringLiteral("暂时不可用");
    return recordingEnabled()
               ? QStringLiteral("正在记录 · 最多 %1 条").arg(count(m_store->entryLimit()))
               : QStringLiteral("记录已暂停");
}

QString HistoryPageModel::badgeTitle() const
{
    if (!m_store)
        return QStringLiteral("不可用");
    return recordingEnabled() ? QStringLiteral("正在记录") : QStringLiteral("已暂停");
}

bool HistoryPageModel::badgeHealthy() const
{
    return m_store && recordingEnabled() && m_entries->errorMessage().isEmpty();
}

bool HistoryPageModel::recordingEnabled() const
{
    return m_store ? m_store->recordingEnabled() : HistorySettings::enabled();
}

void HistoryPageModel::setRecordingEnabled(bool enabled)
{
    HistorySettings::setEnabled(enabled);
    if (m_store)
        m_store->setRecordingEnabled(enabled);
}

QString HistoryPageModel::recordingNote() const
{
    return recordingEnabled()
               ? PlatformWords::localized(
                     QStringLiteral("查到的答案只记在这台 Mac 上；收藏的词不会被上限挤掉。"))
               : QStringLiteral("已暂停记录：新的查询不会被记下，已有的记录仍然保留。");
}

QList<int> HistoryPageModel::limitChoices() const
{
    QList<int> choices(std::begin(kLimitChoices), std::end(kLimitChoices));
    const int current = m_store ? m_store->entryLimit() : HistorySettings::limit();
    if (!choices.contains(current)) {
        choices.append(current);
        std::sort(choices.begin(), choices.end());
    }
    return choices;
}

QStringList HistoryPageModel::limitTitles() const
{
    QStringList titles;
    for (int limit : limitChoices())
        titles.append(QStringLiteral("%1 条").arg(count(limit)));
    return titles;
}

int HistoryPageModel::limitIndex() const
{
    return int(limitChoices().indexOf(m_store ? m_store->entryLimit() : HistorySettings::limit()));
}

void HistoryPageModel::chooseLimit(int index)
{
    const QList<int> choices = limitChoices();
    if (!m_store || index < 0 || index >= choices.size())
        return;
    const int limit = choices.at(index);
    if (limit == m_store->entryLimit())
        return;
    // Entries beyond the new limit go at once: the oldest unstarred ones.
    HistoryQuery all;
    HistoryQuery starred;
    starred.starredOnly = true;
    const auto total = m_store->count(all);
    const auto kept = m_store->count(starred);
    const qsizetype evicted =
        total && kept ? std::min(*total - limit, *total - *kept) : qsizetype(0);
    if (evicted <= 0) {
        applyLimit(limit);
        return;
    }
    m_pendingLimit = limit;
    setConfirmation(Confirmation::Limit,
                    QStringLiteral("改为最多保留 %1 条后，会立即移除 %2 条最久没查过的记录。"
                                   "收藏的词不受影响。")
                        .arg(count(limit), count(evicted)));
}

void HistoryPageModel::applyLimit(int limit)
{
    HistorySettings::setLimit(limit);
    const auto applied = m_store->setEntryLimit(limit);
    setStatusMessage(applied ? QStringLiteral("最多保留 %1 条").arg(count(m_store->entryLimit()))
                             : historyErrorMessage(applied.error()));
    // Evicted rows leave the list.
    m_entries->refresh();
    emit settingsChanged();
}

void HistoryPageModel::setSearchText(const QString &text)
{
    if (text == m_entries->searchText())
        return;
    m_entries->setSearchText(text);
    emit searchTextChanged();
    emit listChanged();
}

void HistoryPageModel::setStarredOnly(bool starredOnly)
{
    if (starredOnly == m_entries->starredOnly())
        return;
    m_entries->setStarredOnly(starredOnly);
    emit starredOnlyChanged();
    emit listChanged();
}

QString HistoryPageModel::emptyText() const
{
    const QString search = m_entries->searchText().trimmed();
    if (!search.isEmpty())
        return QStringLiteral("没有找到包含“%1”的记录。").arg(search);
    if (m_entries->starredOnly())
        return QStringLiteral(
            "还没有收藏。在浮动卡的答案面点星标（或按 Ctrl+D），就能收藏一个词。");
    if (!recordingEnabled())
        return QStringLiteral("记录已暂停，新的查询不会出现在这里。");
    return QStringLiteral("还没有查询记录。在浮动卡上查一个词，它就会出现在这里。");
}

QString HistoryPageModel::statusLine() const
{
    if (!m_statusMessage.isEmpty())
        return m_statusMessage;
    if (!m_entries->errorMessage().isEmpty())
        return m_entries->errorMessage();
    return m_store ? m_store->statusMessage() : QString();
}

void HistoryPageModel::setStatusMessage(const QString &message)
{
    if (m_statusMessage == message)
        return;
    m_statusMessage = message;
    emit statusLineChanged();
}

void HistoryPageModel::toggleStar(int row)
{
    const auto entry = m_entries->entryAt(row);
    if (!entry)
        return;
    if (m_entries->setStarred(row, !entry->starred))
        setStatusMessage(entry->starred ? QStringLiteral("已取消收藏“%1”").arg(entry->term)
                                        : QStringLiteral("已收藏“%1”").arg(entry->term));
    else
        setStatusMessage(m_entries->errorMessage());
}

void HistoryPageModel::remove(int row)
{
    const auto entry = m_entries->entryAt(row);
    if (!entry)
        return;
    setStatusMessage(m_entries->remove(row) ? QStringLiteral("已删除“%1”").arg(entry->term)
                                            : m_entries->errorMessage());
}

void HistoryPageModel::open(int row)
{
    if (const auto entry = m_entries->entryAt(row))
        emit openRequested(*entry);
}

void HistoryPageModel::requestClear()
{
    if (!m_store)
        return;
    HistoryQuery starred;
    starred.starredOnly = true;
    const auto total = m_store->count(HistoryQuery{});
    const auto kept = m_store->count(starred);
    if (!total) {
        setStatusMessage(historyErrorMessage(total.error()));
        return;
    }
    if (*total == 0) {
        setStatusMessage(QStringLiteral("查询历史已经是空的。"));
        return;
    }
    QString message = QStringLiteral("%1 条查询记录").arg(count(*total));
    if (kept && *kept > 0)
        message += QStringLiteral("（包括 %1 条收藏）").arg(count(*kept));
    setConfirmation(Confirmation::Clear,
                    PlatformWords::localized(message + QStringLiteral("会从这台 Mac 删除。")));
}

QString HistoryPageModel::confirmTitle() const
{
    switch (m_confirmation) {
    case Confirmation::Clear:
        return QStringLiteral("清空查询历史？");
    case Confirmation::Limit:
        return QStringLiteral("降低保留上限？");
    case Confirmation::None:
        break;
    }
    return {};
}

QString HistoryPageModel::confirmButton() const
{
    return m_confirmation == Confirmation::Limit ? QStringLiteral("移除并降低")
                                                 : QStringLiteral("清空");
}

void HistoryPageModel::setConfirmation(Confirmation confirmation, const QString &message)
{
    if (m_confirmation == confirmation && m_confirmMessage == message)
        return;
    m_confirmation = confirmation;
    m_confirmMessage = message;
    emit confirmationChanged();
}

void HistoryPageModel::confirm()
{
    const Confirmation confirmed = m_confirmation;
    setConfirmation(Confirmation::None);
    switch (confirmed) {
    case Confirmation::Clear:
        setStatusMessage(m_entries->clear() ? QStringLiteral("已清空查询历史")
                                            : m_entries->errorMessage());
        break;
    case Confirmation::Limit:
        applyLimit(m_pendingLimit);
        break;
    case Confirmation::None:
        break;
    }
}

void HistoryPageModel::cancelConfirmation()
{
    setConfirmation(Confirmation::None);
}

QStringList HistoryPageModel::exportFormatTitles()
{
    return {QStringLiteral("补充包"), QStringLiteral("Anki"), QStringLiteral("CSV")};
}

void HistoryPageModel::setExportFormatIndex(int index)
{
    if (index < 0 || index >= exportFormatTitles().size() || index == int(m_exportFormat))
        return;
    m_exportFormat = HistoryExport::Format(index);
    emit exportChanged();
}

void HistoryPageModel::setExportStarredOnly(bool starredOnly)
{
    if (m_exportStarredOnly == starredOnly)
        return;
    m_exportStarredOnly = starredOnly;
    emit exportChanged();
}

QString HistoryPageModel::exportFileName() const
{
    const QString what =
        m_exportStarredOnly ? QStringLiteral("我的收藏") : QStringLiteral("查询历史");
    switch (m_exportFormat) {
    case HistoryExport::Format::Pack:
        return QStringLiteral("Wordlumen-%1.md").arg(what);
    case HistoryExport::Format::Tsv:
        return QStringLiteral("Wordlumen-%1-Anki.txt").arg(what);
    case HistoryExport::Format::Csv:
        return QStringLiteral("Wordlumen-%1.csv").arg(what);
    }
    return {};
}

QStringList HistoryPageModel::exportNameFilters() const
{
    switch (m_exportFormat) {
    case HistoryExport::Format::Pack:
        return {QStringLiteral("补充包 (*.md)")};
    case HistoryExport::Format::Tsv:
        return {QStringLiteral("Anki 文本 (*.txt *.tsv)")};
    case HistoryExport::Format::Csv:
        return {QStringLiteral("CSV 表格 (*.csv)")};
    }
    return {};
}

QUrl HistoryPageModel::exportSuggestion() const
{
    return QUrl::fromLocalFile(QDir(exportFolder().toLocalFile()).filePath(exportFileName()));
}

QString HistoryPageModel::exportNote() const
{
    switch (m_exportFormat) {
    case HistoryExport::Format::Pack:
        return QStringLiteral(
            "导出的补充包可以在“本地词库”里导入，其中的词会像你自己的补充包一样回答。");
    case HistoryExport::Format::Tsv:
        return QStringLiteral(
            "在 Anki 里用“文件 → 导入”：每行依次是术语、解释、上下文、来源和标签。");
    case HistoryExport::Format::Csv:
        return QStringLiteral("UTF-8 编码的表格，Excel、WPS 和 Numbers 都能直接打开中文。");
    }
    return {};
}

QUrl HistoryPageModel::exportFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QUrl::fromLocalFile(QFileInfo(documents).isDir() ? documents : QDir::homePath());
}

QString HistoryPageModel::exportPath(const QUrl &file, HistoryExport::Format format)
{
    QString path = file.isLocalFile() ? file.toLocalFile() : file.toString();
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += u'.' + extension(format);
    return path;
}

void HistoryPageModel::exportTo(const QUrl &file)
{
    if (!m_store)
        return;
    const QString path = exportPath(file, m_exportFormat);
    const auto written =
        HistoryExport::exportToFile(*m_store, m_exportFormat, m_exportStarredOnly, path);
    const QString status = written ? written->message(path) : historyErrorMessage(written.error());
    if (status == m_exportStatus)
        return;
    m_exportStatus = status;
    emit exportStatusChanged();
}

} // namespace wordlumen
