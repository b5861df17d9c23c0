#include "glossaryerror.h"

namespace wordlumen {

GlossaryError GlossaryError::missingResource(const QString &fileName)
{
    return {Kind::MissingResource, fileName, 0};
}

GlossaryError GlossaryError::incompleteGlossary(qsizetype count)
{
    return {Kind::IncompleteGlossary, {}, count};
}

GlossaryError GlossaryError::invalidEncoding()
{
    return {Kind::InvalidEncoding, {}, 0};
}

GlossaryError GlossaryError::invalidAliasData()
{
    return {Kind::InvalidAliasData, {}, 0};
}

GlossaryError GlossaryError::readFailed(const QString &platformMessage)
{
    return {Kind::ReadFailed, platformMessage, 0};
}

GlossaryError GlossaryError::invalidJson(const QString &parserMessage)
{
    return {Kind::InvalidJson, parserMessage, 0};
}

QString GlossaryError::message() const
{
    switch (m_kind) {
    case Kind::MissingResource:
        return QStringLiteral("找不到本地词典资源：") + m_detail;
    case Kind::IncompleteGlossary:
        return QStringLiteral("本地词典只读到了 %1 条，预期为 200 条。").arg(m_count);
    case Kind::InvalidEncoding:
        return QStringLiteral("本地词典不是有效的 UTF-8 文本。");
    case Kind::InvalidAliasData:
        return QStringLiteral("中英文别名表格式有误。");
    case Kind::ReadFailed:
    case Kind::InvalidJson:
        return m_detail;
    }
    return {};
}

} // namespace wordlumen
