#include "deepseekerror.h"

namespace wordlumen {

QString DeepSeekError::message() const
{
    switch (m_kind) {
    case Kind::HttpStatus:
        switch (m_status) {
        case 401:
            return QStringLiteral("API Key 不正确或已经失效，请到设置里重新填写。");
        case 402:
            return QStringLiteral("API 账户余额不足，请充值后再试。");
        case 429:
            return QStringLiteral("请求太频繁了，稍等片刻再试。");
        default:
            return QStringLiteral("API 暂时没有回答（错误码 %1）。").arg(m_status);
        }
    case Kind::InvalidEndpoint:
        return QStringLiteral("API 地址格式不正确，请到设置里检查。");
    case Kind::InvalidResponse:
        return QStringLiteral("没有收到有效回复，请稍后再试。");
    }
    return {};
}

} // namespace wordlumen
