#include "termkey.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <iterator>

namespace wordlumen {

namespace {

struct FullFolding
{
    char32_t codePoint;
    std::array<char32_t, 3> folded;
};

// Characters whose full case folding is longer than one code point (ß and ẞ →
// ss, ligatures, Greek with iota subscript, ...). QString::toCaseFolded only
// does the simple one-to-one folding, which would leave ẞ as ß: a key that is
// not its own key. scripts/generate-casefolding writes the table.
constexpr FullFolding kFullFoldings[] = {
#include "fullcasefolding.inc"
};
static_assert(std::is_sorted(std::begin(kFullFoldings), std::end(kFullFoldings),
                             [](const FullFolding &a, const FullFolding &b) {
                                 return a.codePoint < b.codePoint;
                             }),
              "findFullFolding searches the table by code point");

const FullFolding *findFullFolding(char32_t c)
{
    const auto *end = std::end(kFullFoldings);
    const auto *it = std::lower_bound(
        std::begin(kFullFoldings), end, c,
        [](const FullFolding &entry, char32_t value) { return entry.codePoint < value; });
    if (it != end && it->codePoint == c)
        return it;
    return nullptr;
}

void appendCodePoint(QString &out, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        out.append(QChar(QChar::highSurrogate(c)));
        out.append(QChar(QChar::lowSurrogate(c)));
    } else {
        out.append(QChar(static_cast<char16_t>(c)));
    }
}

bool isAsciiAlnumSpaceOrHyphen(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'-';
        if (!ok)
            return false;
    }
    return true;
}

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// For ASCII text the folding is plain lower-casing, and the letters and numbers
// are exactly [a-z0-9]: one pass gives the same key as the general path.
QString asciiTermKey(QStringView text)
{
    QString key;
    key.reserve(text.size());
    bool pendingSpace = false;
    for (const QChar c : text) {
        char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            u = char16_t(u - u'A' + u'a');
        const bool kept = (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'-';
        if (!kept) {
            pendingSpace = true;
            continue;
        }
        if (pendingSpace && !key.isEmpty())
            key.append(u' ');
        pendingSpace = false;
        key.append(QChar(u));
    }
    return key;
}

} // namespace

QString foldForComparison(QStringView text)
{
    // Width first, so that a half-width kana with a half-width sound mark folds
    // like its full-width form once the marks are dropped.
    QString widened;
    widened.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        const auto tag = QChar::decompositionTag(c);
        if (tag == QChar::Wide || tag == QChar::Narrow)
            widened.append(QChar::decomposition(c));
        else
            appendCodePoint(widened, c);
    }

    const QString decomposed = widened.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const char32_t c : decomposed.toUcs4()) {
        if (QChar::category(c) == QChar::Mark_NonSpacing)
            continue;
        if (const FullFolding *full = findFullFolding(c)) {
            for (const char32_t f : full->folded) {
                if (f != 0)
                    appendCodePoint(folded, f);
            }
            continue;
        }
        appendCodePoint(folded, QChar::toCaseFolded(c));
    }
    return folded.normalized(QString::NormalizationForm_C);
}

QString termKey(QStringView text)
{
    // Fast path: already a key-shaped ASCII word (most aliases and queries).
    if (!text.isEmpty() && isAsciiAlnumSpaceOrHyphen(text))
        return text.toString();
    if (isAscii(text))
        return asciiTermKey(text);

    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}\\-]+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"),
                                               QRegularExpression::UseUnicodePropertiesOption);

    QString key = foldForComparison(text).toLower();
    key.replace(separators, QStringLiteral(" "));
    key.replace(whiteSpace, QStringLiteral(" "));
    return key.trimmed();
}

} // namespace wordlumen
