#include "bundledpacks.h"

#include "core/glossarystore.h"
#include "core/termkey.h"
#include "customglossarystore.h"
#include "glossarypackageparser.h"
#include "packslog.h"

#include <QDir>
#include <QFileInfo>

namespace wordlumen {

namespace {

constexpr auto kPackExtension = ".md";

std::optional<BundledPack> readPack(const QString &directory, const QString &slug)
{
    const QString path = QDir(directory).filePath(slug + QLatin1StringView(kPackExtension));
    const auto text = CustomGlossaryStore::readPackFile(path);
    if (!text) {
        qCWarning(lcPacks).noquote()
            << "shipped pack" << path << "not read:" << text.error().message();
        return std::nullopt;
    }
    const auto draft = GlossaryPackageParser::parse(text.value(), QFileInfo(path).fileName());
    if (!draft) {
        qCWarning(lcPacks).noquote()
            << "shipped pack" << path << "not read:" << draft.error().message();
        return std::nullopt;
    }
    QString normalised = text.value();
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const auto title = GlossaryPackageParser::firstDocumentTitle(normalised.split(u'\n'));
    return BundledPack{
        slug,
        path,
        title && !title->isEmpty() ? *title : draft->industry,
        draft->industry,
        draft->vocabularyDepth,
        draft->explanationPerspective,
        draft->entries.size(),
    };
}

} // namespace

QString BundledPack::coverage() const
{
    QStringList parts{industry};
    for (const QString &label : {vocabularyDepth, explanationPerspective}) {
        if (!label.isEmpty() && label != kUnlabelled)
            parts << label;
    }
    return parts.join(QStringLiteral(" · "));
}

std::optional<GlossaryPack> BundledPack::addedVersion(const QList<GlossaryPack> &packs) const
{
    const QString key =
        CustomGlossaryStore::identityKey(industry, vocabularyDepth, explanationPerspective);
    for (const GlossaryPack &pack : packs) {
        if (CustomGlossaryStore::identityKey(pack.industry, pack.vocabularyDepth,
                                             pack.explanationPerspective) == key)
            return pack;
    }
    return std::nullopt;
}

namespace BundledPacks {

const QStringList &slugs()
{
    // Work in general first, the specialised areas after; AI last, as the
    // built-in dictionary already covers its basics.
    static const QStringList list{
        QStringLiteral("software-ops"),   QStringLiteral("product-growth"),
        QStringLiteral("workplace-talk"), QStringLiteral("finance-startup"),
        QStringLiteral("ai-advanced"),
    };
    return list;
}

QString installedDirectory()
{
    return QDir(GlossaryStore::installedResourceDirectory()).filePath(QStringLiteral("packs"));
}

QList<BundledPack> load(const QString &directory)
{
    QList<BundledPack> packs;
    for (const QString &slug : slugs()) {
        if (auto pack = readPack(directory, slug))
            packs.append(std::move(*pack));
    }
    return packs;
}

std::optional<BundledPack> find(const QList<BundledPack> &packs, QStringView name)
{
    // Spaces between Latin and Chinese are typed either way: 「AI进阶」 is 「AI 进阶」.
    const auto key = [](QStringView text) {
        return termKey(text).remove(u' ');
    };
    const QString wanted = key(name);
    if (wanted.isEmpty())
        return std::nullopt;
    for (const BundledPack &pack : packs) {
        if (wanted == key(pack.slug) || wanted == key(pack.industry) || wanted == key(pack.name))
            return pack;
    }
    return std::nullopt;
}

} // namespace BundledPacks
} // namespace wordlumen
