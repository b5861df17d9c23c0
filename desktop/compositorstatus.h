#pragma once

#include <QObject>

namespace wordlumen {

/**
 * Whether a compositing manager blends windows over the desktop, and whether
 * it blurs what lies behind a window that asks for it; both followed while
 * the program runs. Without compositing a window's transparent pixels show as
 * black, so the panel is drawn opaque and cut to its outline instead.
 */
class CompositorStatus : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CompositorStatus)

public:
    explicit CompositorStatus(QObject *parent = nullptr)
        : QObject(parent)
    {}
    ~CompositorStatus() override = default;

    [[nodiscard]] virtual bool isCompositing() const = 0;
    /// Whether the compositor blurs behind windows that ask for it.
    [[nodiscard]] virtual bool offersBlurBehind() const = 0;

signals:
    void compositingChanged();
    void blurBehindChanged();
};

} // namespace wordlumen
