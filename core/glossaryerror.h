#pragma once

#include <QString>

namespace wordlumen {

/// Why the built-in dictionary could not be loaded.
class GlossaryError
{
public:
    enum class Kind
    {
        MissingResource,    ///< one of the two resource files is absent
        IncompleteGlossary, ///< the dictionary did not hold exactly 200 entries
        InvalidEncoding,    ///< the dictionary text is not UTF-8
        InvalidAliasData,   ///< the alias table is not an object of string arrays
        ReadFailed,         ///< the file system refused a read; carries its message
        InvalidJson,        ///< the alias table is not JSON; carries the parser's message
    };

    static GlossaryError missingResource(const QString &fileName);
    static GlossaryError incompleteGlossary(qsizetype count);
    static GlossaryError invalidEncoding();
    static GlossaryError invalidAliasData();
    static GlossaryError readFailed(const QString &platformMessage);
    static GlossaryError invalidJson(const QString &parserMessage);

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] qsizetype count() const { return m_count; }
    /// The user's sentence for this error.
    [[nodiscard]] QString message() const;

    bool operator==(const GlossaryError &) const = default;

private:
    GlossaryError(Kind kind, QString detail, qsizetype count)
        : m_kind(kind)
        , m_detail(std::move(detail))
        , m_count(count)
    {}

    Kind m_kind;
    QString m_detail;
    qsizetype m_count = 0;
};

} // namespace wordlumen
