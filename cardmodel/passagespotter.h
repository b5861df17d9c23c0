#pragma once

#include "core/explanationresult.h"
#include "core/glossarystore.h"
#include "core/termspotter.h"
#include "online/explanationpromptprofile.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringView>

#include <optional>

namespace wordlumen {

class CustomGlossaryStore;

/// One known term found in a passage, with what is shown for it.
struct SpottedTerm
{
    /// The term as it appears in the passage.
    QString text;
    /// Its place in the passage: UTF-16 code units, and characters (grapheme clusters).
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype characterStart = 0;
    qsizetype characterLength = 0;
    /// The title of the entry it names, as a lookup shows it.
    QString term;
    ExplanationOrigin origin = ExplanationOrigin::Local;
    /// The entry's explanation cut to the brief length.
    QString explanation;

    bool operator==(const SpottedTerm &) const = default;
};

/**
 * Spots the terms of the local sources in a passage: the entries of the
 * enabled packs (newest pack first, each entry's term before its aliases),
 * then the built-in dictionary's names. That is the lookup order, so where a
 * pack and the dictionary share a name, the pack's entry is the one spotted.
 *
 * The automaton is built at construction and again whenever the pack library
 * publishes a change (an import, a pack switched on or off or deleted, a
 * change another program made to the file), never per passage; a pack
 * imported while the program runs is spotted from the next passage on.
 *
 * Lives on the main thread, like the library it follows.
 */
class PassageSpotter final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PassageSpotter)

public:
    /// The short explanation is the readable cut at this length (60 characters).
    static constexpr ExplanationLength kExplanationLength = ExplanationLength::Brief;

    /// `packs` may be null (no library); it must outlive the spotter otherwise.
    PassageSpotter(std::optional<GlossaryStore> dictionary, CustomGlossaryStore *packs,
                   QObject *parent = nullptr);
    ~PassageSpotter() override;

    /// Every known term in `passage`, in order of appearance.
    [[nodiscard]] QList<SpottedTerm> spot(QStringView passage) const;

    /// How many distinct names the spotter knows.
    [[nodiscard]] qsizetype nameCount() const { return m_spotter.nameCount(); }

signals:
    /// The names were rebuilt from changed sources.
    void sourcesChanged();

private:
    struct Entry
    {
        QString term;
        QString explanation;
        ExplanationOrigin origin = ExplanationOrigin::Local;
    };

    void rebuild();

    std::optional<GlossaryStore> m_dictionary;
    QPointer<CustomGlossaryStore> m_packs;
    // The dictionary never changes: its names' keys are made once. Targets
    // index its entries.
    QList<std::pair<QString, qsizetype>> m_dictionaryKeys;
    // What each target names: the enabled pack entries, then the dictionary's.
    QList<Entry> m_entries;
    TermSpotter m_spotter;
};

} // namespace wordlumen
