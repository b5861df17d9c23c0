// The history verbs: list, star, unstar, export and clear. They work on the
// same database as the app through the same store, so a change made here
// shows in the control center after its next refresh. `lookup` records
// through the card's own recorder (see lookupverb.cpp).
#include "cliverb.h"
#include "history/historyexport.h"
#include "history/historystore.h"
#include "history/historytimetext.h"

#include <QDate>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace wordlumen::cli {

namespace {

const QString kVerb = QStringLiteral("history");

int showError(const QString &message, CliContext &context)
{
    context.err << message << '\n';
    context.err.flush();
    return ShownError;
}

/// The store the verb works on; says afterwards what happened to an unreadable file.
class OpenedHistory
{
public:
    explicit OpenedHistory(const QString &path, CliContext &context)
        : m_store(path, HistoryStore::optionsFromSettings())
        , m_context(context)
    {}

    /// A file moved aside, or a database of a newer layout, is reported once.
    ~OpenedHistory()
    {
        if (!m_store.statusMessage().isEmpty() && m_store.statusMessage() != m_shownError)
            showError(m_store.statusMessage(), m_context);
    }

    /// Shows the error (once: the store's status may say the same) and returns ShownError.
    int fail(HistoryError error)
    {
        m_shownError = historyErrorMessage(error);
        return showError(m_shownError, m_context);
    }

    HistoryStore &operator*() { return m_store; }
    HistoryStore *operator->() { return &m_store; }

private:
    HistoryStore m_store;
    CliContext &m_context;
    QString m_shownError;
};

QString isoTime(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QJsonObject entryJson(const HistoryEntry &entry)
{
    return {
        {QStringLiteral("term"), entry.term},
        {QStringLiteral("termKey"), entry.termKey},
        {QStringLiteral("query"), entry.query},
        {QStringLiteral("answer"), entry.answer},
        {QStringLiteral("origin"), toString(entry.origin)},
        {QStringLiteral("source"), QJsonObject{{QStringLiteral("name"), entry.source.name},
                                               {QStringLiteral("endpoint"), entry.source.endpoint},
                                               {QStringLiteral("model"), entry.source.model},
                                               {QStringLiteral("style"), entry.source.style}}},
        {QStringLiteral("context"), entry.context},
        {QStringLiteral("lookupCount"), entry.lookupCount},
        {QStringLiteral("firstSeen"), isoTime(entry.firstSeen)},
        {QStringLiteral("lastSeen"), isoTime(entry.lastSeen)},
        {QStringLiteral("starred"), entry.starred},
    };
}

/// 「2026-12-01」 (from local midnight) or a full ISO 8601 time; nothing for other text.
std::optional<QDateTime> parseSince(const QString &text)
{
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid())
        return QDateTime(date, QTime(0, 0));
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (time.isValid())
        return time;
    return std::nullopt;
}

int listEntries(HistoryStore &store, OpenedHistory &opened, const HistoryQuery &query, bool json,
                CliContext &context)
{
    const auto page = store.list(query);
    if (!page)
        return opened.fail(page.error());
    if (json) {
        QJsonArray entries;
        for (const HistoryEntry &entry : page->entries)
            entries.append(entryJson(entry));
        context.out << QString::fromUtf8(QJsonDocument(entries).toJson(QJsonDocument::Compact))
                    << '\n';
        context.out.flush();
        return Success;
    }
    if (page->entries.isEmpty()) {
        const bool filtered = query.starredOnly || query.since.isValid() || !query.search.isEmpty();
        context.out << (filtered ? "没有符合条件的查询历史。\n" : "还没有查询历史。\n");
        context.out.flush();
        return Success;
    }
    const QDateTime now = QDateTime::currentDateTime();
    for (const HistoryEntry &entry : page->entries) {
        QStringList details{QStringLiteral("%1 次").arg(entry.lookupCount),
                            HistoryTimeText::lastSeenText(entry.lastSeen, now)};
        if (const QString source = entry.source.displayText(); !source.isEmpty())
            details.append(source);
        context.out << (entry.starred ? "★ " : "") << entry.term << "  ("
                    << details.join(QStringLiteral(" · ")) << ")\n"
                    << "    " << entry.answer << '\n';
    }
    context.out.flush();
    return Success;
}

} // namespace

int runHistory(const QStringList &arguments, CliContext &context)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("查看和整理查询历史（最近查的在前）。\n"
                       "  history [list]              列出历史\n"
                       "  history star TERM           收藏一个词\n"
                       "  history unstar TERM         取消收藏\n"
                       "  history export --format pack|tsv|csv FILE\n"
                       "                              导出：pack 是能再导入的补充包，"
                       "tsv 给 Anki，csv 给表格软件\n"
                       "  history clear               清空全部历史（收藏的也会删除）\n"
                       "历史默认存在 ") +
        QDir::toNativeSeparators(HistoryStore::defaultFilePath()) +
        QStringLiteral("；wordlumen-cli config historyEnabled false 可停止记录。"));
    const QCommandLineOption starred(QStringLiteral("starred"),
                                     QStringLiteral("只列出或导出收藏的词。"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("列出时输出一个 JSON 数组。"));
    const QCommandLineOption since(
        QStringLiteral("since"),
        QStringLiteral("只列出 DATE 以后查过的词（2026-12-01，或带时间的 ISO 8601）。"),
        QStringLiteral("DATE"));
    const QCommandLineOption limit(QStringLiteral("limit"), QStringLiteral("最多列出 N 条。"),
                                   QStringLiteral("N"));
    const QCommandLineOption search(QStringLiteral("search"),
                                    QStringLiteral("只列出词或解释里含有 TEXT 的。"),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("导出格式：pack、tsv 或 csv。"),
                                    QStringLiteral("FORMAT"));
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("使用 FILE 里的查询历史，而不是默认位置。"),
                                      QStringLiteral("FILE"));
    parser.addOptions({starred, json, since, limit, search, format, database});
    parser.addPositionalArgument(QStringLiteral("ACTION"),
                                 QStringLiteral("list（默认）、star、unstar、export 或 clear。"),
                                 QStringLiteral("[ACTION]"));
    parser.addPositionalArgument(QStringLiteral("ARGUMENT"),
                                 QStringLiteral("star、unstar 的词，或 export 的目标文件。"),
                                 QStringLiteral("[ARGUMENT]"));
    int exitCode = Success;
    if (!parseVerbArguments(parser, kVerb, arguments, context, &exitCode))
        return exitCode;

    const QStringList positional = parser.positionalArguments();
    const QString action = positional.value(0, QStringLiteral("list"));
    auto onlyFor = [&](const QCommandLineOption &option, const QStringList &actions) {
        return !parser.isSet(option) || actions.contains(action);
    };
    const QStringList listing{QStringLiteral("list")};
    if (!onlyFor(json, listing) || !onlyFor(since, listing) || !onlyFor(limit, listing) ||
        !onlyFor(search, listing))
        return usageError(parser, kVerb,
                          QStringLiteral("--json、--since、--limit 和 --search 只用于列出历史。"),
                          context);
    if (!onlyFor(starred, {QStringLiteral("list"), QStringLiteral("export")}))
        return usageError(parser, kVerb, QStringLiteral("--starred 只用于列出或导出。"), context);
    if (!onlyFor(format, {QStringLiteral("export")}))
        return usageError(parser, kVerb, QStringLiteral("--format 只用于导出。"), context);

    const QString path =
        parser.isSet(database) ? parser.value(database) : HistoryStore::defaultFilePath();

    if (action == u"list") {
        if (positional.size() > 1)
            return usageError(parser, kVerb,
                              QStringLiteral("list 不需要其他参数；要找词请用 --search。"),
                              context);
        HistoryQuery query;
        query.starredOnly = parser.isSet(starred);
        query.search = parser.value(search);
        query.limit = 0;
        if (parser.isSet(since)) {
            const auto time = parseSince(parser.value(since));
            if (!time)
                return usageError(parser, kVerb,
                                  QStringLiteral("“%1”不是日期，请写成 2026-12-01 这样。")
                                      .arg(parser.value(since)),
                                  context);
            query.since = *time;
        }
        if (parser.isSet(limit)) {
            bool ok = false;
            query.limit = parser.value(limit).toInt(&ok);
            if (!ok || query.limit <= 0)
                return usageError(parser, kVerb, QStringLiteral("--limit 需要一个正整数。"),
                                  context);
        }
        OpenedHistory opened(path, context);
        return listEntries(*opened, opened, query, parser.isSet(json), context);
    }

    if (action == u"star" || action == u"unstar") {
        if (positional.size() != 2)
            return usageError(parser, kVerb, QStringLiteral("%1 需要一个词。").arg(action),
                              context);
        const QString &term = positional.at(1);
        OpenedHistory opened(path, context);
        const bool star = action == u"star";
        const auto changed = opened->setStarred(term, star);
        if (!changed)
            return opened.fail(changed.error());
        context.out << (star ? "已收藏 " : "已取消收藏 ") << term << '\n';
        context.out.flush();
        return Success;
    }

    if (action == u"export") {
        if (positional.size() != 2)
            return usageError(parser, kVerb, QStringLiteral("export 需要一个目标文件。"), context);
        if (!parser.isSet(format))
            return usageError(parser, kVerb,
                              QStringLiteral("export 需要 --format pack、tsv 或 csv。"), context);
        const auto chosen = HistoryExport::formatFromString(parser.value(format));
        if (!chosen)
            return usageError(parser, kVerb,
                              QStringLiteral("不认识的格式“%1”，可用的有：pack、tsv、csv。")
                                  .arg(parser.value(format)),
                              context);
        const QString &file = positional.at(1);
        OpenedHistory opened(path, context);
        const auto summary =
            HistoryExport::exportToFile(*opened, *chosen, parser.isSet(starred), file);
        if (!summary)
            return opened.fail(summary.error());
        context.out << summary->message(file) << '\n';
        if (*chosen == HistoryExport::Format::Pack && !file.endsWith(QStringLiteral(".md")) &&
            !file.endsWith(QStringLiteral(".markdown")) && !file.endsWith(QStringLiteral(".txt")))
            context.out << "导入补充包时，文件名要以 .md 或 .txt 结尾。\n";
        context.out.flush();
        return Success;
    }

    if (action == u"clear") {
        if (positional.size() > 1)
            return usageError(parser, kVerb, QStringLiteral("clear 不需要其他参数。"), context);
        OpenedHistory opened(path, context);
        const auto cleared = opened->clear();
        if (!cleared)
            return opened.fail(cleared.error());
        context.out << "已清空查询历史。\n";
        context.out.flush();
        return Success;
    }

    return usageError(parser, kVerb, QStringLiteral("不认识的动作“%1”。").arg(action), context);
}

} // namespace wordlumen::cli
