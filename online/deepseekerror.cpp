#include "deepseekerror.h"

#include "desktop/platformwords.h"

namespace wordlumen {

QString DeepSeekError::message() const
{
    switch (m_kind) {
    case Kind::HttpStatus:
        switch (m_detail) {
        case 401:
            return QStringLiteral("API Key 不正确或已经失效，请到设置里重新填写。");
        case 402:
            return QStringLiteral("API 账户余额不足，请充值后再试。");
        case 429:
            return QStringLiteral("请求太频繁了，稍等片刻再试。");
        default:
            return QStringLiteral("API 暂时没有回答（错误码 %1）。").arg(m_detail);
        }
    case Kind::InvalidEndpoint:
        return QStringLiteral("API 地址格式不正确，请到设置里检查。");
    case Kind::InvalidResponse:
        return QStringLiteral("没有收到有效回复，请稍后再试。");
    case Kind::InsecureEndpoint:
        return PlatformWords::localized(
            QStringLiteral("API 地址用 http 会让 Key 明文离开这台 Mac：请改用 https，"
                           "局域网里的模型可经 SSH 隧道转到 localhost。"));
    case Kind::Transport:
        return transportMessage(static_cast<QNetworkReply::NetworkError>(m_detail));
    case Kind::Decoding:
        return ChatDecodingError(static_cast<ChatDecodingError::Kind>(m_detail)).message();
    }
    return {};
}

QString DeepSeekError::transportMessage(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("请求超时了，请检查网络后再试。");
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("API 服务器拒绝了连接。");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("API 服务器中途断开了连接。");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("找不到 API 服务器，请检查网络和接口地址。");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("无法和 API 服务器建立安全连接，证书或加密设置有问题。");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return QStringLiteral("网络连接中断了，请检查网络后再试。");
    case QNetworkReply::TooManyRedirectsError:
        return QStringLiteral("API 服务器跳转的次数太多，已停止请求。");
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("API 服务器的跳转不安全，已停止请求。");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::UnknownProxyError:
        return QStringLiteral("无法通过代理服务器连上 API，请检查代理设置。");
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return QStringLiteral("代理服务器要求登录，请检查代理设置。");
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::AuthenticationRequiredError:
        return QStringLiteral("API 服务器拒绝了这次请求，请到设置里检查 API Key 和接口地址。");
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::ContentGoneError:
        return QStringLiteral("API 服务器上没有这个接口地址，请到设置里检查。");
    case QNetworkReply::ProtocolUnknownError:
        return QStringLiteral("接口地址的协议无法识别，请到设置里检查。");
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::ProtocolFailure:
        return QStringLiteral("API 服务器的回复不符合 HTTP 协议，请检查接口地址。");
    case QNetworkReply::InternalServerError:
    case QNetworkReply::OperationNotImplementedError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
        return QStringLiteral("API 服务器暂时出了问题，请稍后再试。");
    default:
        // Content conflicts, unknown errors and whatever later Qt versions add.
        return QStringLiteral("网络请求没有成功，请检查网络和接口地址后再试。");
    }
}

} // namespace wordlumen
