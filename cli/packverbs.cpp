// The supplement pack verbs: check-pack, import and packs. They go through the
// same library and parser as the control center, so what they print is what
// the user would see there.
#include "cliverb.h"
#include "packs/bundledpacks.h"
#include "packs/customglossarystore.h"
#include "packs/glossarypackageparser.h"
#include "packs/isotimestamp.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace wordlumen::cli {

namespace {

QCommandLineOption libraryOption()
{
    return {QStringLiteral("library"), QStringLiteral("使用 FILE 里的补充包库，而不是默认位置。"),
            QStringLiteral("FILE")};
}

QCommandLineOption jsonOption(const QString &description)
{
    return {QStringLiteral("json"), description};
}

// The id as the library file writes it, so it can be copied from either.
QString idText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

void printJson(const QJsonValue &value, CliContext &context)
{
    const QJsonDocument document =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    context.out << QString::fromUtf8(document.toJson(QJsonDocument::Compact)) << '\n';
    context.out.flush();
}

int showError(const QString &message, CliContext &context)
{
    context.err << message << '\n';
    context.err.flush();
    return ShownError;
}

/// Opens the library the verb works on and reports a load error, as every verb must.
class OpenedLibrary
{
public:
    OpenedLibrary(const QCommandLineParser &parser, const QCommandLineOption &library,
                  CliContext &context)
        : m_store(parser.isSet(library) ? parser.value(library)
                                        : CustomGlossaryStore::defaultFilePath())
        , m_context(context)
        , m_reportedError(m_store.loadError())
    {
        if (!m_reportedError.isEmpty())
            showError(m_reportedError, m_context);
    }

    /// After a change: a library file that failed to load has now been moved
    /// aside, and the new notice says where to.
    ~OpenedLibrary()
    {
        if (m_store.loadError() != m_reportedError && !m_store.loadError().isEmpty())
            showError(m_store.loadError(), m_context);
    }

    CustomGlossaryStore &operator*() { return m_store; }
    CustomGlossaryStore *operator->() { return &m_store; }

private:
    CustomGlossaryStore m_store;
    CliContext &m_context;
    QString m_reportedError;
};

QJsonObject packJson(const GlossaryPack &pack)
{
    return {
        {QStringLiteral("id"), idText(pack.id)},
        {QStringLiteral("name"), pack.displayName()},
        {QStringLiteral("industry"), pack.industry},
        {QStringLiteral("vocabularyDepth"), pack.vocabularyDepth},
        {QStringLiteral("explanationPerspective"), pack.explanationPerspective},
        {QStringLiteral("detail"), pack.detail()},
        {QStringLiteral("sourceFileName"), pack.sourceFileName},
        {QStringLiteral("importedAt"), IsoTimestamp::format(pack.importedAt)},
        {QStringLiteral("entryCount"), pack.entryCount()},
        {QStringLiteral("isEnabled"), pack.isEnabled},
    };
}

int listPacks(const CustomGlossaryStore &store, bool json, CliContext &context)
{
    if (json) {
        QJsonArray packs;
        for (const GlossaryPack &pack : store.packs())
            packs.append(packJson(pack));
        printJson(packs, context);
        return Success;
    }
    if (store.packs().isEmpty()) {
        context.out << "还没有导入补充包。\n";
        context.out.flush();
        return Success;
    }
    for (const GlossaryPack &pack : store.packs()) {
        context.out << idText(pack.id) << "  " << pack.displayName() << " · " << pack.entryCount()
                    << " 条 · " << (pack.isEnabled ? "已启用" : "已停用") << '\n';
        if (!pack.detail().isEmpty())
            context.out << "    " << pack.detail() << '\n';
    }
    context.out.flush();
    return Success;
}

QCommandLineOption bundledOption(const QString &description)
{
    return {QStringLiteral("bundled"), description};
}

/// The shipped packs, or nothing with a message when the install holds none.
std::optional<QList<BundledPack>> loadBundledPacks(CliContext &context)
{
    QList<BundledPack> packs = BundledPacks::load();
    if (packs.isEmpty()) {
        showError(QStringLiteral("没有找到随程序附带的词库，它们应该在 %1。")
                      .arg(QDir::toNativeSeparators(BundledPacks::installedDirectory())),
                  context);
        return std::nullopt;
    }
    return packs;
}

int listBundledPacks(const QList<BundledPack> &bundled, const CustomGlossaryStore &store, bool json,
                     CliContext &context)
{
    if (json) {
        QJsonArray packs;
        for (const BundledPack &pack : bundled) {
            const auto added = pack.addedVersion(store.packs());
            packs.append(QJsonObject{
                {QStringLiteral("slug"), pack.slug},
                {QStringLiteral("name"), pack.name},
                {QStringLiteral("industry"), pack.industry},
                {QStringLiteral("vocabularyDepth"), pack.vocabularyDepth},
                {QStringLiteral("explanationPerspective"), pack.explanationPerspective},
                {QStringLiteral("entryCount"), pack.entryCount},
                {QStringLiteral("added"), added.has_value()},
                {QStringLiteral("id"), added ? QJsonValue(idText(added->id)) : QJsonValue()},
            });
        }
        printJson(packs, context);
        return Success;
    }
    for (const BundledPack &pack : bundled) {
        const auto added = pack.addedVersion(store.packs());
        context.out << pack.slug << "  " << pack.name << " · " << pack.entryCount << " 条 · "
                    << (added ? (added->isEnabled ? "已添加" : "已添加，已停用") : "未添加") << '\n'
                    << "    " << pack.coverage() << '\n';
    }
    context.out << "添加：wordlumen-cli import --bundled 名称（如 " << bundled.first().slug
                << "）\n";
    context.out.flush();
    return Success;
}

/// The names a user may give `import --bundled`, for a message that lists them.
QString knownBundledNames(const QList<BundledPack> &packs)
{
    QStringList names;
    for (const BundledPack &pack : packs)
        names << QStringLiteral("%1（%2）").arg(pack.slug, pack.industry);
    return names.join(QStringLiteral("、"));
}

struct PackFile
{
    QString path;
    QString text;
};

/**
 * Reads the one pack file a parsed command line names. Nothing when the verb
 * is done already (a usage error, an unreadable file); `exitCode` then holds
 * its status.
 */
std::optional<PackFile> readPackFileArgument(const QCommandLineParser &parser, const QString &verb,
                                             CliContext &context, int *exitCode)
{
    *exitCode = Success;
    if (parser.positionalArguments().size() != 1) {
        *exitCode =
            usageError(parser, verb, QStringLiteral("需要且只需要一个补充包文件。"), context);
        return std::nullopt;
    }
    const QString path = parser.positionalArguments().first();
    auto text = CustomGlossaryStore::readPackFile(path);
    if (!text) {
        *exitCode = showError(text.error().message(), context);
        return std::nullopt;
    }
    return PackFile{path, std::move(text).value()};
}

int importBundledPack(const QCommandLineParser &parser, const QCommandLineOption &library,
                      const QString &verb, CliContext &context)
{
    if (parser.positionalArguments().size() != 1)
        return usageError(parser, verb, QStringLiteral("--bundled 需要且只需要一个词库名称。"),
                          context);
    const auto packs = loadBundledPacks(context);
    if (!packs)
        return ShownError;
    const QString name = parser.positionalArguments().first();
    const auto pack = BundledPacks::find(*packs, name);
    if (!pack)
        return showError(QStringLiteral("没有叫“%1”的附带词库。可以添加：%2。")
                             .arg(name, knownBundledNames(*packs)),
                         context);
    OpenedLibrary store(parser, library, context);
    const auto summary = store->importFile(pack->filePath);
    if (!summary)
        return showError(summary.error().message(), context);
    context.out << summary->message() << '\n';
    context.out.flush();
    return Success;
}

} // namespace

int runCheckPack(const QStringList &arguments, CliContext &context)
{
    const QString verb = QStringLiteral("check-pack");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("读一个补充包文件，显示能识别出的内容，但不导入。"));
    const QCommandLineOption json = jsonOption(QStringLiteral("输出一个 JSON 对象。"));
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("补充包文件（.md、.markdown 或 .txt）。"));
    int exitCode = Success;
    if (!parseVerbArguments(parser, verb, arguments, context, &exitCode))
        return exitCode;
    const auto file = readPackFileArgument(parser, verb, context, &exitCode);
    if (!file)
        return exitCode;
    const auto parsed = GlossaryPackageParser::parse(file->text, QFileInfo(file->path).fileName());
    if (!parsed)
        return showError(parsed.error().message(), context);
    const GlossaryPackDraft &draft = parsed.value();

    if (parser.isSet(json)) {
        QJsonArray entries;
        for (const CustomGlossaryEntry &entry : draft.entries) {
            entries.append(QJsonObject{
                {QStringLiteral("term"), entry.term},
                {QStringLiteral("aliases"), QJsonArray::fromStringList(entry.aliases)},
                {QStringLiteral("explanation"), entry.explanation},
            });
        }
        printJson(
            QJsonObject{
                {QStringLiteral("industry"), draft.industry},
                {QStringLiteral("vocabularyDepth"), draft.vocabularyDepth},
                {QStringLiteral("explanationPerspective"), draft.explanationPerspective},
                {QStringLiteral("sourceFileName"), draft.sourceFileName},
                {QStringLiteral("ignoredEntryCount"), draft.ignoredEntryCount},
                {QStringLiteral("entries"), entries},
            },
            context);
        return Success;
    }

    QTextStream &out = context.out;
    out << "行业：" << draft.industry << '\n'
        << "词表深度：" << draft.vocabularyDepth << '\n'
        << "解释视角：" << draft.explanationPerspective << '\n'
        << "来源文件：" << draft.sourceFileName << '\n'
        << "有效词条：" << draft.entries.size() << " 条\n"
        << "跳过：" << draft.ignoredEntryCount << " 条不合格内容\n";
    for (qsizetype i = 0; i < draft.entries.size(); ++i) {
        const CustomGlossaryEntry &entry = draft.entries[i];
        out << '\n' << i + 1 << ". " << entry.term << '\n';
        if (!entry.aliases.isEmpty())
            out << "   别名：" << entry.aliases.join(QStringLiteral("、")) << '\n';
        out << "   " << entry.explanation << '\n';
    }
    out.flush();
    return Success;
}

int runImport(const QStringList &arguments, CliContext &context)
{
    const QString verb = QStringLiteral("import");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("导入一个补充包文件，和控制中心的导入一样：同名补充包会更新成新版本。"));
    const QCommandLineOption library = libraryOption();
    const QCommandLineOption bundled = bundledOption(QStringLiteral(
        "改为添加随程序附带的词库，FILE 换成它的简称或行业（见 packs --bundled）。"));
    parser.addOptions({library, bundled});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("补充包文件（.md、.markdown 或 .txt）。"));
    int exitCode = Success;
    if (!parseVerbArguments(parser, verb, arguments, context, &exitCode))
        return exitCode;
    if (parser.isSet(bundled))
        return importBundledPack(parser, library, verb, context);

    // The pack file first: a file that is refused costs no read of the library.
    const auto file = readPackFileArgument(parser, verb, context, &exitCode);
    if (!file)
        return exitCode;
    OpenedLibrary store(parser, library, context);
    const auto summary = store->importText(file->text, QFileInfo(file->path).fileName());
    if (!summary)
        return showError(summary.error().message(), context);
    context.out << summary->message() << '\n';
    context.out.flush();
    return Success;
}

int runPacks(const QStringList &arguments, CliContext &context)
{
    const QString verb = QStringLiteral("packs");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("列出补充包（最新导入的在前），或启用、停用、删除其中一个。"));
    const QCommandLineOption library = libraryOption();
    const QCommandLineOption json = jsonOption(QStringLiteral("列出时输出一个 JSON 数组。"));
    const QCommandLineOption bundled =
        bundledOption(QStringLiteral("列出随程序附带的词库，以及它们是否已经添加。"));
    parser.addOptions({library, json, bundled});
    parser.addPositionalArgument(QStringLiteral("ACTION"),
                                 QStringLiteral("list（默认）、enable、disable 或 delete。"),
                                 QStringLiteral("[ACTION]"));
    parser.addPositionalArgument(QStringLiteral("ID"),
                                 QStringLiteral("要改动的补充包的 ID，见 packs 列出的第一列。"),
                                 QStringLiteral("[ID]"));
    int exitCode = Success;
    if (!parseVerbArguments(parser, verb, arguments, context, &exitCode))
        return exitCode;

    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(bundled)) {
        if (!positional.isEmpty())
            return usageError(parser, verb, QStringLiteral("--bundled 只用于列出附带词库。"),
                              context);
        const auto packs = loadBundledPacks(context);
        if (!packs)
            return ShownError;
        OpenedLibrary store(parser, library, context);
        return listBundledPacks(*packs, *store, parser.isSet(json), context);
    }
    const QString action = positional.value(0, QStringLiteral("list"));
    if (action == u"list") {
        if (positional.size() > 1)
            return usageError(parser, verb, QStringLiteral("list 不需要其他参数。"), context);
        OpenedLibrary store(parser, library, context);
        return listPacks(*store, parser.isSet(json), context);
    }
    if (action != u"enable" && action != u"disable" && action != u"delete")
        return usageError(parser, verb, QStringLiteral("不认识的动作“%1”。").arg(action), context);
    if (positional.size() != 2)
        return usageError(parser, verb, QStringLiteral("%1 需要一个补充包 ID。").arg(action),
                          context);
    if (parser.isSet(json))
        return usageError(parser, verb, QStringLiteral("--json 只用于列出补充包。"), context);
    const QUuid id = QUuid::fromString(positional[1]);
    if (id.isNull())
        return usageError(parser, verb, QStringLiteral("“%1”不是补充包的 ID。").arg(positional[1]),
                          context);

    OpenedLibrary store(parser, library, context);
    if (action == u"delete") {
        const auto removed = store->remove(id);
        return removed ? Success : showError(removed.error().message(), context);
    }
    const bool enable = action == u"enable";
    const auto changed = store->setEnabled(enable, id);
    if (!changed)
        return showError(changed.error().message(), context);
    for (const GlossaryPack &pack : store->packs()) {
        if (pack.id == id)
            context.out << (enable ? "已启用 " : "已停用 ") << pack.displayName() << '\n';
    }
    context.out.flush();
    return Success;
}

} // namespace wordlumen::cli
