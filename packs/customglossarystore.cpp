#include "customglossarystore.h"

#include "core/datalocation.h"
#include "glossarypackageparser.h"
#include "isotimestamp.h"
#include "packimportpolicy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace wordlumen {

CustomGlossaryStore::CustomGlossaryStore(const QString &filePath, QObject *parent)
    : CustomGlossaryStore(&IsoTimestamp::now, filePath, parent)
{}

CustomGlossaryStore::CustomGlossaryStore(Clock clock, const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_clock(std::move(clock))
    , m_library([this] { return m_clock(); }, filePath, this)
{
    m_index.setPacks(m_library.packs());
    connect(&m_library, &GlossaryLibrarySync::packsChanged, this, &CustomGlossaryStore::packsRead);
    connect(&m_library, &GlossaryLibrarySync::loadErrorChanged, this,
            &CustomGlossaryStore::loadErrorChanged);
    // Normalising every name of a large library takes a moment; do it once the
    // event loop is idle rather than inside the first query.
    if (!packs().isEmpty())
        QTimer::singleShot(0, this, [this] { m_index.prepare(); });
}

QString CustomGlossaryStore::defaultFilePath()
{
    return DataLocation::filePath(QStringLiteral("MyGlossary.json"));
}

void CustomGlossaryStore::packsRead()
{
    // The index follows before anyone hears of the change, so a listener's
    // first query already answers from the new packs.
    m_index.setPacks(m_library.packs());
    emit packsChanged();
}

// Changes --------------------------------------------------------------------

Result<QString, PackError> CustomGlossaryStore::readPackFile(const QString &path)
{
    static const QStringList extensions{QStringLiteral("md"), QStringLiteral("markdown"),
                                        QStringLiteral("txt")};
    const QFileInfo info(path);
    if (!extensions.contains(info.suffix().toLower()))
        return PackError::unsupportedFileType();

    // Decided before opening: opening a pipe waits for a writer, and reading a
    // device may never end.
    if (!info.exists())
        return PackError::readFailed();
    if (!info.isFile())
        return PackError::notRegularFile();
    if (info.size() > GlossaryPackageParser::kMaximumFileSize)
        return PackError::fileTooLarge();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PackError::readFailed();
    // One byte more than allowed tells a file that grew since it was looked at.
    const QByteArray bytes = file.read(GlossaryPackageParser::kMaximumFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return PackError::readFailed();
    if (bytes.size() > GlossaryPackageParser::kMaximumFileSize)
        return PackError::fileTooLarge();

    return GlossaryPackageParser::decodeFileText(bytes);
}

Result<GlossaryImportSummary, PackError> CustomGlossaryStore::importFile(const QString &path)
{
    auto text = readPackFile(path);
    if (!text)
        return text.error();
    return importText(text.value(), QFileInfo(path).fileName());
}

Result<GlossaryImportSummary, PackError>
CustomGlossaryStore::importText(const QString &text, const QString &sourceFileName)
{
    const QDateTime now = m_clock();
    auto parsed = GlossaryPackageParser::parse(text, sourceFileName, now);
    if (!parsed)
        return parsed.error();
    const GlossaryPackDraft draft = std::move(parsed).value();
    const QUuid newId = QUuid::createUuid();

    std::optional<GlossaryImportSummary> summary;
    const auto changed = m_library.change(
        [&](const QList<GlossaryPack> &current) -> Result<QList<GlossaryPack>, PackError> {
            // The index's term keys of packs it has seen are reused for counting duplicates.
            auto outcome = PackImportPolicy::importInto(
                current, draft, newId, now,
                [this](const GlossaryPack &pack) { return m_index.termKeys(pack); });
            summary = std::move(outcome.summary);
            return std::move(outcome.packs);
        });
    if (!changed)
        return changed.error();
    return *summary;
}

Result<Done, PackError> CustomGlossaryStore::setEnabled(bool enabled, const QUuid &packId)
{
    return m_library.change(
        [&](QList<GlossaryPack> packs) -> Result<QList<GlossaryPack>, PackError> {
            const auto it = std::find_if(packs.begin(), packs.end(), [&](const GlossaryPack &pack) {
                return pack.id == packId;
            });
            if (it == packs.end())
                return PackError::packageNotFound();
            it->isEnabled = enabled;
            return packs;
        });
}

Result<Done, PackError> CustomGlossaryStore::remove(const QUuid &packId)
{
    return m_library.change(
        [&](QList<GlossaryPack> packs) -> Result<QList<GlossaryPack>, PackError> {
            packs.removeIf([&](const GlossaryPack &pack) { return pack.id == packId; });
            return packs;
        });
}

QString CustomGlossaryStore::identityKey(const QString &industry, const QString &depth,
                                         const QString &perspective)
{
    return PackImportPolicy::identityKey(industry, depth, perspective);
}

// Reading for lookups ---------------------------------------------------------

QList<CustomGlossaryEntry> CustomGlossaryStore::entries() const
{
    return m_index.entries();
}

QList<GlossaryCatalogItem> CustomGlossaryStore::catalogItems() const
{
    return m_index.catalogItems();
}

std::optional<CustomGlossaryEntry> CustomGlossaryStore::match(QStringView query) const
{
    return m_index.match(query);
}

std::optional<GlossaryPack> CustomGlossaryStore::packOf(const QUuid &entryId) const
{
    for (const GlossaryPack &pack : packs()) {
        for (const CustomGlossaryEntry &entry : pack.entries) {
            if (entry.id == entryId)
                return pack;
        }
    }
    return std::nullopt;
}

} // namespace wordlumen
