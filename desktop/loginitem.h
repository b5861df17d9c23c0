#pragma once

#include <QString>

namespace wordlumen {

/**
 * Starting the program when the user logs in. Whether it is on is read from
 * the desktop itself each time, never kept elsewhere, so that it follows
 * what the desktop's own startup settings did to it. Where the desktop offers
 * no way, `isAvailable` is false and the switch is not offered as on.
 */
class LoginItem
{
public:
    LoginItem() = default;
    virtual ~LoginItem() = default;
    LoginItem(const LoginItem &) = delete;
    LoginItem &operator=(const LoginItem &) = delete;

    [[nodiscard]] virtual bool isAvailable() const = 0;
    /// Whether the desktop will start the program at the next login.
    [[nodiscard]] virtual bool isEnabled() const = 0;
    /// Turns it on or off; an empty text when that worked, else the user's sentence why not.
    [[nodiscard]] virtual QString setEnabled(bool enabled) = 0;
    /// Where the setting lives, for messages and tests; empty when nothing is stored.
    [[nodiscard]] virtual QString location() const { return {}; }
};

} // namespace wordlumen
