#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

namespace wordlumen {

/**
 * Whether a compositing manager blends windows over the desktop, followed
 * while the program runs. Without one, an X server shows a translucent
 * window's transparent pixels as black, so the panel needs another look.
 *
 * On X11 the compositing manager of screen N owns the selection
 * _NET_WM_CM_SN (EWMH); the XFixes extension reports every change of its
 * owner. Other platforms always composite.
 *
 * KWin also blurs what lies behind a window that asks for it, and announces
 * this (while its blur effect runs) with an empty _KDE_NET_WM_BLUR_BEHIND_REGION
 * property on the root window; the watch follows that property too.
 */
class CompositorWatch final : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CompositorWatch)

public:
    explicit CompositorWatch(QObject *parent = nullptr);
    ~CompositorWatch() override;

    [[nodiscard]] bool isCompositing() const { return m_compositing; }
    /// Whether the compositor blurs behind windows that ask for it.
    [[nodiscard]] bool offersBlurBehind() const { return m_compositing && m_blurBehind; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void compositingChanged();
    void blurBehindChanged();

private:
    void setCompositing(bool compositing);
    void setBlurBehind(bool blur);
    void readOwner();
    void readBlurSupport();

    bool m_compositing = true;
    bool m_blurBehind = false;
    unsigned int m_selection = 0;    // the _NET_WM_CM_Sn atom
    unsigned int m_blurAtom = 0;     // _KDE_NET_WM_BLUR_BEHIND_REGION
    unsigned char m_xfixesEvent = 0; // XFixes' first event code, 0 without XFixes
};

} // namespace wordlumen
