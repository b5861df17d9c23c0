#pragma once

#include <QString>

namespace wordlumen {

/// The chat client's own failures, each with the one sentence the user sees.
class DeepSeekError
{
public:
    enum class Kind
    {
        HttpStatus,      ///< a status outside 200–299; carries the status
        InvalidEndpoint, ///< the endpoint does not parse, fails the settings check or is refused
        InvalidResponse, ///< not an HTTP response, or a reverse lookup without usable JSON
    };

    static DeepSeekError httpStatus(int status) { return {Kind::HttpStatus, status}; }
    static DeepSeekError invalidEndpoint() { return {Kind::InvalidEndpoint, 0}; }
    static DeepSeekError invalidResponse() { return {Kind::InvalidResponse, 0}; }

    [[nodiscard]] Kind kind() const { return m_kind; }
    /// The HTTP status for HttpStatus, otherwise 0.
    [[nodiscard]] int status() const { return m_status; }
    [[nodiscard]] QString message() const;

    bool operator==(const DeepSeekError &) const = default;

private:
    DeepSeekError(Kind kind, int status)
        : m_kind(kind)
        , m_status(status)
    {}

    Kind m_kind;
    int m_status;
};

} // namespace wordlumen
