#include "textmetrics.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <iterator>
#include <utility>

namespace wordlumen::TextMetrics {

namespace {

// Runs of wide code points; scripts/generate-eastasianwidth writes the table.
constexpr std::pair<char32_t, char32_t> kWideRanges[] = {
#include "eastasianwidth.inc"
};
static_assert(std::is_sorted(std::begin(kWideRanges), std::end(kWideRanges)),
              "isWide searches the table by code point");

/// The columns of one grapheme cluster, by its first code point.
qsizetype clusterWidth(QStringView cluster)
{
    const char32_t first = cluster.isEmpty() ? 0 : cluster.toUcs4().value(0);
    const QChar::Category category = QChar::category(first);
    if (category == QChar::Other_Control || category == QChar::Other_Format)
        return 0;
    return isWide(first) ? 2 : 1;
}

bool isAsciiWithoutCombiningContext(QStringView text)
{
    // Plain ASCII without CR (CR LF is one cluster) has one cluster per unit.
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 || c.unicode() == u'\r')
            return false;
    }
    return true;
}

bool isWhiteSpaceOrLineBreak(char32_t c)
{
    return QChar::isSpace(c) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

} // namespace

qsizetype graphemeCount(QStringView text)
{
    if (isAsciiWithoutCombiningContext(text))
        return text.size();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

QStringList graphemes(QStringView text)
{
    QStringList result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype start = 0;
    for (qsizetype next = finder.toNextBoundary(); next != -1; next = finder.toNextBoundary()) {
        result.append(text.mid(start, next - start).toString());
        start = next;
    }
    return result;
}

QString leftGraphemes(QStringView text, qsizetype count)
{
    if (count <= 0)
        return {};
    if (isAsciiWithoutCombiningContext(text))
        return text.left(count).toString();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype seen = 0;
    qsizetype position = 0;
    while (seen < count) {
        const qsizetype next = finder.toNextBoundary();
        if (next == -1)
            return text.toString();
        position = next;
        ++seen;
    }
    return text.left(position).toString();
}

QString trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end) {
        const char32_t c = text[begin].unicode();
        if (!isWhiteSpaceOrLineBreak(c))
            break;
        ++begin;
    }
    while (end > begin) {
        const char32_t c = text[end - 1].unicode();
        if (!isWhiteSpaceOrLineBreak(c))
            break;
        --end;
    }
    return text.mid(begin, end - begin).toString();
}

QString trimmedBlanks(QStringView text)
{
    auto isBlank = [](QChar c) {
        return c == u' ' || c == u'\t' || c.category() == QChar::Separator_Space;
    };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

bool isWide(char32_t codePoint)
{
    const auto *end = std::end(kWideRanges);
    const auto *range = std::upper_bound(
        std::begin(kWideRanges), end, codePoint,
        [](char32_t value, const std::pair<char32_t, char32_t> &run) { return value < run.first; });
    return range != std::begin(kWideRanges) && codePoint <= std::prev(range)->second;
}

qsizetype displayWidth(QStringView text)
{
    if (isAsciiWithoutCombiningContext(text)) {
        qsizetype width = 0;
        for (const QChar c : text)
            width += c.unicode() >= 0x20 && c.unicode() != 0x7F ? 1 : 0;
        return width;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype width = 0;
    qsizetype start = 0;
    for (qsizetype next = finder.toNextBoundary(); next != -1; next = finder.toNextBoundary()) {
        width += clusterWidth(text.mid(start, next - start));
        start = next;
    }
    return width;
}

} // namespace wordlumen::TextMetrics
