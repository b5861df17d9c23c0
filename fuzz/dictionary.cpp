// The built-in dictionary loader: the Markdown file and the alias table.
//
// An input is the Markdown text, optionally followed by a line
// 「@@Aliases.json@@」 and the alias table; without it the table is empty. A
// dictionary that loads holds its 200 entries in number order, and each of an
// entry's names finds an entry with that name.

#include "core/glossarystore.h"
#include "core/termkey.h"
#include "fuzzcheck.h"

#include <algorithm>

using namespace wordlumen;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::inputBytes(data, size);
    static const QByteArray separator = QByteArrayLiteral("\n@@Aliases.json@@\n");
    const qsizetype at = bytes.indexOf(separator);
    const QByteArray markdown = at < 0 ? bytes : bytes.left(at);
    const QByteArray aliases = at < 0 ? QByteArrayLiteral("{}") : bytes.mid(at + separator.size());

    const auto store = GlossaryStore::fromFileContents(markdown, aliases);
    if (!store)
        return 0;
    const QList<GlossaryEntry> &entries = store->entries();
    WORDLUMEN_FUZZ_CHECK(entries.size() == GlossaryStore::kExpectedEntryCount);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const GlossaryEntry &entry = entries.at(i);
        WORDLUMEN_FUZZ_CHECK(i == 0 || entries.at(i - 1).number <= entry.number);
        WORDLUMEN_FUZZ_CHECK(entry.aliases.contains(entry.term));
        QStringList distinct = entry.aliases;
        WORDLUMEN_FUZZ_CHECK(distinct.removeDuplicates() == 0);
        for (const QString &alias : entry.aliases) {
            const QString key = termKey(alias);
            if (key.isEmpty())
                continue;
            // A name equal to the whole query wins: this entry, or one that shares the name.
            const auto found = store->match(alias);
            WORDLUMEN_FUZZ_CHECK(found.has_value());
            WORDLUMEN_FUZZ_CHECK(
                std::any_of(found->aliases.cbegin(), found->aliases.cend(),
                            [&](const QString &name) { return termKey(name) == key; }));
        }
    }
    return 0;
}
