#pragma once

#include "desktop/compositorstatus.h"

namespace wordlumen {

/**
 * A window system that always composites and offers no blur behind windows:
 * what Qt assumes everywhere but on a bare X server.
 */
class SteadyCompositor final : public CompositorStatus
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SteadyCompositor)

public:
    using CompositorStatus::CompositorStatus;
    ~SteadyCompositor() override;

    [[nodiscard]] bool isCompositing() const override { return true; }
    [[nodiscard]] bool offersBlurBehind() const override { return false; }
};

} // namespace wordlumen
