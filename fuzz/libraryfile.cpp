// The library file reader, against QJsonDocument and against its own writer.
//
// What the reader accepts must be JSON that QJsonDocument reads too. Where
// QJsonDocument reads the file exactly, every field must be the text it sees
// (identifiers and timestamps in the one shape the writer uses, up to the case
// of the identifier's hex digits), and its own rewrite of the file must read
// back the same. It does not read exactly a text (or a key) that opens with
// U+FEFF: it drops the character, which the reader keeps.
//
// Whatever the reader accepts must survive a write and a read unchanged, and
// the writer lays it out as QJsonDocument writes the same values.

#include "fuzzcheck.h"
#include "packs/glossarylibraryfile.h"
#include "packs/isotimestamp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace wordlumen;

namespace {

/// The library as QJsonDocument would hold it, built value by value.
QJsonDocument qtDocument(const QList<GlossaryPack> &packs)
{
    const auto uuid = [](const QUuid &id) {
        return id.toString(QUuid::WithoutBraces).toUpper();
    };
    QJsonArray packArray;
    for (const GlossaryPack &pack : packs) {
        QJsonArray entries;
        for (const CustomGlossaryEntry &entry : pack.entries) {
            entries.append(QJsonObject{
                {QStringLiteral("aliases"), QJsonArray::fromStringList(entry.aliases)},
                {QStringLiteral("createdAt"), IsoTimestamp::format(entry.createdAt)},
                {QStringLiteral("explanation"), entry.explanation},
                {QStringLiteral("id"), uuid(entry.id)},
                {QStringLiteral("term"), entry.term},
                {QStringLiteral("updatedAt"), IsoTimestamp::format(entry.updatedAt)},
            });
        }
        packArray.append(QJsonObject{
            {QStringLiteral("entries"), entries},
            {QStringLiteral("explanationPerspective"), pack.explanationPerspective},
            {QStringLiteral("id"), uuid(pack.id)},
            {QStringLiteral("importedAt"), IsoTimestamp::format(pack.importedAt)},
            {QStringLiteral("industry"), pack.industry},
            {QStringLiteral("isEnabled"), pack.isEnabled},
            {QStringLiteral("sourceFileName"), pack.sourceFileName},
            {QStringLiteral("vocabularyDepth"), pack.vocabularyDepth},
        });
    }
    return QJsonDocument(
        QJsonObject{{QStringLiteral("packs"), packArray},
                    {QStringLiteral("version"), GlossaryLibraryFile::kCurrentVersion}});
}

QString text(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    WORDLUMEN_FUZZ_CHECK(value.isString());
    return value.toString();
}

void checkUuid(const QJsonObject &object, const QUuid &id)
{
    const QString written = text(object, "id");
    WORDLUMEN_FUZZ_CHECK(written.toUpper() == id.toString(QUuid::WithoutBraces).toUpper());
}

void checkTime(const QJsonObject &object, const char *key, const QDateTime &time)
{
    WORDLUMEN_FUZZ_CHECK(text(object, key) == IsoTimestamp::format(time));
}

void checkEntry(const QJsonValue &value, const CustomGlossaryEntry &entry)
{
    WORDLUMEN_FUZZ_CHECK(value.isObject());
    const QJsonObject object = value.toObject();
    checkUuid(object, entry.id);
    WORDLUMEN_FUZZ_CHECK(text(object, "term") == entry.term);
    WORDLUMEN_FUZZ_CHECK(text(object, "explanation") == entry.explanation);
    const QJsonArray aliases = object.value(QLatin1String("aliases")).toArray();
    WORDLUMEN_FUZZ_CHECK(aliases.size() == entry.aliases.size());
    for (qsizetype i = 0; i < aliases.size(); ++i)
        WORDLUMEN_FUZZ_CHECK(aliases.at(i).toString() == entry.aliases.at(i));
    checkTime(object, "createdAt", entry.createdAt);
    checkTime(object, "updatedAt", entry.updatedAt);
}

void checkEntries(const QJsonArray &array, const QList<CustomGlossaryEntry> &entries)
{
    WORDLUMEN_FUZZ_CHECK(array.size() == entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        checkEntry(array.at(i), entries.at(i));
}

void checkPacks(const QJsonArray &array, const QList<GlossaryPack> &packs)
{
    WORDLUMEN_FUZZ_CHECK(array.size() == packs.size());
    for (qsizetype i = 0; i < packs.size(); ++i) {
        WORDLUMEN_FUZZ_CHECK(array.at(i).isObject());
        const QJsonObject object = array.at(i).toObject();
        const GlossaryPack &pack = packs.at(i);
        checkUuid(object, pack.id);
        WORDLUMEN_FUZZ_CHECK(text(object, "industry") == pack.industry);
        WORDLUMEN_FUZZ_CHECK(text(object, "vocabularyDepth") == pack.vocabularyDepth);
        WORDLUMEN_FUZZ_CHECK(text(object, "explanationPerspective") == pack.explanationPerspective);
        WORDLUMEN_FUZZ_CHECK(text(object, "sourceFileName") == pack.sourceFileName);
        checkTime(object, "importedAt", pack.importedAt);
        WORDLUMEN_FUZZ_CHECK(object.value(QLatin1String("isEnabled")).isBool());
        WORDLUMEN_FUZZ_CHECK(object.value(QLatin1String("isEnabled")).toBool() == pack.isEnabled);
        checkEntries(object.value(QLatin1String("entries")).toArray(), pack.entries);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::inputBytes(data, size);
    const auto contents = GlossaryLibraryFile::decode(bytes);
    if (!contents)
        return 0;

    // Accepted: QJsonDocument reads the same file, and where it reads it
    // exactly, each field is what it reads.
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    WORDLUMEN_FUZZ_CHECK(parseError.error == QJsonParseError::NoError);
    // Conservative: a quote before U+FEFF inside a text counts too.
    const bool qtReadsExactly = !bytes.contains("\"\xEF\xBB\xBF");
    QList<GlossaryPack> packs = contents->packs;
    switch (contents->layout) {
    case GlossaryLibraryFile::Layout::Document:
        WORDLUMEN_FUZZ_CHECK(document.isObject());
        WORDLUMEN_FUZZ_CHECK(contents->legacyEntries.isEmpty());
        if (qtReadsExactly)
            checkPacks(document.object().value(QLatin1String("packs")).toArray(), packs);
        break;
    case GlossaryLibraryFile::Layout::PackArray:
        WORDLUMEN_FUZZ_CHECK(document.isArray());
        WORDLUMEN_FUZZ_CHECK(contents->legacyEntries.isEmpty());
        if (qtReadsExactly)
            checkPacks(document.array(), packs);
        break;
    case GlossaryLibraryFile::Layout::LegacyEntries: {
        WORDLUMEN_FUZZ_CHECK(document.isArray());
        WORDLUMEN_FUZZ_CHECK(packs.isEmpty());
        if (qtReadsExactly)
            checkEntries(document.array(), contents->legacyEntries);
        // The store keeps an old word list as one pack; the entries must survive in it.
        GlossaryPack pack;
        pack.id = QUuid::fromString(u"00000000-0000-4000-8000-000000000001");
        pack.industry = QStringLiteral("旧版自定义词库");
        pack.entries = contents->legacyEntries;
        pack.importedAt = IsoTimestamp::parse(u"2026-03-01T08:15:00Z").value();
        packs = {pack};
        break;
    }
    }

    // Written and read again: nothing changes.
    const QByteArray written = GlossaryLibraryFile::encode(packs);
    const auto reread = GlossaryLibraryFile::decode(written);
    WORDLUMEN_FUZZ_CHECK(reread.hasValue());
    WORDLUMEN_FUZZ_CHECK(reread->layout == GlossaryLibraryFile::Layout::Document);
    WORDLUMEN_FUZZ_CHECK(reread->packs == packs);

    // The writer lays the library out as QJsonDocument writes the same values.
    WORDLUMEN_FUZZ_CHECK(qtDocument(packs).toJson(QJsonDocument::Indented) == written);

    // QJsonDocument's rewrite of the file means the same to the reader.
    if (qtReadsExactly) {
        const auto rewritten =
            GlossaryLibraryFile::decode(document.toJson(QJsonDocument::Indented));
        WORDLUMEN_FUZZ_CHECK(rewritten.hasValue());
        WORDLUMEN_FUZZ_CHECK(rewritten->layout == contents->layout);
        WORDLUMEN_FUZZ_CHECK(rewritten->packs == contents->packs);
        WORDLUMEN_FUZZ_CHECK(rewritten->legacyEntries == contents->legacyEntries);
    }
    return 0;
}
