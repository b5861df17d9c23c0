#pragma once

#include "desktop/shortcutbackend.h"

#include <optional>

namespace wordlumen::testing {

/// A backend that answers as told: registered, or failed with `failure`.
class FakeShortcutBackend final : public ShortcutBackend
{
    Q_OBJECT

public:
    explicit FakeShortcutBackend(std::optional<Failure> failure, bool desktopChooses = false,
                                 QObject *parent = nullptr)
        : ShortcutBackend(parent)
        , m_failure(failure)
        , m_desktopChooses(desktopChooses)
    {}

    [[nodiscard]] bool desktopChoosesKeys() const override { return m_desktopChooses; }
    void registerKeys(QKeyCombination keys) override;
    void unregister() override { m_registered = false; }

    std::optional<Failure> m_failure;
    bool m_desktopChooses = false;
    bool m_registered = false;
};

} // namespace wordlumen::testing
