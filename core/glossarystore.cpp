#include "glossarystore.h"

#include "corelog.h"
#include "termkey.h"
#include "textmetrics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace wordlumen {

namespace {

Result<QByteArray, GlossaryError> readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return GlossaryError::readFailed(file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return GlossaryError::readFailed(file.errorString());
    return bytes;
}

Result<QHash<QString, QStringList>, GlossaryError> parseAliasTable(const QByteArray &bytes)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return GlossaryError::invalidJson(parseError.errorString());
    if (!document.isObject())
        return GlossaryError::invalidAliasData();

    QHash<QString, QStringList> table;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isArray())
            return GlossaryError::invalidAliasData();
        QStringList names;
        for (const QJsonValue &name : it.value().toArray()) {
            if (!name.isString())
                return GlossaryError::invalidAliasData();
            names.append(name.toString());
        }
        table.insert(it.key(), names);
    }
    return table;
}

QStringList distinct(const QStringList &names)
{
    QStringList result;
    for (const QString &name : names) {
        if (!result.contains(name))
            result.append(name);
    }
    return result;
}

} // namespace

GlossaryStore::GlossaryStore(QList<GlossaryEntry> entries)
    : m_entries(std::move(entries))
{
    for (qsizetype index = 0; index < m_entries.size(); ++index) {
        for (const QString &alias : std::as_const(m_entries[index].aliases))
            m_names.add(termKey(alias), index);
    }
}

Result<GlossaryStore, GlossaryError> GlossaryStore::loadFromDirectory(const QString &directory)
{
    const QDir dir(directory);
    const QString markdown = dir.filePath(QLatin1String(kMarkdownFileName));
    const QString aliases = dir.filePath(QLatin1String(kAliasesFileName));
    if (!QFileInfo(markdown).isFile())
        return GlossaryError::missingResource(QLatin1String(kMarkdownFileName));
    if (!QFileInfo(aliases).isFile())
        return GlossaryError::missingResource(QLatin1String(kAliasesFileName));
    return load(markdown, aliases);
}

Result<GlossaryStore, GlossaryError> GlossaryStore::load(const QString &markdownPath,
                                                         const QString &aliasesPath)
{
    auto markdownBytes = readWholeFile(markdownPath);
    if (!markdownBytes)
        return markdownBytes.error();

    auto aliasBytes = readWholeFile(aliasesPath);
    if (!aliasBytes)
        return aliasBytes.error();
    return fromFileContents(markdownBytes.value(), aliasBytes.value());
}

Result<GlossaryStore, GlossaryError> GlossaryStore::fromFileContents(const QByteArray &markdown,
                                                                     const QByteArray &aliases)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(markdown);
    if (decoder.hasError())
        return GlossaryError::invalidEncoding();

    auto aliasTable = parseAliasTable(aliases);
    if (!aliasTable)
        return aliasTable.error();

    auto entries = parse(text, aliasTable.value());
    if (!entries)
        return entries.error();
    return GlossaryStore(std::move(entries).value());
}

Result<GlossaryStore, GlossaryError> GlossaryStore::loadInstalled()
{
    const QString directory = installedResourceDirectory();
    auto store = loadFromDirectory(directory);
    // Callers carry on without a dictionary and say so in their own words;
    // the log keeps the reason and the place for whoever investigates.
    if (!store)
        qCInfo(lcCore) << "no built-in dictionary from" << directory << store.error().message();
    return store;
}

QString GlossaryStore::installedResourceDirectory()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath(QStringLiteral("../share/wordlumen"));
    return QDir::cleanPath(beside);
}

Result<QList<GlossaryEntry>, GlossaryError>
GlossaryStore::parse(const QString &markdown, const QHash<QString, QStringList> &aliasTable)
{
    // An explanation runs, shortest possible, to the next place where white
    // space is followed by 「12. **」. The look-ahead is tried only where a
    // white-space run begins: the first place it can succeed is always such a
    // start, so the matches are the same, but a long run is scanned once
    // instead of once from each of its characters.
    static const QRegularExpression entryPattern(
        QStringLiteral("(?s)(\\d+)\\.\\s+\\*\\*(.+?)\\*\\*\\s+白话：(.*?)"
                       "(?=(?<!\\s)\\s+\\d+\\.\\s+\\*\\*|$)"),
        QRegularExpression::UseUnicodePropertiesOption);

    QList<GlossaryEntry> entries;
    auto it = entryPattern.globalMatch(markdown);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        if (!match.hasCaptured(1) || !match.hasCaptured(2) || !match.hasCaptured(3))
            continue;
        bool ok = false;
        const qint64 number = match.captured(1).toLongLong(&ok, 10);
        if (!ok)
            continue;

        GlossaryEntry entry;
        entry.number = number;
        entry.term = TextMetrics::trimmed(match.capturedView(2));
        entry.explanation = cleanedExplanation(match.captured(3));
        QStringList names = namesDerivedFromTitle(entry.term);
        names.append(aliasTable.value(QString::number(number)));
        entry.aliases = distinct(names);
        entries.append(std::move(entry));
    }

    if (entries.size() != kExpectedEntryCount)
        return GlossaryError::incompleteGlossary(entries.size());
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const GlossaryEntry &a, const GlossaryEntry &b) { return a.number < b.number; });
    return entries;
}

QString GlossaryStore::cleanedExplanation(const QString &text)
{
    static const QRegularExpression trailingHeading(
        QStringLiteral("\\s*##\\s*[^#]*?（\\d+[–—-]\\d+）\\s*$"),
        QRegularExpression::UseUnicodePropertiesOption);
    QString cleaned = text;
    const QRegularExpressionMatch match = trailingHeading.match(cleaned);
    if (match.hasMatch())
        cleaned.remove(match.capturedStart(), match.capturedLength());
    return TextMetrics::trimmed(cleaned);
}

QStringList GlossaryStore::namesDerivedFromTitle(const QString &title)
{
    static const QRegularExpression parenthesised(QStringLiteral("（.*?）|\\(.*?\\)"));
    static const QRegularExpression inner(QStringLiteral("[（(]([^）)]+)[）)]"));

    QStringList names{title};
    QString base = title;
    base.remove(parenthesised);
    base = TextMetrics::trimmed(base);
    if (!base.isEmpty())
        names.append(base);

    auto it = inner.globalMatch(title);
    while (it.hasNext()) {
        const QString content = it.next().captured(1);
        for (const QString &piece : content.split(u'/', Qt::SkipEmptyParts))
            names.append(piece);
    }
    return names;
}

std::optional<GlossaryEntry> GlossaryStore::match(QStringView query) const
{
    const auto best = m_names.bestMatch(termKey(query));
    if (!best)
        return std::nullopt;
    return m_entries[*best];
}

QList<GlossaryCatalogItem> GlossaryStore::catalogItems() const
{
    QList<GlossaryCatalogItem> items;
    items.reserve(m_entries.size());
    for (const GlossaryEntry &entry : m_entries)
        items.append({entry.term, entry.aliases});
    return items;
}

} // namespace wordlumen
