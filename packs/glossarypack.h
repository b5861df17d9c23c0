#pragma once

#include "customglossaryentry.h"
#include "glossarypackdraft.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

namespace wordlumen {

/// One imported supplement pack as the library keeps it.
struct GlossaryPack
{
    Q_GADGET
    Q_PROPERTY(QUuid id MEMBER id CONSTANT)
    Q_PROPERTY(QString industry MEMBER industry CONSTANT)
    Q_PROPERTY(QString vocabularyDepth MEMBER vocabularyDepth CONSTANT)
    Q_PROPERTY(QString explanationPerspective MEMBER explanationPerspective CONSTANT)
    Q_PROPERTY(QString sourceFileName MEMBER sourceFileName CONSTANT)
    Q_PROPERTY(QDateTime importedAt MEMBER importedAt CONSTANT)
    Q_PROPERTY(bool isEnabled MEMBER isEnabled CONSTANT)
    Q_PROPERTY(QString displayName READ displayName CONSTANT)
    Q_PROPERTY(QString detail READ detail CONSTANT)
    Q_PROPERTY(qsizetype entryCount READ entryCount CONSTANT)

public:
    /// Kept when a newer version of the same pack replaces this one.
    QUuid id;
    QString industry;
    QString vocabularyDepth;
    QString explanationPerspective;
    /// The file the pack was last imported from.
    QString sourceFileName;
    QList<CustomGlossaryEntry> entries;
    /// Time of the last import (UTC, whole seconds); the library lists newest first.
    QDateTime importedAt;
    /// Only enabled packs answer queries.
    bool isEnabled = true;

    /**
     * The name shown for the pack: the industry followed by "补充包", unless the
     * industry already ends with it (「法律补充包」 stays as it is).
     */
    [[nodiscard]] QString displayName() const;

    /**
     * Depth and perspective joined with " · ", leaving out those that are
     * empty or "未标注"; empty when neither says anything.
     */
    [[nodiscard]] QString detail() const;

    [[nodiscard]] qsizetype entryCount() const { return entries.size(); }

    /// A pack made from an imported draft, enabled, under `id`, imported at `importedAt`.
    [[nodiscard]] static GlossaryPack fromDraft(const GlossaryPackDraft &draft, QUuid id,
                                                QDateTime importedAt);

    /**
     * Puts `packs` in the library's order, newest import first. Stable: packs
     * imported within the same second keep their order.
     */
    static void sortNewestFirst(QList<GlossaryPack> &packs);

    bool operator==(const GlossaryPack &) const = default;
};

} // namespace wordlumen
