#include "selectiontext.h"

#include "queryintentdetector.h"
#include "textmetrics.h"

#include <QRegularExpression>

#include <algorithm>

namespace wordlumen::SelectionText {

namespace {

const QRegularExpression &whiteSpace()
{
    static const QRegularExpression pattern(QStringLiteral("\\s+"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029) ||
           c == QChar(0x85) || c == u'\v' || c == u'\f';
}

/// The code point that ends `text` before `end`, or 0.
char32_t lastCodePoint(QStringView text, qsizetype end)
{
    if (end <= 0)
        return 0;
    if (end >= 2 && text[end - 1].isLowSurrogate() && text[end - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[end - 2], text[end - 1]);
    return text[end - 1].unicode();
}

/// The code point that starts `text` at `start`, or 0.
char32_t codePointAt(QStringView text, qsizetype start)
{
    if (start >= text.size())
        return 0;
    if (start + 1 < text.size() && text[start].isHighSurrogate() &&
        text[start + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[start], text[start + 1]);
    return text[start].unicode();
}

bool asksForName(QStringView text)
{
    for (const QString &phrase : QueryIntentDetector::reverseLookupSignals()) {
        if (text.contains(phrase))
            return true;
    }
    return false;
}

} // namespace

QString normalised(QStringView text)
{
    QString flat = text.toString();
    flat.replace(whiteSpace(), QStringLiteral(" "));
    return TextMetrics::trimmed(
        TextMetrics::leftGraphemes(TextMetrics::trimmed(flat), kMaximumGraphemes));
}

QString passage(QStringView view)
{
    const QString text = view.toString();
    QString joined;
    joined.reserve(text.size());
    qsizetype copied = 0;
    QRegularExpressionMatchIterator runs = whiteSpace().globalMatch(text);
    while (runs.hasNext()) {
        const QRegularExpressionMatch run = runs.next();
        const qsizetype start = run.capturedStart();
        const qsizetype end = run.capturedEnd();
        joined.append(QStringView(text).sliced(copied, start - copied));
        const QStringView spaces = QStringView(text).sliced(start, end - start);
        const bool breaksALine = std::any_of(spaces.begin(), spaces.end(), isLineBreak);
        const bool betweenWide = TextMetrics::isWide(lastCodePoint(text, start)) &&
                                 TextMetrics::isWide(codePointAt(text, end));
        if (!(breaksALine && betweenWide))
            joined.append(u' ');
        copied = end;
    }
    joined.append(QStringView(text).sliced(copied));
    return TextMetrics::trimmed(
        TextMetrics::leftGraphemes(TextMetrics::trimmed(joined), kPassageMaximumGraphemes));
}

bool readsAsPassage(QStringView selection, qsizetype knownTerms)
{
    const qsizetype length = TextMetrics::graphemeCount(selection);
    if (length == 0)
        return false;
    if (length <= kLongestQuestion && asksForName(selection))
        return false;
    return knownTerms >= 2 || length > kLongestDescription;
}

} // namespace wordlumen::SelectionText
