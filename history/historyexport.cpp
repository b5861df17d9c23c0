#include "historyexport.h"

#include "historylog.h"
#include "historystore.h"
#include "packs/glossarypackageparser.h"

#include <QDir>
#include <QSaveFile>

namespace wordlumen::HistoryExport {

namespace {

QString originLabel(ExplanationOrigin origin)
{
    switch (origin) {
    case ExplanationOrigin::Custom:
        return QStringLiteral("补充包");
    case ExplanationOrigin::Local:
        return QStringLiteral("本地词典");
    case ExplanationOrigin::DeepSeek:
        return QStringLiteral("在线解释");
    case ExplanationOrigin::Unavailable:
        break;
    }
    return {};
}

QString isoTime(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODate);
}

// Anki reads a field that starts with a quote as a quoted field, and a line
// that starts with 「#」 as a header: such fields are quoted, quotes doubled.
QString tsvField(const QString &text)
{
    const QString field = GlossaryPackWriter::singleLine(text);
    if (field.startsWith(u'"') || field.startsWith(u'#')) {
        QString quoted = field;
        quoted.replace(u'"', QStringLiteral("\"\""));
        return u'"' + quoted + u'"';
    }
    return field;
}

QString csvField(const QString &text, bool isText = true)
{
    QString field = text;
    if (isText && !field.isEmpty()) {
        const QChar first = field.front();
        if (first == u'=' || first == u'+' || first == u'-' || first == u'@')
            field.prepend(u'\'');
    }
    const bool needsQuotes = field.contains(u',') || field.contains(u'"') ||
                             field.contains(u'\n') || field.contains(u'\r');
    if (!needsQuotes)
        return field;
    field.replace(u'"', QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

QString ankiTags(const HistoryEntry &entry)
{
    QStringList tags{QStringLiteral("Wordlumen"), originLabel(entry.origin)};
    if (entry.starred)
        tags.append(QStringLiteral("收藏"));
    return tags.join(u' ');
}

} // namespace

QString toString(Format format)
{
    switch (format) {
    case Format::Pack:
        return QStringLiteral("pack");
    case Format::Tsv:
        return QStringLiteral("tsv");
    case Format::Csv:
        return QStringLiteral("csv");
    }
    return {};
}

std::optional<Format> formatFromString(QStringView text)
{
    for (const Format format : {Format::Pack, Format::Tsv, Format::Csv}) {
        if (text == toString(format))
            return format;
    }
    return std::nullopt;
}

QString packIndustry(bool starredOnly)
{
    return starredOnly ? QStringLiteral("我的收藏") : QStringLiteral("查询历史");
}

GlossaryPackText toPack(const QList<HistoryEntry> &entries, bool starredOnly)
{
    QList<CustomGlossaryEntry> packEntries;
    packEntries.reserve(entries.size());
    for (const HistoryEntry &entry : entries)
        packEntries.append(
            {QUuid(), entry.term, {}, entry.answer, entry.firstSeen, entry.lastSeen});
    return GlossaryPackWriter::write({packIndustry(starredOnly), {}, {}}, packEntries);
}

QByteArray toTsv(const QList<HistoryEntry> &entries)
{
    QString text = QStringLiteral("#separator:tab\n#html:false\n"
                                  "#columns:术语\t解释\t上下文\t来源\t标签\n#tags column:5\n");
    for (const HistoryEntry &entry : entries) {
        text += tsvField(entry.term) + u'\t' + tsvField(entry.answer) + u'\t' +
                tsvField(entry.context) + u'\t' + tsvField(entry.source.displayText()) + u'\t' +
                tsvField(ankiTags(entry)) + u'\n';
    }
    return text.toUtf8();
}

QByteArray toCsv(const QList<HistoryEntry> &entries)
{
    // The byte order mark is how spreadsheet programs tell UTF-8 from the
    // system's legacy encoding (GBK on Chinese Windows).
    QString text = QStringLiteral("\uFEFF术语,查询原文,解释,来源类型,来源,上下文,查询次数,"
                                  "首次查询,最近查询,收藏\r\n");
    for (const HistoryEntry &entry : entries) {
        const QStringList fields{
            csvField(entry.term),
            csvField(entry.query),
            csvField(entry.answer),
            csvField(originLabel(entry.origin)),
            csvField(entry.source.displayText()),
            csvField(entry.context),
            QString::number(entry.lookupCount),
            isoTime(entry.firstSeen),
            isoTime(entry.lastSeen),
            entry.starred ? QStringLiteral("是") : QStringLiteral("否"),
        };
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QString Summary::message(const QString &filePath) const
{
    QString text =
        QStringLiteral("已导出 %1 条到 %2").arg(entryCount).arg(QDir::toNativeSeparators(filePath));
    if (skippedCount > 0)
        text += QStringLiteral("，%1 条因为词条为空或重名没有写入").arg(skippedCount);
    if (shortenedCount > 0)
        text += QStringLiteral("，%1 条解释超过 %2 字已截短")
                    .arg(shortenedCount)
                    .arg(GlossaryPackageParser::kMaximumExplanationLength);
    if (tooLargeToImport)
        text += QStringLiteral("。文件超过 %1 MB，不能整个作为补充包导入，请只导出收藏")
                    .arg(GlossaryPackageParser::kMaximumFileSize / (1024 * 1024));
    return text + u'。';
}

Result<Summary, HistoryError> exportToFile(HistoryStore &store, Format format, bool starredOnly,
                                           const QString &filePath)
{
    HistoryQuery query;
    query.starredOnly = starredOnly;
    query.limit = 0;
    const auto listed = store.list(query);
    if (!listed)
        return listed.error();
    const QList<HistoryEntry> &entries = listed->entries;

    Summary summary;
    summary.format = format;
    QByteArray bytes;
    switch (format) {
    case Format::Pack: {
        const GlossaryPackText pack = toPack(entries, starredOnly);
        if (pack.entries.isEmpty())
            return HistoryError::NothingToExport;
        bytes = pack.text.toUtf8();
        summary.entryCount = pack.entries.size();
        summary.skippedCount = pack.emptyCount + pack.duplicateCount;
        summary.shortenedCount = pack.shortenedCount;
        summary.tooLargeToImport = bytes.size() > GlossaryPackageParser::kMaximumFileSize;
        break;
    }
    case Format::Tsv:
        bytes = toTsv(entries);
        summary.entryCount = entries.size();
        break;
    case Format::Csv:
        bytes = toCsv(entries);
        summary.entryCount = entries.size();
        break;
    }

    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qCWarning(lcHistory) << "cannot write the export:" << file.errorString();
        return HistoryError::ExportFailed;
    }
    return summary;
}

} // namespace wordlumen::HistoryExport
