#pragma once

#include "core/result.h"
#include "deepseekerror.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace wordlumen {

/// One jargon term the online service found in a passage.
struct FoundJargon
{
    /// The term as the passage writes it.
    QString term;
    /// What it means in that passage, after the readable cut.
    QString explanation;

    bool operator==(const FoundJargon &) const = default;
};

/**
 * The rules of asking the online service for the jargon of a passage that the
 * local sources missed: what is sent (the passage as written, cut to a cap,
 * and the names already explained, so the service skips them), and what of
 * the reply is kept.
 */
namespace JargonSearch {

/// The most characters of a passage that are sent. A chat message or a
/// paragraph fits whole; a whole document is cut, and the card says so.
inline constexpr qsizetype kPassageLimit = 2000;
/// The most terms kept from a reply.
inline constexpr qsizetype kMaximumTerms = 8;
/// Each explanation gets the readable cut at this length.
inline constexpr int kExplanationLength = 60;
/// The most names already explained that the prompt lists.
inline constexpr qsizetype kKnownNameLimit = 100;

/// The part of a passage that is sent: its first kPassageLimit characters.
[[nodiscard]] QString sentPassage(QStringView passage);
/// Whether sentPassage() leaves part of the passage out.
[[nodiscard]] bool isCut(QStringView passage);

/**
 * The system prompt: fixed rules asking for a JSON object of up to eight
 * terms with a plain explanation each, then one line per name already
 * explained (at most kKnownNameLimit, line breaks made spaces).
 */
[[nodiscard]] QString prompt(const QStringList &knownNames);

/**
 * The terms worth showing of what the service named: trimmed; without those
 * lacking a term or an explanation, those whose term key is a known name's,
 * those the sent passage does not hold (by the containment rule of a lookup,
 * so an invented term is not shown as found) and repeats of a term; each
 * explanation cut to kExplanationLength; the first kMaximumTerms of them.
 */
[[nodiscard]] QList<FoundJargon> cleaned(const QList<FoundJargon> &terms, QStringView sentPassage,
                                         const QStringList &knownNames);

/**
 * What a whole reply body means: `Decoding` when the body has not the
 * protocol's shape, `InvalidResponse` when the message holds no JSON object
 * with an array "terms"; otherwise the cleaned terms, none at all being an
 * answer. An item that is not an object with a string "term" and a string
 * "explanation" is passed over.
 */
[[nodiscard]] Result<QList<FoundJargon>, DeepSeekError>
decodeReply(const QByteArray &body, QStringView sentPassage, const QStringList &knownNames);

} // namespace JargonSearch
} // namespace wordlumen
