#include "glossarylibraryfile.h"

#include "isotimestamp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <string_view>

// The library is read through QJsonDocument, with every field checked by hand
// and a strict pass over the strings first (see strictJson); a
// 50,000-entry library reads in well under its 500 ms load budget. It is
// written by hand: building a QJsonDocument of the same library and
// serialising it takes about three times as long as the writer below, and
// every import writes the whole library. The writer lays the text out
// exactly as QJsonDocument::Indented does, which a test holds it to.

namespace wordlumen::GlossaryLibraryFile {

namespace {

// Writing ---------------------------------------------------------------------

void appendEscaped(QByteArray &out, const QString &text)
{
    out.append('"');
    const QByteArray utf8 = text.toUtf8();
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(utf8.constData() + plainFrom, i - plainFrom);
        plainFrom = i + 1;
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\b':
            out.append("\\b");
            break;
        case '\f':
            out.append("\\f");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default: {
            static const char hex[] = "0123456789abcdef";
            const char escape[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 0xF]};
            out.append(escape, sizeof escape);
        }
        }
    }
    out.append(utf8.constData() + plainFrom, utf8.size() - plainFrom);
    out.append('"');
}

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

// Pretty-printed JSON with four spaces per level and the keys of every object
// written in sorted order, as QJsonDocument::Indented lays it out.
class Writer
{
public:
    QByteArray take() { return std::move(m_out); }

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    void key(const char *name)
    {
        nextItem();
        m_out.append('"').append(name).append("\": ");
        m_afterKey = true;
    }
    void value(const QString &text)
    {
        nextItem();
        appendEscaped(m_out, text);
    }
    void value(bool flag)
    {
        nextItem();
        m_out.append(flag ? "true" : "false");
    }
    void value(int number)
    {
        nextItem();
        m_out.append(QByteArray::number(number));
    }
    void field(const char *name, const QString &text)
    {
        key(name);
        value(text);
    }
    void stringArray(const char *name, const QStringList &texts)
    {
        key(name);
        beginArray();
        for (const QString &text : texts)
            value(text);
        endArray();
    }

private:
    // Starts a value: a comma and a new line unless it follows its key.
    void nextItem()
    {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        if (m_depth == 0)
            return;
        if (!m_firstInContainer)
            m_out.append(',');
        m_firstInContainer = false;
        m_out.append('\n').append(QByteArray(4 * m_depth, ' '));
    }
    void open(char bracket)
    {
        nextItem();
        m_out.append(bracket);
        ++m_depth;
        m_firstInContainer = true;
    }
    void close(char bracket)
    {
        --m_depth;
        // Empty containers too, as QJsonDocument lays them out.
        m_out.append('\n').append(QByteArray(4 * m_depth, ' '));
        m_out.append(bracket);
        m_firstInContainer = false;
        if (m_depth == 0)
            m_out.append('\n');
    }

    QByteArray m_out;
    int m_depth = 0;
    bool m_firstInContainer = true;
    bool m_afterKey = false;
};

void writeEntry(Writer &writer, const CustomGlossaryEntry &entry)
{
    writer.beginObject();
    writer.stringArray("aliases", entry.aliases);
    writer.field("createdAt", IsoTimestamp::format(entry.createdAt));
    writer.field("explanation", entry.explanation);
    writer.field("id", uuidText(entry.id));
    writer.field("term", entry.term);
    writer.field("updatedAt", IsoTimestamp::format(entry.updatedAt));
    writer.endObject();
}

void writePack(Writer &writer, const GlossaryPack &pack)
{
    writer.beginObject();
    writer.key("entries");
    writer.beginArray();
    for (const CustomGlossaryEntry &entry : pack.entries)
        writeEntry(writer, entry);
    writer.endArray();
    writer.field("explanationPerspective", pack.explanationPerspective);
    writer.field("id", uuidText(pack.id));
    writer.field("importedAt", IsoTimestamp::format(pack.importedAt));
    writer.field("industry", pack.industry);
    writer.key("isEnabled");
    writer.value(pack.isEnabled);
    writer.field("sourceFileName", pack.sourceFileName);
    writer.field("vocabularyDepth", pack.vocabularyDepth);
    writer.endObject();
}

// Reading ---------------------------------------------------------------------

QString syntaxError(qsizetype offset, const QString &reason)
{
    return QStringLiteral("不是有效的 JSON（第 %1 个字节附近：%2）").arg(offset).arg(reason);
}

QString reasonOf(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("对象没有结束");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("键的后面应当是冒号");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("数组没有结束");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("应当是逗号");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("数字不完整");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("无效的转义");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("文字没有结束");
    case QJsonParseError::MissingObject:
        return QStringLiteral("应当是对象");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("嵌套太深");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("内容太大");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("值的后面还有多余的内容");
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("内容在数字处提前结束");
    default:
        return QStringLiteral("无法识别的值");
    }
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The raw UTF-8 of U+FEFF, and how the bytes given to QJsonDocument write it.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kEscapedBom = "\\ufeff";
constexpr auto kEscapeGrowth = qsizetype(kEscapedBom.size() - kUtf8Bom.size());

// What QJsonDocument is given: the file's bytes, with every U+FEFF that opens
// a text written as an escape. QJsonDocument takes a raw U+FEFF at the start of
// a text for a byte order mark and drops it (a term of only U+FEFF would come
// back empty); the same character escaped is read as it stands.
struct PreparedJson
{
    QByteArray bytes;
    /// Where in the file each rewritten U+FEFF stood, in ascending order.
    QList<qsizetype> rewrittenAt;

    /// The place in the file of an offset into `bytes`, for messages.
    [[nodiscard]] qsizetype fileOffset(qsizetype offset) const
    {
        qsizetype shift = 0;
        for (const qsizetype at : rewrittenAt) {
            if (offset < at + shift + qsizetype(kEscapedBom.size()))
                break;
            shift += kEscapeGrowth;
        }
        return offset - shift;
    }
};

// QJsonDocument is lenient where the library must be exact: it lets raw
// control characters and unknown escapes through and turns a lone surrogate
// escape into U+FFFD, which the next write would then store for good. This
// pass over every string's text refuses those first, so what is read is what
// the file says, and prepares the bytes for QJsonDocument (see PreparedJson).
Result<PreparedJson, QString> strictJson(const QByteArray &bytes)
{
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    auto unitAt = [&](const char *p) -> int {
        // `p` is just after a backslash-u; -1 when four hex digits do not follow.
        if (end - p < 4 || !std::all_of(p, p + 4, isHexDigit))
            return -1;
        return QByteArray(p, 4).toInt(nullptr, 16);
    };
    PreparedJson prepared;
    bool inString = false;
    for (const char *p = begin; p < end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (!inString) {
            inString = c == '"';
            if (inString && std::string_view(p + 1, std::size_t(end - p - 1)).starts_with(kUtf8Bom))
                prepared.rewrittenAt.append(p + 1 - begin);
            continue;
        }
        if (c == '"') {
            inString = false;
        } else if (c < 0x20) {
            return syntaxError(p - begin, QStringLiteral("文字里有未转义的控制字符"));
        } else if (c == '\\') {
            if (++p == end)
                break; // QJsonDocument reports the unterminated text
            if (std::string_view("\"\\/bfnrt").find(*p) != std::string_view::npos)
                continue;
            if (*p != 'u')
                return syntaxError(p - begin, QStringLiteral("无效的转义"));
            const int unit = unitAt(p + 1);
            if (unit < 0)
                return syntaxError(p - begin, QStringLiteral("\\u 后面应当是四位十六进制数"));
            p += 4;
            if (QChar::isLowSurrogate(char32_t(unit)))
                return syntaxError(p - begin, QStringLiteral("\\u 转义里有不成对的代理项"));
            if (QChar::isHighSurrogate(char32_t(unit))) {
                const bool paired = end - p > 2 && p[1] == '\\' && p[2] == 'u' &&
                                    QChar::isLowSurrogate(char32_t(std::max(unitAt(p + 3), 0)));
                if (!paired)
                    return syntaxError(p - begin, QStringLiteral("\\u 转义里有不成对的代理项"));
                p += 6;
            }
        }
    }

    if (prepared.rewrittenAt.isEmpty()) {
        prepared.bytes = bytes;
        return prepared;
    }
    prepared.bytes.reserve(bytes.size() + prepared.rewrittenAt.size() * kEscapeGrowth);
    qsizetype from = 0;
    for (const qsizetype at : std::as_const(prepared.rewrittenAt)) {
        prepared.bytes.append(begin + from, at - from);
        prepared.bytes.append(kEscapedBom.data(), qsizetype(kEscapedBom.size()));
        from = at + qsizetype(kUtf8Bom.size());
    }
    prepared.bytes.append(begin + from, bytes.size() - from);
    return prepared;
}

// Where a value sits in the file, for messages; turned into text only on failure.
struct Path
{
    const Path *parent = nullptr;
    const char *key = nullptr; // a member of an object, or
    qsizetype index = -1;      // an element of an array

    QString toString() const
    {
        QString text = parent ? parent->toString() : QString();
        if (key)
            return text.isEmpty() ? QString::fromLatin1(key) : text + u'.' + QLatin1String(key);
        if (index >= 0)
            return text + u'[' + QString::number(index) + u']';
        return text;
    }
};

// Typed, required fields of one object: a missing key or a value of another
// type is a problem of shape, reported with its place. The first problem wins
// and ends the reading.
class Fields
{
public:
    Fields(const QJsonObject &object, const Path &path, QString &error)
        : m_object(object)
        , m_path(path)
        , m_error(error)
    {}

    bool text(const char *key, QString &out)
    {
        const QJsonValue value = find(key);
        if (value.isUndefined())
            return false;
        if (!value.isString())
            return fail(key, QStringLiteral("应当是文字"));
        out = value.toString();
        return true;
    }

    bool texts(const char *key, QStringList &out)
    {
        const QJsonValue value = find(key);
        if (value.isUndefined())
            return false;
        if (!value.isArray())
            return fail(key, QStringLiteral("应当是数组"));
        const QJsonArray array = value.toArray();
        out.clear();
        out.reserve(array.size());
        for (qsizetype i = 0; i < array.size(); ++i) {
            const QJsonValue element = array.at(i);
            if (!element.isString()) {
                const Path at{&m_path, key, -1};
                m_error = Path{&at, nullptr, i}.toString() + QStringLiteral("：应当是文字");
                return false;
            }
            out.append(element.toString());
        }
        return true;
    }

    bool flag(const char *key, bool &out)
    {
        const QJsonValue value = find(key);
        if (value.isUndefined())
            return false;
        if (!value.isBool())
            return fail(key, QStringLiteral("应当是 true 或 false"));
        out = value.toBool();
        return true;
    }

    bool uuid(const char *key, QUuid &out)
    {
        QString text;
        if (!this->text(key, text))
            return false;
        // Only the canonical 8-4-4-4-12 form; QUuid alone would also take braces.
        out = QUuid::fromString(text);
        const bool nullText = text == u"00000000-0000-0000-0000-000000000000";
        if (text.size() != 36 || (out.isNull() && !nullText))
            return fail(key, QStringLiteral("“%1”不是有效的 UUID").arg(text));
        return true;
    }

    bool timestamp(const char *key, QDateTime &out)
    {
        QString text;
        if (!this->text(key, text))
            return false;
        const auto time = IsoTimestamp::parse(text);
        if (!time)
            return fail(key, QStringLiteral("时间“%1”不是 yyyy-MM-ddTHH:mm:ssZ 格式").arg(text));
        out = *time;
        return true;
    }

    /// The value under `key`, or undefined after reporting it missing.
    QJsonValue find(const char *key)
    {
        const auto it = m_object.constFind(QLatin1String(key));
        if (it == m_object.constEnd()) {
            m_error = QStringLiteral("%1 缺失").arg(Path{&m_path, key, -1}.toString());
            return QJsonValue(QJsonValue::Undefined);
        }
        return it.value();
    }

private:
    bool fail(const char *key, const QString &problem)
    {
        m_error = Path{&m_path, key, -1}.toString() + QStringLiteral("：") + problem;
        return false;
    }

    const QJsonObject &m_object;
    const Path &m_path;
    QString &m_error;
};

bool notAnObject(const Path &path, QString &error)
{
    error = path.toString() + QStringLiteral("：应当是对象");
    return false;
}

bool readEntry(const QJsonValue &value, const Path &path, CustomGlossaryEntry &entry,
               QString &error)
{
    if (!value.isObject())
        return notAnObject(path, error);
    const QJsonObject object = value.toObject();
    Fields fields(object, path, error);
    return fields.uuid("id", entry.id) && fields.text("term", entry.term) &&
           fields.texts("aliases", entry.aliases) &&
           fields.text("explanation", entry.explanation) &&
           fields.timestamp("createdAt", entry.createdAt) &&
           fields.timestamp("updatedAt", entry.updatedAt);
}

bool readEntries(const QJsonValue &value, const Path &path, QList<CustomGlossaryEntry> &out,
                 QString &error)
{
    if (!value.isArray()) {
        error = path.toString() + QStringLiteral("：应当是数组");
        return false;
    }
    const QJsonArray array = value.toArray();
    out.clear();
    out.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        CustomGlossaryEntry entry;
        if (!readEntry(array.at(i), Path{&path, nullptr, i}, entry, error))
            return false;
        out.append(std::move(entry));
    }
    return true;
}

bool readPack(const QJsonValue &value, const Path &path, GlossaryPack &pack, QString &error)
{
    if (!value.isObject())
        return notAnObject(path, error);
    const QJsonObject object = value.toObject();
    Fields fields(object, path, error);
    if (!(fields.uuid("id", pack.id) && fields.text("industry", pack.industry) &&
          fields.text("vocabularyDepth", pack.vocabularyDepth) &&
          fields.text("explanationPerspective", pack.explanationPerspective) &&
          fields.text("sourceFileName", pack.sourceFileName) &&
          fields.timestamp("importedAt", pack.importedAt) &&
          fields.flag("isEnabled", pack.isEnabled)))
        return false;
    const QJsonValue entries = fields.find("entries");
    return !entries.isUndefined() &&
           readEntries(entries, Path{&path, "entries", -1}, pack.entries, error);
}

bool readPacks(const QJsonArray &array, const Path &path, QList<GlossaryPack> &out, QString &error)
{
    out.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        GlossaryPack pack;
        if (!readPack(array.at(i), Path{&path, nullptr, i}, pack, error))
            return false;
        out.append(std::move(pack));
    }
    return true;
}

} // namespace

QByteArray encode(const QList<GlossaryPack> &packs)
{
    Writer writer;
    writer.beginObject();
    writer.key("packs");
    writer.beginArray();
    for (const GlossaryPack &pack : packs)
        writePack(writer, pack);
    writer.endArray();
    writer.key("version");
    writer.value(kCurrentVersion);
    writer.endObject();
    return writer.take();
}

Result<Contents, QString> decode(const QByteArray &bytes)
{
    const auto prepared = strictJson(bytes);
    if (!prepared)
        return prepared.error();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(prepared->bytes, &parseError);
    if (parseError.error == QJsonParseError::IllegalUTF8String)
        return QStringLiteral("不是有效的 UTF-8 文本");
    if (parseError.error != QJsonParseError::NoError)
        return syntaxError(prepared->fileOffset(parseError.offset), reasonOf(parseError.error));

    const Path root;
    QString error;
    if (document.isObject()) {
        // `version` is written for people and future readers; reading ignores it.
        const QJsonObject object = document.object();
        const QJsonValue packs = Fields(object, root, error).find("packs");
        if (packs.isUndefined())
            return error;
        const Path at{&root, "packs", -1};
        if (!packs.isArray())
            return at.toString() + QStringLiteral("：应当是数组");
        Contents contents{Layout::Document, {}, {}};
        if (!readPacks(packs.toArray(), at, contents.packs, error))
            return error;
        return contents;
    }

    const QJsonArray array = document.array();
    Contents packs{Layout::PackArray, {}, {}};
    QString packError;
    if (readPacks(array, root, packs.packs, packError))
        return packs;
    Contents entries{Layout::LegacyEntries, {}, {}};
    QString entryError;
    if (readEntries(array, root, entries.legacyEntries, entryError))
        return entries;
    // Neither array layout fits. Report the one the file looks like, so the
    // message points at the real damage instead of at a layout it never had.
    const bool looksLikePacks =
        array.first().isObject() && array.first().toObject().contains(QLatin1String("entries"));
    return looksLikePacks ? packError : entryError;
}

} // namespace wordlumen::GlossaryLibraryFile
