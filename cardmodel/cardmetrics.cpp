#include "cardmetrics.h"

#include "core/textmetrics.h"

#include <algorithm>
#include <cmath>

namespace wordlumen::CardMetrics {

namespace {

qsizetype linesOf(qsizetype characters, qsizetype perLine)
{
    return std::max<qsizetype>(1, (characters + perLine - 1) / perLine);
}

double stepped(double height)
{
    return std::min(std::ceil(std::max(height, kDefaultHeight) / kHeightStep) * kHeightStep,
                    kMaximumHeight);
}

} // namespace

double heightForText(const QString &text)
{
    const qsizetype lines = linesOf(TextMetrics::graphemeCount(text), kTextLineCharacters);
    return stepped(double(lines) * kTextLine + kFixedRows);
}

int titleLineCount(const QString &title)
{
    double width = 0;
    for (const QString &grapheme : TextMetrics::graphemes(title)) {
        const char32_t c = grapheme.toUcs4().value(0);
        // Wide (East Asian) characters take a full em; the title's serif
        // Latin about half of one, capitals three quarters; counted generously.
        width += TextMetrics::isWide(c) ? 1.0 : (QChar::isUpper(c) ? 0.75 : 0.6);
    }
    return width > kTitleLineWidth ? 2 : 1;
}

double heightForAnswer(const AnswerContent &content)
{
    const qsizetype lines = content.placeholder ? kPlaceholderLines
                                                : linesOf(TextMetrics::graphemeCount(content.text),
                                                          kTextLineCharacters);
    double needed = double(lines) * kTextLine + kFixedRows;
    needed += (titleLineCount(content.title) - 1) * kTitleLine;
    if (content.offersApiSetup) {
        needed += kApiAction;
    }
    if (content.saved) {
        needed += kSavedRow;
    }
    if (!content.errorMessage.isEmpty()) {
        needed += kErrorGap + double(linesOf(TextMetrics::graphemeCount(content.errorMessage),
                                             kErrorLineCharacters)) *
                                  kErrorLine;
    }
    if (content.passageRow) {
        needed += kPassageRowGap + kPassageRow;
    }
    return stepped(needed);
}

int passageTermLines(qsizetype characters)
{
    return int(
        std::min<qsizetype>(linesOf(characters, kPassageTermLineCharacters), kPassageTermLines));
}

double heightForPassage(const PassageContent &content)
{
    QList<double> blocks;
    if (content.passageCharacters > 0) {
        const qsizetype lines = linesOf(content.passageCharacters, kPassageLineCharacters);
        blocks.append(double(std::min<qsizetype>(lines, kPassageFoldedLines)) * kPassageLine);
        if (lines > kPassageFoldedLines)
            blocks.append(kPassageAction); // "展开原文"
    }
    const auto rows = [](const QList<qsizetype> &explanations) {
        double height = 0;
        for (const qsizetype characters : explanations)
            height += kPassageTermFrame + passageTermLines(characters) * kPassageTermLine;
        return height + double(explanations.size() - 1) * kPassageTermGap;
    };
    if (!content.termExplanations.isEmpty())
        blocks.append(rows(content.termExplanations));
    if (!content.foundExplanations.isEmpty()) {
        blocks.append(kSectionRow); // "在线找到"
        blocks.append(rows(content.foundExplanations));
    }
    if (content.searchAction)
        blocks.append(kPassageAction);
    for (const QString &message : content.messages)
        blocks.append(double(linesOf(TextMetrics::graphemeCount(message), kErrorLineCharacters)) *
                      kErrorLine);
    double body = 0;
    for (const double block : std::as_const(blocks))
        body += block;
    if (!blocks.isEmpty())
        body += double(blocks.size() - 1) * kPassageBlockGap;
    return stepped(kFixedRows + body);
}

double heightForCandidates(qsizetype count)
{
    return std::min(kCandidateRow * double(count) + kCandidateFrame, kMaximumHeight);
}

} // namespace wordlumen::CardMetrics
