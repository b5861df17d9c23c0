#pragma once

#include "desktop/compositorstatus.h"

#include <QAbstractNativeEventFilter>

namespace wordlumen {

/**
 * The compositor on X11, followed while the program runs. An X server shows
 * a translucent window's transparent pixels as black unless a compositing
 * manager blends windows over the desktop.
 *
 * The compositing manager of screen N owns the selection _NET_WM_CM_SN
 * (EWMH); the XFixes extension reports every change of its owner.
 *
 * KWin also blurs what lies behind a window that asks for it, and announces
 * this (while its blur effect runs) with an empty _KDE_NET_WM_BLUR_BEHIND_REGION
 * property on the root window; the watch follows that property too.
 */
class X11CompositorWatch final : public CompositorStatus, public QAbstractNativeEventFilter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(X11CompositorWatch)

public:
    explicit X11CompositorWatch(QObject *parent = nullptr);
    ~X11CompositorWatch() override;

    [[nodiscard]] bool isCompositing() const override { return m_compositing; }
    [[nodiscard]] bool offersBlurBehind() const override { return m_compositing && m_blurBehind; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

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
