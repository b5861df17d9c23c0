#pragma once

#include "desktop/loginitem.h"

namespace wordlumen {

/// A desktop on which the program has no way to start itself at login.
class UnavailableLoginItem final : public LoginItem
{
public:
    [[nodiscard]] bool isAvailable() const override { return false; }
    [[nodiscard]] bool isEnabled() const override { return false; }
    [[nodiscard]] QString setEnabled(bool enabled) override;
};

} // namespace wordlumen
