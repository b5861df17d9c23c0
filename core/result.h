#pragma once

#include <utility>
#include <variant>

namespace wordlumen {

/**
 * A value or the error that prevented it, for operations that fail with a
 * typed error instead of throwing (loading, parsing, persisting).
 */
template<typename T, typename E>
class Result
{
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    {}
    Result(E error)
        : m_state(std::in_place_index<1>, std::move(error))
    {}

    [[nodiscard]] bool hasValue() const { return m_state.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    [[nodiscard]] const T &value() const & { return std::get<0>(m_state); }
    [[nodiscard]] T &value() & { return std::get<0>(m_state); }
    [[nodiscard]] T &&value() && { return std::get<0>(std::move(m_state)); }
    [[nodiscard]] const E &error() const { return std::get<1>(m_state); }

    const T *operator->() const { return &value(); }
    const T &operator*() const { return value(); }

private:
    std::variant<T, E> m_state;
};

/// The success of an operation that yields nothing but can fail.
struct Done
{
    bool operator==(const Done &) const = default;
};

} // namespace wordlumen
