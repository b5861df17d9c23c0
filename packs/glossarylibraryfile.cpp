#include "glossarylibraryfile.h"

#include "isotimestamp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace wordlumen::GlossaryLibraryFile {

namespace {

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QJsonObject entryObject(const CustomGlossaryEntry &entry)
{
    return {
        {QStringLiteral("aliases"), QJsonArray::fromStringList(entry.aliases)},
        {QStringLiteral("createdAt"), IsoTimestamp::format(entry.createdAt)},
        {QStringLiteral("explanation"), entry.explanation},
        {QStringLiteral("id"), uuidText(entry.id)},
        {QStringLiteral("term"), entry.term},
        {QStringLiteral("updatedAt"), IsoTimestamp::format(entry.updatedAt)},
    };
}

QJsonObject packObject(const GlossaryPack &pack)
{
    QJsonArray entries;
    for (const CustomGlossaryEntry &entry : pack.entries)
        entries.append(entryObject(entry));
    return {
        {QStringLiteral("entries"), entries},
        {QStringLiteral("explanationPerspective"), pack.explanationPerspective},
        {QStringLiteral("id"), uuidText(pack.id)},
        {QStringLiteral("importedAt"), IsoTimestamp::format(pack.importedAt)},
        {QStringLiteral("industry"), pack.industry},
        {QStringLiteral("isEnabled"), pack.isEnabled},
        {QStringLiteral("sourceFileName"), pack.sourceFileName},
        {QStringLiteral("vocabularyDepth"), pack.vocabularyDepth},
    };
}

// Reads typed fields out of one JSON object and remembers the first failure,
// so that the decoders below read as a list of fields.
class FieldReader
{
public:
    FieldReader(const QJsonObject &object, QString path, QString *error)
        : m_object(object)
        , m_path(std::move(path))
        , m_error(error)
    {}

    QString string(const QString &key)
    {
        const QJsonValue value = field(key);
        if (!value.isUndefined() && !value.isString())
            fail(key, QStringLiteral("应当是文字"));
        return value.toString();
    }

    bool boolean(const QString &key)
    {
        const QJsonValue value = field(key);
        if (!value.isUndefined() && !value.isBool())
            fail(key, QStringLiteral("应当是 true 或 false"));
        return value.toBool();
    }

    QJsonArray array(const QString &key)
    {
        const QJsonValue value = field(key);
        if (!value.isUndefined() && !value.isArray())
            fail(key, QStringLiteral("应当是数组"));
        return value.toArray();
    }

    QStringList strings(const QString &key)
    {
        QStringList result;
        const QJsonArray values = array(key);
        for (const QJsonValue &value : values) {
            if (!value.isString()) {
                fail(key, QStringLiteral("应当只含文字"));
                break;
            }
            result.append(value.toString());
        }
        return result;
    }

    QUuid uuid(const QString &key)
    {
        const QString text = string(key);
        if (!ok())
            return {};
        // Only the canonical 8-4-4-4-12 form; QUuid alone would also take braces.
        const QUuid id = QUuid::fromString(text);
        if (text.size() != 36 || (id.isNull() && text != QUuid().toString(QUuid::WithoutBraces)))
            fail(key, QStringLiteral("“%1”不是有效的 UUID").arg(text));
        return id;
    }

    QDateTime timestamp(const QString &key)
    {
        const QString text = string(key);
        if (!ok())
            return {};
        const auto time = IsoTimestamp::parse(text);
        if (!time) {
            fail(key, QStringLiteral("时间“%1”不是 yyyy-MM-ddTHH:mm:ssZ 格式").arg(text));
            return {};
        }
        return *time;
    }

    [[nodiscard]] bool ok() const { return m_error->isEmpty(); }
    [[nodiscard]] QString pathOf(const QString &key) const
    {
        return m_path.isEmpty() ? key : m_path + u'.' + key;
    }

private:
    QJsonValue field(const QString &key)
    {
        if (!ok())
            return QJsonValue::Undefined;
        const auto it = m_object.constFind(key);
        if (it == m_object.constEnd()) {
            *m_error = QStringLiteral("%1 缺失").arg(pathOf(key));
            return QJsonValue::Undefined;
        }
        return it.value();
    }

    void fail(const QString &key, const QString &problem)
    {
        if (ok())
            *m_error = pathOf(key) + QStringLiteral("：") + problem;
    }

    const QJsonObject &m_object;
    QString m_path;
    QString *m_error;
};

QString notAnObject(const QString &path)
{
    return QStringLiteral("%1 应当是对象").arg(path);
}

Result<CustomGlossaryEntry, QString> decodeEntry(const QJsonValue &value, const QString &path)
{
    if (!value.isObject())
        return notAnObject(path);
    const QJsonObject object = value.toObject();
    QString error;
    FieldReader read(object, path, &error);
    CustomGlossaryEntry entry;
    entry.id = read.uuid(QStringLiteral("id"));
    entry.term = read.string(QStringLiteral("term"));
    entry.aliases = read.strings(QStringLiteral("aliases"));
    entry.explanation = read.string(QStringLiteral("explanation"));
    entry.createdAt = read.timestamp(QStringLiteral("createdAt"));
    entry.updatedAt = read.timestamp(QStringLiteral("updatedAt"));
    if (!read.ok())
        return error;
    return entry;
}

Result<QList<CustomGlossaryEntry>, QString> decodeEntries(const QJsonArray &array,
                                                          const QString &path)
{
    QList<CustomGlossaryEntry> entries;
    entries.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        auto entry = decodeEntry(array.at(i), QStringLiteral("%1[%2]").arg(path).arg(i));
        if (!entry)
            return entry.error();
        entries.append(std::move(entry).value());
    }
    return entries;
}

Result<GlossaryPack, QString> decodePack(const QJsonValue &value, const QString &path)
{
    if (!value.isObject())
        return notAnObject(path);
    const QJsonObject object = value.toObject();
    QString error;
    FieldReader read(object, path, &error);
    GlossaryPack pack;
    pack.id = read.uuid(QStringLiteral("id"));
    pack.industry = read.string(QStringLiteral("industry"));
    pack.vocabularyDepth = read.string(QStringLiteral("vocabularyDepth"));
    pack.explanationPerspective = read.string(QStringLiteral("explanationPerspective"));
    pack.sourceFileName = read.string(QStringLiteral("sourceFileName"));
    pack.importedAt = read.timestamp(QStringLiteral("importedAt"));
    pack.isEnabled = read.boolean(QStringLiteral("isEnabled"));
    const QJsonArray entries = read.array(QStringLiteral("entries"));
    if (!read.ok())
        return error;
    auto decoded = decodeEntries(entries, read.pathOf(QStringLiteral("entries")));
    if (!decoded)
        return decoded.error();
    pack.entries = std::move(decoded).value();
    return pack;
}

Result<QList<GlossaryPack>, QString> decodePacks(const QJsonArray &array, const QString &path)
{
    QList<GlossaryPack> packs;
    packs.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        auto pack = decodePack(array.at(i), QStringLiteral("%1[%2]").arg(path).arg(i));
        if (!pack)
            return pack.error();
        packs.append(std::move(pack).value());
    }
    return packs;
}

} // namespace

QByteArray encode(const QList<GlossaryPack> &packs)
{
    QJsonArray array;
    for (const GlossaryPack &pack : packs)
        array.append(packObject(pack));
    const QJsonObject document{
        {QStringLiteral("packs"), array},
        {QStringLiteral("version"), kCurrentVersion},
    };
    // QJsonObject keeps its keys sorted, which gives the sorted output for free.
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

Result<Contents, QString> decode(const QByteArray &bytes)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return QStringLiteral("不是有效的 JSON（第 %1 个字节附近：%2）")
            .arg(parseError.offset)
            .arg(parseError.errorString());

    if (document.isObject()) {
        // `version` is written for people and future readers; this reader ignores it.
        const QJsonObject object = document.object();
        const auto packs = object.constFind(QStringLiteral("packs"));
        if (packs == object.constEnd())
            return QStringLiteral("packs 缺失");
        if (!packs->isArray())
            return QStringLiteral("packs：应当是数组");
        auto decoded = decodePacks(packs->toArray(), QStringLiteral("packs"));
        if (!decoded)
            return decoded.error();
        return Contents{Layout::Document, std::move(decoded).value(), {}};
    }

    if (!document.isArray())
        return QStringLiteral("内容既不是补充包库，也不是旧版词库");
    const QJsonArray array = document.array();
    auto packs = decodePacks(array, QString());
    if (packs)
        return Contents{Layout::PackArray, std::move(packs).value(), {}};
    auto entries = decodeEntries(array, QString());
    if (entries)
        return Contents{Layout::LegacyEntries, {}, std::move(entries).value()};

    // Neither array layout fits. Report the one the file looks like, so the
    // message points at the real damage instead of at a layout it never had.
    const bool looksLikePacks = array.first().toObject().contains(QStringLiteral("entries"));
    return looksLikePacks ? packs.error() : entries.error();
}

} // namespace wordlumen::GlossaryLibraryFile
