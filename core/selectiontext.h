#pragma once

#include <QString>
#include <QStringView>

namespace wordlumen {

/**
 * The text `wordlumen --selection` and the global shortcut look up, as a
 * query: the desktop's selection source finds the text, these rules shape it.
 *
 * A selection is one of two things: a term (or a sentence describing one),
 * which the card looks up as if typed, or a passage (a chat message, a
 * meeting note, a paragraph of a PDF), in which the card spots every known
 * term at once. readsAsPassage() tells them apart.
 */
namespace SelectionText {

/// A selection longer than this is cut: a term or a sentence describing one is far shorter.
inline constexpr qsizetype kMaximumGraphemes = 200;

/// A passage is kept up to this many characters, the most the card spots
/// and sends to the online service in one go.
inline constexpr qsizetype kPassageMaximumGraphemes = 2000;

/// A question asking what something is called ("这种能力叫什么") is at most this long.
inline constexpr qsizetype kLongestQuestion = 40;

/// Past this length a selection reads as a passage whatever it holds: the
/// descriptions people write of a term are a sentence of 20 to 40 characters.
inline constexpr qsizetype kLongestDescription = 60;

/**
 * A selected text as a query: every run of white space (the line breaks of a
 * PDF or a wrapped chat message) becomes one space, the ends are trimmed, and
 * at most kMaximumGraphemes characters are kept.
 */
[[nodiscard]] QString normalised(QStringView text);

/**
 * A selected text as a passage: as normalised(), except that a line break
 * between two Chinese (wide) characters is dropped rather than made a space,
 * since a PDF or a narrow chat window breaks lines inside words there, and
 * that at most kPassageMaximumGraphemes characters are kept.
 */
[[nodiscard]] QString passage(QStringView text);

/**
 * Whether a selection (as passage() shapes it) that holds `knownTerms`
 * different known terms is a passage to spot terms in, rather than a term or
 * a description to look up:
 *
 * - a question asking what something is called (it holds a phrase the
 *   reverse lookup listens for, such as "叫什么") of at most kLongestQuestion
 *   characters is never a passage, even when it names two terms;
 * - two or more different known terms make a passage, however short
 *   ("对齐一下颗粒度");
 * - more than kLongestDescription characters make a passage too, even with
 *   one known term or none: no term or description is that long.
 *
 * Everything else, a single known term among them, is looked up as before.
 */
[[nodiscard]] bool readsAsPassage(QStringView selection, qsizetype knownTerms);

} // namespace SelectionText
} // namespace wordlumen
