#pragma once

#include "chatdecodingerror.h"

#include <QMetaType>
#include <QNetworkReply>
#include <QString>

namespace wordlumen {

/**
 * Why an online request failed, with the one Chinese sentence the user sees.
 * Every failure of the chat client arrives as one of these: the service's
 * status, a refused endpoint, an unusable or undecodable reply, or the
 * transport's own failure. Cancelling is never an error.
 */
class DeepSeekError
{
public:
    enum class Kind
    {
        HttpStatus,       ///< a status outside 200–299; carries the status
        InvalidEndpoint,  ///< the endpoint does not parse, has no host or a scheme we do not speak
        InvalidResponse,  ///< not an HTTP response, or a reverse lookup without usable JSON
        InsecureEndpoint, ///< plain http to another machine: the key would cross the network in
                          ///< clear
        Transport,        ///< the connection failed; carries Qt's network error
        Decoding,         ///< the reply has not the protocol's shape; carries the decoder's error
    };

    static DeepSeekError httpStatus(int status) { return {Kind::HttpStatus, status}; }
    static DeepSeekError invalidEndpoint() { return {Kind::InvalidEndpoint, 0}; }
    static DeepSeekError invalidResponse() { return {Kind::InvalidResponse, 0}; }
    static DeepSeekError insecureEndpoint() { return {Kind::InsecureEndpoint, 0}; }
    /// A transfer that stalled is QNetworkReply::TimeoutError, whatever Qt reported.
    static DeepSeekError transport(QNetworkReply::NetworkError error)
    {
        return {Kind::Transport, static_cast<int>(error)};
    }
    static DeepSeekError decoding(ChatDecodingError error)
    {
        return {Kind::Decoding, static_cast<int>(error.kind())};
    }

    [[nodiscard]] Kind kind() const { return m_kind; }
    /// The HTTP status for HttpStatus, otherwise 0.
    [[nodiscard]] int status() const { return m_kind == Kind::HttpStatus ? m_detail : 0; }
    [[nodiscard]] QString message() const;

    /// The sentence for a transport failure; never Qt's own (English) description.
    [[nodiscard]] static QString transportMessage(QNetworkReply::NetworkError error);

    bool operator==(const DeepSeekError &) const = default;

private:
    DeepSeekError(Kind kind, int detail)
        : m_kind(kind)
        , m_detail(detail)
    {}

    Kind m_kind;
    /// The status, the network error or the decoding kind, as the kind says.
    int m_detail;
};

} // namespace wordlumen

Q_DECLARE_METATYPE(wordlumen::DeepSeekError)
