#include "vocabularypagemodel.h"

#include "core/glossarystore.h"
#include "desktop/platformwords.h"
#include "packs/customglossarystore.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>

#include <utility>

namespace wordlumen {

VocabularyPageModel::VocabularyPageModel(CustomGlossaryStore &library,
                                         std::optional<qsizetype> builtInCount, QObject *parent)
    : QObject(parent)
    , m_library(&library)
    , m_builtInCount(builtInCount)
    , m_packs(new PackListModel(library, this))
    , m_bundledPacks(new BundledPackListModel(library, this))
{
    connect(&library, &CustomGlossaryStore::packsChanged, this, &VocabularyPageModel::packsChanged);
    connect(&library, &CustomGlossaryStore::loadErrorChanged, this,
            &VocabularyPageModel::statusLineChanged);
}

VocabularyPageModel::~VocabularyPageModel() = default;

QString VocabularyPageModel::sidebarDetail() const
{
    const QString builtIn =
        m_builtInCount ? QString::number(*m_builtInCount) : QStringLiteral("内置词典未加载");
    if (!hasPacks()) {
        return m_builtInCount ? builtIn + QStringLiteral(" 条内置词典") : builtIn;
    }
    return builtIn + (m_builtInCount ? QStringLiteral(" 内置 + %1 个补充包")
                                     : QStringLiteral(" · %1 个补充包"))
                         .arg(m_packs->count());
}

bool VocabularyPageModel::badgeHealthy() const
{
    return m_builtInCount == GlossaryStore::kExpectedEntryCount;
}

QString VocabularyPageModel::badgeTitle() const
{
    if (!badgeHealthy()) {
        return QStringLiteral("词库异常");
    }
    const qsizetype packEntries = m_library ? m_library->entries().size() : 0;
    return QStringLiteral("%1 条可用").arg(*m_builtInCount + packEntries);
}

QString VocabularyPageModel::statusLine() const
{
    if (m_statusMessage) {
        return *m_statusMessage;
    }
    return m_library ? m_library->loadError() : QString();
}

QString VocabularyPageModel::copyPromptTitle() const
{
    return m_didCopyPackagePrompt ? QStringLiteral("提示词已复制")
                                  : QStringLiteral("复制制作提示词");
}

QString VocabularyPageModel::deleteMessage() const
{
    if (!m_pendingDelete) {
        return {};
    }
    return PlatformWords::localized(QStringLiteral("“%1”及其中 %2 条解释会从这台 Mac 删除。")
                                        .arg(m_pendingDelete->displayName())
                                        .arg(m_pendingDelete->entryCount()));
}

void VocabularyPageModel::importFile(const QUrl &file)
{
    if (!m_library) {
        return;
    }
    if (!file.isLocalFile()) {
        setStatusMessage(PackError::readFailed().message());
        return;
    }
    const auto summary = m_library->importFile(file.toLocalFile());
    setStatusMessage(summary ? summary->message() : summary.error().message());
}

BundledPackListModel *VocabularyPageModel::bundledPacks() const
{
    if (m_bundledPackLoader) {
        const auto loader = std::exchange(m_bundledPackLoader, nullptr);
        m_bundledPacks->setPacks(loader());
    }
    return m_bundledPacks;
}

void VocabularyPageModel::setBundledPacks(QList<BundledPack> packs)
{
    m_bundledPackLoader = nullptr;
    m_bundledPacks->setPacks(std::move(packs));
}

void VocabularyPageModel::setBundledPackLoader(std::function<QList<BundledPack>()> loader)
{
    m_bundledPackLoader = std::move(loader);
}

void VocabularyPageModel::addBundledPack(int row)
{
    const std::optional<BundledPack> pack = bundledPacks()->packAt(row);
    if (!pack || !m_library) {
        return;
    }
    const auto summary = m_library->importFile(pack->filePath);
    setStatusMessage(summary ? summary->message() : summary.error().message());
}

void VocabularyPageModel::setPackEnabled(int row, bool enabled)
{
    const std::optional<GlossaryPack> pack = m_packs->packAt(row);
    if (!pack || !m_library) {
        return;
    }
    const auto changed = m_library->setEnabled(enabled, pack->id);
    if (!changed) {
        setStatusMessage(changed.error().message());
        return;
    }
    setStatusMessage((enabled ? QStringLiteral("已启用 ") : QStringLiteral("已停用 ")) +
                     pack->displayName());
}

void VocabularyPageModel::requestDelete(int row)
{
    const std::optional<GlossaryPack> pack = m_packs->packAt(row);
    if (!pack) {
        return;
    }
    m_pendingDelete = pack;
    emit pendingDeleteChanged();
}

void VocabularyPageModel::confirmDelete()
{
    if (!m_pendingDelete) {
        return;
    }
    const GlossaryPack pack = *std::exchange(m_pendingDelete, std::nullopt);
    emit pendingDeleteChanged();
    if (!m_library) {
        return;
    }
    const auto removed = m_library->remove(pack.id);
    setStatusMessage(removed ? std::nullopt : std::optional(removed.error().message()));
}

void VocabularyPageModel::cancelDelete()
{
    if (!m_pendingDelete) {
        return;
    }
    m_pendingDelete.reset();
    emit pendingDeleteChanged();
}

void VocabularyPageModel::copyPackagePrompt()
{
    QGuiApplication::clipboard()->setText(packagePrompt());
    setDidCopyPackagePrompt(true);
    // Every copy schedules its own reset: the label comes back 1.2 s after
    // the first of several quick copies.
    QTimer::singleShot(kCopyFeedbackMilliseconds, this, [this] { setDidCopyPackagePrompt(false); });
}

QUrl VocabularyPageModel::pickerStartFolder()
{
    return QUrl::fromLocalFile(QDir::homePath());
}

bool VocabularyPageModel::acceptsDrop(const QUrl &url)
{
    return url.isLocalFile();
}

QString VocabularyPageModel::packagePrompt()
{
    QFile file(QStringLiteral(":/wordlumen/packprompt.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

void VocabularyPageModel::setStatusMessage(std::optional<QString> message)
{
    if (m_statusMessage == message) {
        return;
    }
    m_statusMessage = std::move(message);
    emit statusLineChanged();
}

void VocabularyPageModel::setDidCopyPackagePrompt(bool copied)
{
    if (m_didCopyPackagePrompt == copied) {
        return;
    }
    m_didCopyPackagePrompt = copied;
    emit didCopyPackagePromptChanged();
}

} // namespace wordlumen
