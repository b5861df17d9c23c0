#include "glossarypackageparser.h"

#include "core/termkey.h"
#include "core/textmetrics.h"
#include "isotimestamp.h"

#include <QRandomGenerator>
#include <QSet>
#include <QStringDecoder>

namespace wordlumen::GlossaryPackageParser {

namespace {

const QString kCustomIndustry = QStringLiteral("自定义行业");

const QStringList &termLabels()
{
    static const QStringList labels{QStringLiteral("术语"), QStringLiteral("term")};
    return labels;
}

const QStringList &englishLabels()
{
    static const QStringList labels{QStringLiteral("英文"), QStringLiteral("英文名称"),
                                    QStringLiteral("缩写"), QStringLiteral("english")};
    return labels;
}

const QStringList &aliasLabels()
{
    static const QStringList labels{QStringLiteral("别名"), QStringLiteral("aliases"),
                                    QStringLiteral("alias")};
    return labels;
}

const QStringList &explanationLabels()
{
    static const QStringList labels{QStringLiteral("解释"), QStringLiteral("说明"),
                                    QStringLiteral("explanation")};
    return labels;
}

// Values a chat assistant writes when an entry has no alias or English name.
bool isPlaceholder(const QString &value)
{
    static const QStringList placeholders{QStringLiteral("无"), QStringLiteral("none"),
                                          QStringLiteral("n/a"), QStringLiteral("-")};
    return placeholders.contains(value.toLower());
}

QString withoutEmphasis(QString text)
{
    text.remove(QStringLiteral("**"));
    text.remove(u'`');
    return TextMetrics::trimmed(text);
}

bool isSeparator(QChar c)
{
    return c == u'.' || c == u'、' || c == u'|' || c == u'｜' || c == u'-';
}

qsizetype firstSeparator(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isSeparator(text[i]))
            return i;
    }
    return -1;
}

// Any character with a numeric value counts, so 「١٢.」 or 「①、」 number an entry as 「12.」 does.
bool isNumberPrefix(QStringView text)
{
    const QString prefix = TextMetrics::trimmedBlanks(text);
    if (prefix.isEmpty())
        return false;
    for (const char32_t c : prefix.toUcs4()) {
        if (!QChar::isNumber(c))
            return false;
    }
    return true;
}

// A random (version 4) UUID. QUuid::createUuid draws on the system source for
// every id, which costs more than the rest of parsing a large pack; the global
// generator is seeded from it once.
QUuid freshId()
{
    quint32 words[4];
    QRandomGenerator::global()->fillRange(words);
    QByteArray bytes(reinterpret_cast<const char *>(words), sizeof words);
    bytes[6] = char((bytes[6] & 0x0F) | 0x40);
    bytes[8] = char((bytes[8] & 0x3F) | 0x80);
    return QUuid::fromRfc4122(bytes);
}

QString lowerTrimmed(const QString &text)
{
    return TextMetrics::trimmed(text.toLower());
}

enum class Field
{
    None,
    English,
    Aliases,
    Explanation,
};

struct EntryBuilder
{
    QString term;
    QString english;
    QString aliases;
    QStringList explanationLines;
};

// The state of one parse: the entry under construction and what has been accepted.
class EntryCollector
{
public:
    explicit EntryCollector(QDateTime now)
        : m_now(std::move(now))
    {}

    void start(const QString &term)
    {
        finishCurrentEntry();
        m_builder = EntryBuilder{term, {}, {}, {}};
    }

    void readLine(const QString &line)
    {
        if (!m_builder || line == u"---" || line.isEmpty())
            return;
        const auto labeled = labeledValue(line);
        if (!labeled) {
            if (m_field == Field::Explanation)
                m_builder->explanationLines.append(line);
            return;
        }
        const QString key = lowerTrimmed(labeled->label);
        if (termLabels().contains(key)) {
            start(labeled->value);
        } else if (englishLabels().contains(key)) {
            m_builder->english = labeled->value;
            m_field = Field::English;
        } else if (aliasLabels().contains(key)) {
            m_builder->aliases = labeled->value;
            m_field = Field::Aliases;
        } else if (explanationLabels().contains(key)) {
            // A second explanation label starts the explanation over.
            m_builder->explanationLines = {labeled->value};
            m_field = Field::Explanation;
        } else if (m_field == Field::Explanation) {
            // 「注意：…」 or a URL inside an explanation is still explanation.
            m_builder->explanationLines.append(line);
        }
    }

    void finishCurrentEntry()
    {
        if (!m_builder)
            return;
        const EntryBuilder builder = std::move(*m_builder);
        m_builder.reset();
        m_field = Field::None;

        const QString term = withoutEmphasis(builder.term);
        const QString explanation = TextMetrics::trimmed(builder.explanationLines.join(u' '));
        const QString key = termKey(term);
        // In this order, so that a rejected entry does not reserve its key.
        if (term.isEmpty() || explanation.isEmpty() ||
            TextMetrics::graphemeCount(explanation) > kMaximumExplanationLength ||
            m_acceptedKeys.contains(key)) {
            ++m_ignoredCount;
            return;
        }
        m_acceptedKeys.insert(key);

        QStringList aliases = splitAliases(builder.aliases);
        const QString english = TextMetrics::trimmed(builder.english);
        if (!english.isEmpty() && !isPlaceholder(english))
            aliases.prepend(english);

        const QDateTime now = m_now;
        m_entries.append({freshId(), term, cleanedAliases(aliases, term), explanation, now, now});
    }

    [[nodiscard]] const QList<CustomGlossaryEntry> &entries() const { return m_entries; }
    [[nodiscard]] qsizetype ignoredCount() const { return m_ignoredCount; }

private:
    static QStringList splitAliases(const QString &text)
    {
        QStringList pieces;
        qsizetype from = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            const bool end = i == text.size();
            if (end || isAliasSeparator(text[i])) {
                pieces.append(text.mid(from, i - from));
                from = i + 1;
            }
        }
        return pieces;
    }

    static bool isAliasSeparator(QChar c)
    {
        switch (c.unicode()) {
        case u',':
        case u'，':
        case u'、':
        case u';':
        case u'；':
        case u'\n':
        case u'\r':
        case u'\v':
        case u'\f':
        case u'\u0085':
        case u'\u2028':
        case u'\u2029':
            return true;
        default:
            return false;
        }
    }

    QDateTime m_now;
    std::optional<EntryBuilder> m_builder;
    Field m_field = Field::None;
    QList<CustomGlossaryEntry> m_entries;
    QSet<QString> m_acceptedKeys;
    qsizetype m_ignoredCount = 0;
};

} // namespace

const QStringList &industryKeys()
{
    static const QStringList keys{QStringLiteral("行业"), QStringLiteral("领域")};
    return keys;
}

const QStringList &depthKeys()
{
    static const QStringList keys{QStringLiteral("词表深度"), QStringLiteral("词汇深度"),
                                  QStringLiteral("程度")};
    return keys;
}

const QStringList &perspectiveKeys()
{
    static const QStringList keys{QStringLiteral("解释视角"), QStringLiteral("解释程度"),
                                  QStringLiteral("解释对象")};
    return keys;
}

Result<QString, PackError> decodeFileText(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || bytes.contains('\0'))
        return PackError::notUtf8();
    return text;
}

Result<GlossaryPackDraft, PackError> parse(const QString &text, const QString &sourceFileName,
                                           const QDateTime &now)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (TextMetrics::trimmed(normalized).isEmpty())
        return PackError::emptyFile();

    const QStringList lines = normalized.split(u'\n');
    const QString fallbackIndustry = inferredIndustry(firstDocumentTitle(lines), sourceFileName);

    // One pass for all three labels: the first line that qualifies for each wins.
    std::optional<QString> industry;
    std::optional<QString> depth;
    std::optional<QString> perspective;
    for (const QString &line : lines) {
        if (industry && depth && perspective)
            break;
        const auto labeled = labeledValue(line);
        if (!labeled || labeled->value.isEmpty())
            continue;
        const QString key = lowerTrimmed(labeled->label);
        if (!industry && industryKeys().contains(key))
            industry = labeled->value;
        else if (!depth && depthKeys().contains(key))
            depth = labeled->value;
        else if (!perspective && perspectiveKeys().contains(key))
            perspective = labeled->value;
    }

    GlossaryPackDraft draft;
    draft.industry = industry.value_or(fallbackIndustry);
    draft.vocabularyDepth = depth.value_or(kUnlabelled.toString());
    draft.explanationPerspective = perspective.value_or(kUnlabelled.toString());
    draft.sourceFileName = sourceFileName;

    EntryCollector collector(now);
    for (const QString &rawLine : lines) {
        const QString line = TextMetrics::trimmed(rawLine);
        if (const auto header = entryHeader(line))
            collector.start(*header);
        else
            collector.readLine(line);
    }
    collector.finishCurrentEntry();

    if (collector.entries().isEmpty())
        return PackError::noValidEntries();
    draft.entries = collector.entries();
    draft.ignoredEntryCount = collector.ignoredCount();
    return draft;
}

Result<GlossaryPackDraft, PackError> parse(const QString &text, const QString &sourceFileName)
{
    return parse(text, sourceFileName, IsoTimestamp::now());
}

std::optional<QString> firstDocumentTitle(const QStringList &lines)
{
    for (const QString &line : lines) {
        const QString trimmed = TextMetrics::trimmed(line);
        if (trimmed.startsWith(QStringLiteral("# ")))
            return TextMetrics::trimmed(QStringView(trimmed).mid(2));
    }
    return std::nullopt;
}

QString inferredIndustry(const std::optional<QString> &title, const QString &sourceFileName)
{
    QString candidate;
    if (title) {
        candidate = *title;
    } else {
        // The last path component without its extension; a leading dot is no extension.
        candidate = sourceFileName.mid(sourceFileName.lastIndexOf(u'/') + 1);
        if (const qsizetype dot = candidate.lastIndexOf(u'.'); dot > 0)
            candidate.truncate(dot);
    }

    static const QStringList genericTitles{QStringLiteral("行业黑话补充包"),
                                           QStringLiteral("AI黑话补充包"),
                                           QStringLiteral("AI 黑话补充包")};
    if (genericTitles.contains(candidate))
        return kCustomIndustry;

    candidate.remove(QStringLiteral("行业黑话补充包"));
    candidate.remove(QStringLiteral("黑话补充包"));
    candidate.remove(QStringLiteral("补充包"));
    candidate = TextMetrics::trimmed(candidate);
    return candidate.isEmpty() ? kCustomIndustry : candidate;
}

std::optional<LabeledValue> labeledValue(QStringView line)
{
    if (line.isEmpty())
        return std::nullopt;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'：' || line[i] == u':') {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        return std::nullopt;

    // Only list markers, emphasis and blanks come off the label: 「- **别名**」 is 「别名」.
    auto isDecoration = [](QChar c) {
        return c == u' ' || c == u'-' || c == u'*' || c == u'`' || c == u'\t';
    };
    QStringView label = line.left(colon);
    while (!label.isEmpty() && isDecoration(label.front()))
        label = label.mid(1);
    while (!label.isEmpty() && isDecoration(label.back()))
        label.chop(1);
    return LabeledValue{label.toString(), TextMetrics::trimmed(line.mid(colon + 1))};
}

std::optional<QString> entryHeader(QStringView line)
{
    if (line.startsWith(u"##")) {
        qsizetype start = 0;
        while (start < line.size() && (line[start] == u'#' || line[start].isSpace()))
            ++start;
        return cleanNumberPrefix(line.mid(start));
    }

    const qsizetype separator = firstSeparator(line);
    if (separator < 0 || !isNumberPrefix(line.left(separator)))
        return std::nullopt;
    return withoutEmphasis(line.mid(separator + 1).toString());
}

QString cleanNumberPrefix(QStringView text)
{
    QString cleaned = TextMetrics::trimmed(text);
    const qsizetype separator = firstSeparator(cleaned);
    if (separator >= 0 && isNumberPrefix(QStringView(cleaned).left(separator)))
        cleaned = cleaned.mid(separator + 1);
    return withoutEmphasis(cleaned);
}

QStringList cleanedAliases(const QStringList &aliases, const QString &excludingTerm)
{
    const QString excludedKey = termKey(excludingTerm);
    QSet<QString> seenKeys;
    QStringList result;
    for (const QString &alias : aliases) {
        const QString cleaned = withoutEmphasis(alias);
        if (cleaned.isEmpty() || isPlaceholder(cleaned))
            continue;
        QString key = termKey(cleaned);
        if (key == excludedKey || seenKeys.contains(key))
            continue;
        seenKeys.insert(std::move(key));
        result.append(cleaned);
    }
    return result;
}

} // namespace wordlumen::GlossaryPackageParser
