// The pack file parser, from the file's bytes to the pack the library stores.
//
// Beyond not crashing: every accepted entry obeys the parser's promises (a
// term, an explanation within the length limit, distinct keys, clean
// aliases), and the pack survives the library file's write and read exactly,
// since whatever a pack file holds is what the library must keep.

#include "core/termkey.h"
#include "core/textmetrics.h"
#include "fuzzcheck.h"
#include "packs/glossarylibraryfile.h"
#include "packs/glossarypackageparser.h"
#include "packs/isotimestamp.h"

#include <QSet>

using namespace wordlumen;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto text = GlossaryPackageParser::decodeFileText(fuzz::inputBytes(data, size));
    if (!text)
        return 0;
    static const QDateTime now = IsoTimestamp::parse(u"2026-03-01T08:15:00Z").value();
    const auto parsed = GlossaryPackageParser::parse(*text, QStringLiteral("行业补充包.md"), now);
    if (!parsed)
        return 0;
    const GlossaryPackDraft &draft = *parsed;

    WORDLUMEN_FUZZ_CHECK(!draft.industry.isEmpty());
    WORDLUMEN_FUZZ_CHECK(!draft.vocabularyDepth.isEmpty());
    WORDLUMEN_FUZZ_CHECK(!draft.explanationPerspective.isEmpty());
    WORDLUMEN_FUZZ_CHECK(!draft.entries.isEmpty());
    WORDLUMEN_FUZZ_CHECK(draft.ignoredEntryCount >= 0);

    QSet<QString> termKeys;
    for (const CustomGlossaryEntry &entry : draft.entries) {
        WORDLUMEN_FUZZ_CHECK(!entry.term.isEmpty());
        WORDLUMEN_FUZZ_CHECK(TextMetrics::trimmed(entry.term) == entry.term);
        WORDLUMEN_FUZZ_CHECK(!entry.explanation.isEmpty());
        WORDLUMEN_FUZZ_CHECK(TextMetrics::graphemeCount(entry.explanation) <=
                             GlossaryPackageParser::kMaximumExplanationLength);
        WORDLUMEN_FUZZ_CHECK(!entry.id.isNull());
        WORDLUMEN_FUZZ_CHECK(entry.createdAt == now && entry.updatedAt == now);

        const QString key = termKey(entry.term);
        WORDLUMEN_FUZZ_CHECK(!termKeys.contains(key));
        termKeys.insert(key);

        QSet<QString> aliasKeys;
        for (const QString &alias : entry.aliases) {
            WORDLUMEN_FUZZ_CHECK(!alias.isEmpty());
            WORDLUMEN_FUZZ_CHECK(TextMetrics::trimmed(alias) == alias);
            const QString aliasKey = termKey(alias);
            WORDLUMEN_FUZZ_CHECK(aliasKey != key);
            WORDLUMEN_FUZZ_CHECK(!aliasKeys.contains(aliasKey));
            aliasKeys.insert(aliasKey);
        }
    }

    const QList<GlossaryPack> packs{GlossaryPack::fromDraft(
        draft, QUuid::fromString(u"8F14E45F-CEEA-467F-A9E4-1C2B3D4E5F60"), now)};
    const auto reread = GlossaryLibraryFile::decode(GlossaryLibraryFile::encode(packs));
    WORDLUMEN_FUZZ_CHECK(reread.hasValue());
    WORDLUMEN_FUZZ_CHECK(reread->layout == GlossaryLibraryFile::Layout::Document);
    WORDLUMEN_FUZZ_CHECK(reread->packs == packs);
    return 0;
}
