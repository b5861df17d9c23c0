#pragma once

#include "core/explanationresult.h"
#include "core/glossaryentry.h"
#include "online/explanationpromptprofile.h"
#include "packs/customglossaryentry.h"

#include <QString>

#include <optional>

namespace wordlumen {

/// What the local sources found for a query: the best entry of the enabled packs and of the
/// built-in dictionary (the dictionary is asked only when no pack answers).
struct LookupSources
{
    std::optional<CustomGlossaryEntry> pack = {};
    std::optional<GlossaryEntry> dictionary = {};
};

/**
 * What `explain` does with a query: the card's lookup rules, free of the card.
 *
 * A pack's entry is shown as written. A dictionary entry is shown as written
 * for the plain audience, or when no key is stored; with a key the service
 * explains the dictionary's term again in the chosen style. Without a key,
 * what nothing local answers gets a notice, worded for a term or for a
 * description; with one, the service explains the term or, for a
 * description, offers candidate terms.
 */
struct LookupDecision
{
    enum class Kind
    {
        /// A local answer (origin Custom or Local), shown at once after the readable cut.
        LocalAnswer,
        /// A notice with origin Unavailable: only the online service could go on.
        Notice,
        /// Ask the service to explain `term`.
        OnlineExplanation,
        /// Ask the service for terms matching the description in `term`.
        OnlineReverseLookup,
    };

    Kind kind = Kind::Notice;
    /// The answer's title: the entry's term, else the query.
    QString term;
    /// The local answer's text before the cut, or the notice; empty for online work.
    QString text;
    ExplanationOrigin origin = ExplanationOrigin::Unavailable;

    bool operator==(const LookupDecision &) const = default;

    /// Whether deciding needs to know if a key is stored. A pack's answer, and
    /// a dictionary answer for the plain audience, never read the keyring.
    [[nodiscard]] static bool needsKey(const LookupSources &sources, ExplanationAudience audience);

    /// The decision for the trimmed, non-empty `query`.
    [[nodiscard]] static LookupDecision decide(const QString &query, const LookupSources &sources,
                                               ExplanationAudience audience, bool hasKey);

    /// The notices, for tests and for the views that word around them.
    [[nodiscard]] static QString missingTermNotice();
    [[nodiscard]] static QString descriptionNotice();
};

} // namespace wordlumen
