#include "glossarylibraryfile.h"

#include "isotimestamp.h"

#include <QStringList>

#include <string_view>

// The library is read and written by hand instead of through QJsonDocument: a
// library of 50,000 entries spends about six microseconds per entry in
// QJsonObject lookups and conversions, several times the whole budget for
// loading it. The format stays plain JSON (RFC 8259); anything QJsonDocument
// writes, this reader reads.

namespace wordlumen::GlossaryLibraryFile {

namespace {

using namespace std::string_view_literals;

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

bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2, code = c & 0x1F, minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, code = c & 0x0F, minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, code = c & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
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

// A strict pull reader over UTF-8 JSON that stops at the first problem. Two
// kinds of problems: the text is no JSON (syntax), or it is JSON of another
// shape than the library's.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_begin(bytes.constData())
        , m_pos(m_begin)
        , m_end(m_begin + bytes.size())
    {
        if (std::string_view(m_begin, bytes.size()).starts_with("\xEF\xBB\xBF"sv))
            m_pos += 3;
    }

    [[nodiscard]] bool failed() const { return !m_error.isEmpty(); }
    [[nodiscard]] const QString &error() const { return m_error; }
    [[nodiscard]] bool syntaxFailed() const { return m_syntaxError; }

    bool syntaxError(const QString &reason)
    {
        if (!failed()) {
            m_syntaxError = true;
            m_error = QStringLiteral("不是有效的 JSON（第 %1 个字节附近：%2）")
                          .arg(m_pos - m_begin)
                          .arg(reason);
        }
        return false;
    }
    bool shapeError(const Path &path, const QString &problem)
    {
        // A value that is missing because the text stops is a cut-off file,
        // not one of another shape.
        if (peek() == '\0')
            return syntaxError(QStringLiteral("内容在这里提前结束"));
        if (!failed())
            m_error = path.toString() + QStringLiteral("：") + problem;
        return false;
    }
    bool missing(const Path &path)
    {
        if (!failed())
            m_error = QStringLiteral("%1 缺失").arg(path.toString());
        return false;
    }

    char peek()
    {
        while (m_pos < m_end &&
               (*m_pos == ' ' || *m_pos == '\n' || *m_pos == '\r' || *m_pos == '\t'))
            ++m_pos;
        return m_pos < m_end ? *m_pos : '\0';
    }

    bool atEnd()
    {
        if (peek() != '\0')
            return syntaxError(QStringLiteral("值的后面还有多余的内容"));
        return true;
    }

    /// Calls `member(key)` for every member; `member` reads the value.
    template<typename Member>
    bool object(Member &&member)
    {
        if (!enter('{'))
            return false;
        if (peek() == '}') {
            ++m_pos;
            return leave();
        }
        while (true) {
            if (peek() != '"')
                return syntaxError(QStringLiteral("应当是带引号的键"));
            std::string_view key;
            QByteArray escapedKey;
            if (!readKey(key, escapedKey))
                return false;
            if (peek() != ':')
                return syntaxError(QStringLiteral("键的后面应当是冒号"));
            ++m_pos;
            if (!member(key))
                return false;
            const char next = peek();
            if (next != ',' && next != '}')
                return syntaxError(QStringLiteral("应当是逗号或 }"));
            ++m_pos;
            if (next == '}')
                return leave();
        }
    }

    /// Calls `element(index)` for every element; `element` reads the value.
    template<typename Element>
    bool array(Element &&element)
    {
        if (!enter('['))
            return false;
        if (peek() == ']') {
            ++m_pos;
            return leave();
        }
        for (qsizetype index = 0;; ++index) {
            if (!element(index))
                return false;
            const char next = peek();
            if (next != ',' && next != ']')
                return syntaxError(QStringLiteral("应当是逗号或 ]"));
            ++m_pos;
            if (next == ']')
                return leave();
        }
    }

    bool string(QString &out)
    {
        if (peek() != '"')
            return syntaxError(QStringLiteral("应当是文字"));
        ++m_pos;
        const char *start = m_pos;
        while (m_pos < m_end && *m_pos != '"' && *m_pos != '\\' &&
               static_cast<unsigned char>(*m_pos) >= 0x20)
            ++m_pos;
        out = QString::fromUtf8(start, m_pos - start);
        while (m_pos < m_end) {
            const char c = *m_pos;
            if (c == '"') {
                ++m_pos;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return syntaxError(QStringLiteral("文字里有未转义的控制字符"));
            if (c == '\\') {
                if (!escape(out))
                    return false;
                continue;
            }
            const char *run = m_pos;
            while (m_pos < m_end && *m_pos != '"' && *m_pos != '\\' &&
                   static_cast<unsigned char>(*m_pos) >= 0x20)
                ++m_pos;
            out += QString::fromUtf8(run, m_pos - run);
        }
        return syntaxError(QStringLiteral("文字没有结束"));
    }

    bool boolean(bool &out)
    {
        if (literal("true"sv)) {
            out = true;
            return true;
        }
        if (literal("false"sv)) {
            out = false;
            return true;
        }
        return syntaxError(QStringLiteral("应当是 true 或 false"));
    }

    /// Reads past any value: members this reader does not know, `version`.
    bool skip()
    {
        switch (peek()) {
        case '{':
            return object([this](std::string_view) { return skip(); });
        case '[':
            return array([this](qsizetype) { return skip(); });
        case '"': {
            QString ignored;
            return string(ignored);
        }
        case 't':
        case 'f': {
            bool ignored = false;
            return boolean(ignored);
        }
        case 'n':
            return literal("null"sv) || syntaxError(QStringLiteral("无法识别的值"));
        default:
            return number();
        }
    }

private:
    bool enter(char bracket)
    {
        if (peek() != bracket)
            return syntaxError(QStringLiteral("应当是 %1").arg(QLatin1Char(bracket)));
        // Deep enough for any library; keeps a hostile file from exhausting the stack.
        if (++m_depth > 64)
            return syntaxError(QStringLiteral("嵌套太深"));
        ++m_pos;
        return true;
    }
    bool leave()
    {
        --m_depth;
        return true;
    }

    bool readKey(std::string_view &key, QByteArray &storage)
    {
        const char *start = m_pos + 1;
        const char *p = start;
        while (p < m_end && *p != '"' && *p != '\\' && static_cast<unsigned char>(*p) >= 0x20)
            ++p;
        if (p < m_end && *p == '"') {
            key = std::string_view(start, p - start);
            m_pos = p + 1;
            return true;
        }
        QString decoded;
        if (!string(decoded))
            return false;
        storage = decoded.toUtf8();
        key = std::string_view(storage.constData(), storage.size());
        return true;
    }

    bool escape(QString &out)
    {
        ++m_pos; // the backslash
        if (m_pos >= m_end)
            return syntaxError(QStringLiteral("文字没有结束"));
        const char c = *m_pos++;
        switch (c) {
        case '"':
        case '\\':
        case '/':
            out += QLatin1Char(c);
            return true;
        case 'b':
            out += u'\b';
            return true;
        case 'f':
            out += u'\f';
            return true;
        case 'n':
            out += u'\n';
            return true;
        case 'r':
            out += u'\r';
            return true;
        case 't':
            out += u'\t';
            return true;
        case 'u': {
            if (m_end - m_pos < 4)
                return syntaxError(QStringLiteral("\\u 后面应当是四位十六进制数"));
            char16_t unit = 0;
            for (int i = 0; i < 4; ++i) {
                const char h = *m_pos++;
                int digit = -1;
                if (h >= '0' && h <= '9')
                    digit = h - '0';
                else if (h >= 'a' && h <= 'f')
                    digit = h - 'a' + 10;
                else if (h >= 'A' && h <= 'F')
                    digit = h - 'A' + 10;
                if (digit < 0)
                    return syntaxError(QStringLiteral("\\u 后面应当是四位十六进制数"));
                unit = char16_t(unit * 16 + digit);
            }
            // Surrogate pairs arrive as two escapes and join in the UTF-16 text.
            out += QChar(unit);
            return true;
        }
        default:
            return syntaxError(QStringLiteral("无效的转义"));
        }
    }

    bool literal(std::string_view word)
    {
        if (std::string_view(m_pos, m_end - m_pos).starts_with(word)) {
            m_pos += word.size();
            return true;
        }
        return false;
    }

    bool number()
    {
        auto digits = [this] {
            const char *start = m_pos;
            while (m_pos < m_end && *m_pos >= '0' && *m_pos <= '9')
                ++m_pos;
            return m_pos > start;
        };
        const char *start = m_pos;
        if (m_pos < m_end && *m_pos == '-')
            ++m_pos;
        if (m_pos < m_end && *m_pos == '0')
            ++m_pos;
        else if (!digits())
            return syntaxError(m_pos == start ? QStringLiteral("无法识别的值")
                                              : QStringLiteral("数字不完整"));
        if (m_pos < m_end && *m_pos == '.') {
            ++m_pos;
            if (!digits())
                return syntaxError(QStringLiteral("数字不完整"));
        }
        if (m_pos < m_end && (*m_pos == 'e' || *m_pos == 'E')) {
            ++m_pos;
            if (m_pos < m_end && (*m_pos == '+' || *m_pos == '-'))
                ++m_pos;
            if (!digits())
                return syntaxError(QStringLiteral("数字不完整"));
        }
        return true;
    }

    const char *m_begin;
    const char *m_pos;
    const char *m_end;
    int m_depth = 0;
    QString m_error;
    bool m_syntaxError = false;
};

// Typed fields: a wrong JSON type is a problem of shape, not of syntax.

bool readText(Reader &reader, const Path &path, QString &out)
{
    if (reader.peek() != '"')
        return reader.shapeError(path, QStringLiteral("应当是文字"));
    return reader.string(out);
}

bool readTexts(Reader &reader, const Path &path, QStringList &out)
{
    if (reader.peek() != '[')
        return reader.shapeError(path, QStringLiteral("应当是数组"));
    out.clear();
    return reader.array([&](qsizetype index) {
        QString text;
        if (!readText(reader, Path{&path, nullptr, index}, text))
            return false;
        out.append(std::move(text));
        return true;
    });
}

bool readFlag(Reader &reader, const Path &path, bool &out)
{
    const char next = reader.peek();
    if (next != 't' && next != 'f')
        return reader.shapeError(path, QStringLiteral("应当是 true 或 false"));
    return reader.boolean(out);
}

bool readUuid(Reader &reader, const Path &path, QUuid &out)
{
    QString text;
    if (!readText(reader, path, text))
        return false;
    // Only the canonical 8-4-4-4-12 form; QUuid alone would also take braces.
    out = QUuid::fromString(text);
    const bool nullText = text == u"00000000-0000-0000-0000-000000000000";
    if (text.size() != 36 || (out.isNull() && !nullText))
        return reader.shapeError(path, QStringLiteral("“%1”不是有效的 UUID").arg(text));
    return true;
}

bool readTimestamp(Reader &reader, const Path &path, QDateTime &out)
{
    QString text;
    if (!readText(reader, path, text))
        return false;
    const auto time = IsoTimestamp::parse(text);
    if (!time) {
        return reader.shapeError(
            path, QStringLiteral("时间“%1”不是 yyyy-MM-ddTHH:mm:ssZ 格式").arg(text));
    }
    out = *time;
    return true;
}

// Reads the members of one object with a field table; every field is required,
// unknown members are passed over.
template<std::size_t N>
struct Fields
{
    const char *names[N];
    bool seen[N] = {};

    int indexOf(std::string_view key) const
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (key == names[i])
                return int(i);
        }
        return -1;
    }
    bool complete(Reader &reader, const Path &path) const
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (!seen[i])
                return reader.missing(Path{&path, names[i], -1});
        }
        return true;
    }
};

bool readEntry(Reader &reader, const Path &path, CustomGlossaryEntry &entry)
{
    if (reader.peek() != '{')
        return reader.shapeError(path, QStringLiteral("应当是对象"));
    Fields<6> fields{{"id", "term", "aliases", "explanation", "createdAt", "updatedAt"}};
    const bool read = reader.object([&](std::string_view key) {
        const int field = fields.indexOf(key);
        if (field < 0)
            return reader.skip();
        fields.seen[field] = true;
        const Path at{&path, fields.names[field], -1};
        switch (field) {
        case 0:
            return readUuid(reader, at, entry.id);
        case 1:
            return readText(reader, at, entry.term);
        case 2:
            return readTexts(reader, at, entry.aliases);
        case 3:
            return readText(reader, at, entry.explanation);
        case 4:
            return readTimestamp(reader, at, entry.createdAt);
        default:
            return readTimestamp(reader, at, entry.updatedAt);
        }
    });
    return read && fields.complete(reader, path);
}

bool readEntries(Reader &reader, const Path &path, QList<CustomGlossaryEntry> &out)
{
    if (reader.peek() != '[')
        return reader.shapeError(path, QStringLiteral("应当是数组"));
    out.clear();
    return reader.array([&](qsizetype index) {
        CustomGlossaryEntry entry;
        if (!readEntry(reader, Path{&path, nullptr, index}, entry))
            return false;
        out.append(std::move(entry));
        return true;
    });
}

bool readPack(Reader &reader, const Path &path, GlossaryPack &pack, bool *hasEntriesKey)
{
    if (reader.peek() != '{')
        return reader.shapeError(path, QStringLiteral("应当是对象"));
    Fields<8> fields{{"id", "industry", "vocabularyDepth", "explanationPerspective",
                      "sourceFileName", "importedAt", "isEnabled", "entries"}};
    const bool read = reader.object([&](std::string_view key) {
        const int field = fields.indexOf(key);
        if (field < 0)
            return reader.skip();
        fields.seen[field] = true;
        const Path at{&path, fields.names[field], -1};
        switch (field) {
        case 0:
            return readUuid(reader, at, pack.id);
        case 1:
            return readText(reader, at, pack.industry);
        case 2:
            return readText(reader, at, pack.vocabularyDepth);
        case 3:
            return readText(reader, at, pack.explanationPerspective);
        case 4:
            return readText(reader, at, pack.sourceFileName);
        case 5:
            return readTimestamp(reader, at, pack.importedAt);
        case 6:
            return readFlag(reader, at, pack.isEnabled);
        default:
            if (hasEntriesKey)
                *hasEntriesKey = true;
            return readEntries(reader, at, pack.entries);
        }
    });
    return read && fields.complete(reader, path);
}

bool readPacks(Reader &reader, const Path &path, QList<GlossaryPack> &out,
               bool *firstHasEntriesKey = nullptr)
{
    if (reader.peek() != '[')
        return reader.shapeError(path, QStringLiteral("应当是数组"));
    return reader.array([&](qsizetype index) {
        GlossaryPack pack;
        if (!readPack(reader, Path{&path, nullptr, index}, pack,
                      index == 0 ? firstHasEntriesKey : nullptr))
            return false;
        out.append(std::move(pack));
        return true;
    });
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
    if (!isValidUtf8(bytes))
        return QStringLiteral("不是有效的 UTF-8 文本");

    Reader reader(bytes);
    const Path root;
    const char first = reader.peek();
    if (first == '{') {
        // `version` is written for people and future readers; this reader ignores it.
        Contents contents{Layout::Document, {}, {}};
        bool sawPacks = false;
        const bool read = reader.object([&](std::string_view key) {
            if (key != "packs"sv)
                return reader.skip();
            sawPacks = true;
            contents.packs.clear();
            return readPacks(reader, Path{&root, "packs", -1}, contents.packs);
        });
        if (read && !sawPacks)
            reader.missing(Path{&root, "packs", -1});
        if (read && sawPacks && reader.atEnd())
            return contents;
        return reader.error();
    }
    if (first != '[') {
        if (reader.skip() && reader.atEnd())
            return QStringLiteral("内容既不是补充包库，也不是旧版词库");
        return reader.error();
    }

    Contents packs{Layout::PackArray, {}, {}};
    bool looksLikePacks = false;
    Reader packReader(bytes);
    if (readPacks(packReader, root, packs.packs, &looksLikePacks) && packReader.atEnd())
        return packs;
    if (packReader.syntaxFailed())
        return packReader.error();

    Contents entries{Layout::LegacyEntries, {}, {}};
    Reader entryReader(bytes);
    if (readEntries(entryReader, root, entries.legacyEntries) && entryReader.atEnd())
        return entries;
    // Neither array layout fits. Report the one the file looks like, so the
    // message points at the real damage instead of at a layout it never had.
    return looksLikePacks ? packReader.error() : entryReader.error();
}

} // namespace wordlumen::GlossaryLibraryFile
