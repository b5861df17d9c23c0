#include "termkey.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

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

char16_t asciiLower(char16_t u)
{
    return (u >= u'A' && u <= u'Z') ? char16_t(u - u'A' + u'a') : u;
}

bool isCjkIdeograph(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF);
}

// CJK punctuation and symbols after the ideographic space, up to the tone
// marks: starters without decomposition or case, which folding keeps.
bool isCjkPunctuation(char32_t c)
{
    return c >= 0x3001 && c <= 0x3029;
}

// Full-width ASCII (！ to ～): the width folding maps each to its ASCII form.
bool isFullWidthAscii(char32_t c)
{
    return c >= 0xFF01 && c <= 0xFF5E;
}

// What the key keeps of the folded text: letters, numbers and the hyphen-minus.
// Everything else is a separator.
bool isKept(char32_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' ||
               (c >= u'A' && c <= u'Z');
    return isCjkIdeograph(c) || QChar::isLetterOrNumber(c);
}

bool isMark(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// Vowel and final jamo compose with the syllable before them.
bool isHangulMedialOrFinal(char32_t c)
{
    return (c >= 0x1161 && c <= 0x1175) || (c >= 0x11A8 && c <= 0x11C2);
}

char32_t firstCodePoint(QStringView text)
{
    if (text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[0], text[1]);
    return text.isEmpty() ? 0 : text[0].unicode();
}

// The first code point `c` becomes before case folding: its plain form when it
// is a wide or narrow one, then its canonical decomposition.
char32_t leadingDecomposed(char32_t c)
{
    // Decomposition chains are a few steps long; the bound only guards the loop.
    for (int step = 0; step < 8; ++step) {
        const auto tag = QChar::decompositionTag(c);
        const bool widthForm = step == 0 && (tag == QChar::Wide || tag == QChar::Narrow);
        if (tag != QChar::Canonical && !widthForm)
            return c;
        const QString decomposition = QChar::decomposition(c);
        if (decomposition.isEmpty())
            return c;
        c = firstCodePoint(decomposition);
    }
    return c;
}

/*
 * Whether folding treats the text before `c` and the text from `c` on
 * independently: fold(a + b) == fold(a) + fold(b) whenever b starts with such a
 * code point. Folding decomposes, drops non-spacing marks, folds case per code
 * point and composes again; decomposition only reorders marks that follow a
 * starter, and composition only joins a starter with a mark or with a Hangul
 * vowel or final jamo after it (every other second half of a canonical
 * composition is a mark; a test checks that against the Unicode tables). So a
 * code point whose decomposition leads with a starter that is neither is a
 * place where the text can be folded in pieces.
 */
bool isPieceStart(char32_t c)
{
    if (c < 0x80 || isCjkIdeograph(c) || isCjkPunctuation(c) || isFullWidthAscii(c))
        return true;
    const char32_t lead = leadingDecomposed(c);
    return QChar::combiningClass(lead) == 0 && !isMark(lead) && !isHangulMedialOrFinal(lead);
}

// A code point that the folding and lower-casing leave as it is. Checked
// against the whole folding for every code point by a test.
bool foldsToItself(char32_t c)
{
    return QChar::decompositionTag(c) == QChar::NoDecomposition &&
           QChar::category(c) != QChar::Mark_NonSpacing && QChar::toCaseFolded(c) == c &&
           QChar::toLower(c) == c && !findFullFolding(c);
}

qsizetype codePointSize(QStringView text, qsizetype at)
{
    return (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
               ? 2
               : 1;
}

char32_t codePointAt(QStringView text, qsizetype at)
{
    return codePointSize(text, at) == 2 ? QChar::surrogateToUcs4(text[at], text[at + 1])
                                        : char32_t(text[at].unicode());
}

// Code units that are a grapheme cluster of their own between any two others
// of the same kind: Latin up to the combining marks (without CR, which joins
// LF), CJK punctuation and kana without their combining marks, CJK
// ideographs, and the full- and half-width forms before the half-width sound
// marks. Text made only of these needs no boundary finder.
bool isPlainCluster(char16_t u)
{
    if (u < 0x300)
        return u != u'\r';
    return (u >= 0x3000 && u <= 0x3029) || (u >= 0x3030 && u <= 0x3098) ||
           (u >= 0x309B && u <= 0x30FF) || (u >= 0x3400 && u <= 0x4DBF) ||
           (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF9D);
}

/**
 * Walks the grapheme cluster boundaries of a text in increasing order.
 *
 * Text of plain code units only has one cluster per unit. Anything else gets
 * one boundary finder over the whole text: Qt's boundaries around some
 * scripts depend on the script runs of the whole text, so they must come from
 * the same call TextMetrics makes.
 */
class ClusterBoundaries
{
public:
    explicit ClusterBoundaries(QStringView text)
        : m_plain(std::all_of(text.begin(), text.end(),
                              [](QChar c) { return isPlainCluster(c.unicode()); }))
    {
        if (!m_plain) {
            m_finder.emplace(QTextBoundaryFinder::Grapheme, text.data(), text.size());
            m_next = m_finder->toNextBoundary(); // the end of the first cluster
        }
    }

    /**
     * Whether a cluster starts at `at`, which never decreases between calls;
     * `*index` is then that cluster's number.
     */
    bool startsAt(qsizetype at, qsizetype *index)
    {
        if (m_plain) {
            *index = at;
            return true;
        }
        if (at == 0) {
            *index = 0;
            return true;
        }
        while (m_next != -1 && m_next < at) {
            m_next = m_finder->toNextBoundary();
            ++m_passed;
        }
        if (m_next != at)
            return false;
        *index = m_passed + 1;
        return true;
    }

private:
    bool m_plain;
    std::optional<QTextBoundaryFinder> m_finder;
    qsizetype m_next = -1;  // the first boundary after the ones passed
    qsizetype m_passed = 0; // boundaries before m_next, not counting the start
};

/// Writes the key: kept characters, one space for each run of separators
/// between them, and (when asked) the piece each key character came from.
class KeyWriter
{
public:
    KeyWriter(QString &key, SourcedTermKey *sources)
        : m_key(key)
        , m_sources(sources)
    {}

    void startPiece(qsizetype start, qsizetype characterStart)
    {
        if (!m_sources)
            return;
        m_piece = m_sources->pieceStart.size();
        m_sources->pieceStart.append(start);
        m_sources->pieceCharacterStart.append(characterStart);
    }

    void write(char32_t c)
    {
        if (!isKept(c)) {
            m_pendingSpace = true;
            return;
        }
        if (m_pendingSpace && !m_key.isEmpty()) {
            m_key.append(u' ');
            if (m_sources)
                m_sources->pieceOf.append(-1);
        }
        m_pendingSpace = false;
        if (QChar::requiresSurrogates(c)) {
            m_key.append(QChar(QChar::highSurrogate(c)));
            m_key.append(QChar(QChar::lowSurrogate(c)));
            if (m_sources) {
                m_sources->pieceOf.append(m_piece);
                m_sources->pieceOf.append(m_piece);
            }
        } else {
            m_key.append(QChar(static_cast<char16_t>(c)));
            if (m_sources)
                m_sources->pieceOf.append(m_piece);
        }
    }

private:
    QString &m_key;
    SourcedTermKey *m_sources;
    qsizetype m_piece = -1;
    bool m_pendingSpace = false;
};

// Folds and lower-cases one run (a piece start and the code points after it
// that are not) into the writer.
void writeRun(QStringView run, KeyWriter &writer)
{
    if (run.size() == 1) {
        const char16_t u = run[0].unicode();
        if (u < 0x80) {
            writer.write(asciiLower(u));
            return;
        }
        if (isFullWidthAscii(u)) {
            writer.write(asciiLower(char16_t(u - 0xFEE0)));
            return;
        }
    }
    if (codePointSize(run, 0) == run.size()) {
        const char32_t c = codePointAt(run, 0);
        if (isCjkIdeograph(c) || isCjkPunctuation(c) || foldsToItself(c)) {
            writer.write(c);
            return;
        }
    }
    const QString folded = foldForComparison(run).toLower();
    for (qsizetype at = 0; at < folded.size(); at += codePointSize(folded, at))
        writer.write(codePointAt(folded, at));
}

/*
 * The one implementation of the key. Folding works on runs that start at a
 * piece start (see isPieceStart), which gives the same result as folding the
 * whole text at once; the key's own steps (lower case, separators, trimming)
 * work character by character.
 */
void buildTermKey(QStringView text, QString &key, SourcedTermKey *sources)
{
    key.reserve(text.size());
    if (sources) {
        sources->pieceOf.reserve(text.size());
        sources->pieceStart.reserve(text.size() + 1);
        sources->pieceCharacterStart.reserve(text.size() + 1);
    }
    KeyWriter writer(key, sources);
    // Only the places need the clusters; the key alone does not.
    std::optional<ClusterBoundaries> clusters;
    if (sources)
        clusters.emplace(text);
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = at + codePointSize(text, at);
        while (end < text.size() && !isPieceStart(codePointAt(text, end)))
            end += codePointSize(text, end);
        qsizetype cluster = 0;
        if (clusters && clusters->startsAt(at, &cluster))
            writer.startPiece(at, cluster);
        writeRun(text.mid(at, end - at), writer);
        at = end;
    }
    if (sources) {
        // The end of the text is always a cluster boundary.
        qsizetype characters = 0;
        static_cast<void>(clusters->startsAt(text.size(), &characters));
        sources->pieceStart.append(text.size());
        sources->pieceCharacterStart.append(characters);
    }
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
    // Already a key-shaped ASCII word (most aliases and queries): nothing to do.
    if (!text.isEmpty() && isAsciiAlnumSpaceOrHyphen(text))
        return text.toString();
    QString key;
    buildTermKey(text, key, nullptr);
    return key;
}

SourcedTermKey sourcedTermKey(QStringView text)
{
    SourcedTermKey result;
    buildTermKey(text, result.key, &result);
    return result;
}

} // namespace wordlumen
