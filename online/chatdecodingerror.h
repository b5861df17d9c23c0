#pragma once

#include <QString>

namespace wordlumen {

/// A reply body that does not have the shape the protocol promises.
class ChatDecodingError
{
public:
    enum class Kind
    {
        NotJson,      ///< not a JSON object at all
        MissingValue, ///< a required key is absent
        WrongType,    ///< a key holds a value of the wrong type
    };

    explicit ChatDecodingError(Kind kind)
        : m_kind(kind)
    {}

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] QString message() const;

    bool operator==(const ChatDecodingError &) const = default;

private:
    Kind m_kind;
};

} // namespace wordlumen
