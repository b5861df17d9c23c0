// The term key and the folding under it.
//
// The input is read twice: as UTF-8, as text arrives from files and replies,
// and as raw UTF-16 code units, which reaches lone surrogates and every code
// unit as a query typed into the card could. The key is idempotent, trimmed
// and has no double spaces; folding must not crash on anything. The key with
// places is the same key, and every key character points into the text.

#include "core/termkey.h"

#include "fuzzcheck.h"

#include <cstring>

using namespace wordlumen;

namespace {

void check(const QString &text)
{
    const QString key = termKey(text);
    WORDLUMEN_FUZZ_CHECK(termKey(key) == key);
    WORDLUMEN_FUZZ_CHECK(!key.startsWith(u' ') && !key.endsWith(u' '));
    WORDLUMEN_FUZZ_CHECK(!key.contains(QStringLiteral("  ")));
    (void)foldForComparison(text);

    const SourcedTermKey sourced = sourcedTermKey(text);
    WORDLUMEN_FUZZ_CHECK(sourced.key == key);
    WORDLUMEN_FUZZ_CHECK(sourced.pieceOf.size() == key.size());
    WORDLUMEN_FUZZ_CHECK(sourced.pieceStart.size() == sourced.pieceCharacterStart.size());
    WORDLUMEN_FUZZ_CHECK(sourced.pieceStart.constLast() == text.size());
    for (qsizetype p = 1; p < sourced.pieceStart.size(); ++p)
        WORDLUMEN_FUZZ_CHECK(sourced.pieceStart[p - 1] < sourced.pieceStart[p] &&
                             sourced.pieceCharacterStart[p - 1] < sourced.pieceCharacterStart[p]);
    for (const qsizetype piece : sourced.pieceOf)
        WORDLUMEN_FUZZ_CHECK(piece >= -1 && piece < sourced.pieceStart.size() - 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::inputBytes(data, size);
    check(QString::fromUtf8(bytes));
    QString units(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(units.data(), bytes.constData(), std::size_t(units.size()) * sizeof(QChar));
    check(units);
    return 0;
}
