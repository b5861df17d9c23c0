#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace wordlumen {

/**
 * The open card's sizes in points: the heights the view model asks for, and
 * the rows of the answer face they are made of. The faces lay themselves out
 * with these same numbers (the card exports them to QML), so a row that
 * changes changes in both at once.
 */
namespace CardMetrics {

inline constexpr double kDefaultHeight = 312;
inline constexpr double kSettingsHeight = 374;
inline constexpr double kReverseLookupLoadingHeight = 340;
inline constexpr double kMaximumHeight = 480;
/// Heights are rounded up to this step, so the card does not resize for every character.
inline constexpr double kHeightStep = 12;

// The answer face's rows, top to bottom.
inline constexpr double kFaceMargin = 17;
inline constexpr double kHeaderRow = 24;
inline constexpr double kHeaderGap = 14;
inline constexpr double kSectionRow = 12;
inline constexpr double kSectionGap = 13;
/// A line of the title, in the serif face; at most two.
inline constexpr double kTitleLine = 28;
inline constexpr double kSourceGap = 8;
inline constexpr double kSourceRow = 12;
inline constexpr double kBodyGap = 13;
/// A line of the answer text (13.5-point text).
inline constexpr double kTextLine = 24;
inline constexpr double kFooterRule = 1;
inline constexpr double kFooterGap = 8;
inline constexpr double kFooterRow = 24;
/// The "接上 API" action with the gap above it.
inline constexpr double kApiAction = 44;
/// The saved mark (「已保存 · 今天 14:05」 and 「重新生成」) with the gap above it.
inline constexpr double kSavedRow = 44;
/// The error line's gap and each of its lines.
inline constexpr double kErrorGap = 10;
inline constexpr double kErrorLine = 16;

/// Everything but the text's lines, with a one-line title.
inline constexpr double kFixedRows = kFaceMargin + kHeaderRow + kHeaderGap + kSectionRow +
                                     kSectionGap + kTitleLine + kSourceGap + kSourceRow + kBodyGap +
                                     kFooterRule + kFooterGap + kFooterRow + kFaceMargin;

/// Characters of answer text a line holds, counted generously.
inline constexpr int kTextLineCharacters = 20;
inline constexpr int kErrorLineCharacters = 28;
/// The pulsing placeholder takes this many lines of text.
inline constexpr int kPlaceholderLines = 5;
/// A title line holds this many wide (CJK) characters.
inline constexpr double kTitleLineWidth = 14;
/// The row of the other terms of the passage ("这段话里还有：…"), with the gap above it.
inline constexpr double kPassageRowGap = 10;
inline constexpr double kPassageRow = 24;

/// A chip of that row: its label's width plus this, at most the widest, this far apart.
inline constexpr double kChipPadding = 16;
inline constexpr double kChipMaximumWidth = 112;
inline constexpr double kChipSpacing = 6;

// The passage view's body, below the same header, title and source line.
/// The gap between the body's blocks.
inline constexpr double kPassageBlockGap = 10;
/// A line of the passage itself (12.5-point text), of about 22 characters.
inline constexpr double kPassageLine = 20;
inline constexpr int kPassageLineCharacters = 22;
/// The passage shows this many lines until it is opened whole.
inline constexpr int kPassageFoldedLines = 5;
/// An action row of the body ("展开原文", "找出其余黑话").
inline constexpr double kPassageAction = 34;
/// A term's row: padding, its heading and the gap below it; then each line
/// of its explanation (10.5-point text, about 24 characters), at most three.
inline constexpr double kPassageTermFrame = 39;
inline constexpr double kPassageTermLine = 15;
inline constexpr int kPassageTermLineCharacters = 24;
inline constexpr int kPassageTermLines = 3;
inline constexpr double kPassageTermGap = 8;

/// A reverse-lookup candidate's row, and what the face holds besides them.
inline constexpr double kCandidateRow = 66;
inline constexpr double kCandidateFrame = 246;

/// The card height a text asks for: 24 points a line of 20 characters, 312 to 480.
[[nodiscard]] double heightForText(const QString &text);

/// What the answer face shows in explanation mode, as far as its height goes.
struct AnswerContent
{
    QString title = {};
    QString text = {};
    /// The pulsing placeholder instead of the text; it takes five lines.
    bool placeholder = false;
    bool offersApiSetup = false;
    QString errorMessage = {};
    /// A saved answer shown again, with its mark under the text.
    bool saved = false;
    /// The row of the passage's other terms.
    bool passageRow = false;
};
/**
 * The card height an answer asks for: heightForText for its text, plus
 * room for what the face shows besides the text, so that all of it fits
 * without scrolling below 480: a title's second line, the "接上 API" action,
 * the saved mark, the error line and the row of the passage's other terms. Without those it
 * is exactly heightForText.
 */
[[nodiscard]] double heightForAnswer(const AnswerContent &content);
/// Lines the answer's title takes on the face, at most two: 14 wide
/// (CJK) characters a line, narrow ones counting 0.6, capitals 0.75.
[[nodiscard]] int titleLineCount(const QString &title);

/// What the passage view shows, as far as its height goes.
struct PassageContent
{
    qsizetype passageCharacters = 0;
    /// The length of each local term's explanation, in the order listed.
    QList<qsizetype> termExplanations = {};
    /// The same for the terms the online search found, listed under a label of their own.
    QList<qsizetype> foundExplanations = {};
    /// The "找出其余黑话" action is offered.
    bool searchAction = false;
    /// The lines under the search (nothing found, its failure, the cut), each with its gap.
    QStringList messages = {};
};
/// The card height the passage view asks for: all of it without scrolling
/// where it fits, 312 to 480. The passage counts with at most its folded lines.
[[nodiscard]] double heightForPassage(const PassageContent &content);
/// Lines a term's explanation takes in its row, one to three.
[[nodiscard]] int passageTermLines(qsizetype characters);

/// The height of the candidate list: 66 points a candidate, at most 480.
[[nodiscard]] double heightForCandidates(qsizetype count);

} // namespace CardMetrics
} // namespace wordlumen
