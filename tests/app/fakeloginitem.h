#pragma once

#include "desktop/loginitem.h"

namespace wordlumen::testing {

/// A login item that lives in memory: on, off, or refusing every change.
class FakeLoginItem final : public LoginItem
{
public:
    explicit FakeLoginItem(bool enabled = false, QString refusal = {})
        : m_enabled(enabled)
        , m_refusal(std::move(refusal))
    {}

    [[nodiscard]] bool isAvailable() const override { return true; }
    [[nodiscard]] bool isEnabled() const override { return m_enabled; }
    [[nodiscard]] QString setEnabled(bool enabled) override
    {
        if (m_refusal.isEmpty())
            m_enabled = enabled;
        return m_refusal;
    }

private:
    bool m_enabled;
    QString m_refusal;
};

} // namespace wordlumen::testing
