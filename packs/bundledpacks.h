#pragma once

#include "glossarypack.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace wordlumen {

/// One of the packs that ship with the program, as read from its file.
struct BundledPack
{
    /// The file name without its extension, e.g. 「software-ops」; what scripts type.
    QString slug;
    QString filePath;
    /// The file's title, e.g. 「软件与运维词库」; the industry when the file has none.
    QString name;
    QString industry;
    QString vocabularyDepth;
    QString explanationPerspective;
    qsizetype entryCount = 0;

    /**
     * What the pack covers, as its file says it: industry, depth and
     * perspective joined with " · ", leaving out labels the file does not give.
     */
    [[nodiscard]] QString coverage() const;

    /**
     * The library's version of this pack: the first pack whose identity
     * (industry, depth, perspective) is this pack's, which an import of this
     * file would replace. Nothing when it has not been added.
     */
    [[nodiscard]] std::optional<GlossaryPack> addedVersion(const QList<GlossaryPack> &packs) const;

    bool operator==(const BundledPack &) const = default;
};

/**
 * The packs that ship with the program, in the order they are offered. They
 * lie in `packs/` beside the built-in dictionary (`<prefix>/share/wordlumen/packs`,
 * the same in the build tree) and are added to the user's library through the
 * library's ordinary import, so an added pack is switched off, deleted or
 * updated like any other.
 */
namespace BundledPacks {

/// The shipped pack files' slugs, in the order they are offered.
[[nodiscard]] const QStringList &slugs();

/// `packs` in the installed dictionary's directory.
[[nodiscard]] QString installedDirectory();

/**
 * Every shipped pack found in `directory`, read through the pack parser, in
 * the order of `slugs()`. A file that is missing or does not parse is left out
 * (and logged): a broken install offers fewer packs, never a broken one.
 */
[[nodiscard]] QList<BundledPack> load(const QString &directory = installedDirectory());

/**
 * The pack a user means by `name`: its slug, its industry or its title,
 * compared as term keys without spaces (so 「ai进阶」 finds 「AI 进阶」).
 */
[[nodiscard]] std::optional<BundledPack> find(const QList<BundledPack> &packs, QStringView name);

} // namespace BundledPacks
} // namespace wordlumen
