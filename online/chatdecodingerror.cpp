#include "chatdecodingerror.h"

namespace wordlumen {

QString ChatDecodingError::message() const
{
    switch (m_kind) {
    case Kind::NotJson:
        return QStringLiteral("收到的回复不是有效的 JSON。");
    case Kind::MissingValue:
        return QStringLiteral("收到的回复缺少必需的字段。");
    case Kind::WrongType:
        return QStringLiteral("收到的回复格式不正确。");
    }
    return {};
}

} // namespace wordlumen
