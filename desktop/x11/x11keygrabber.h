#pragma once

#include "desktop/shortcutbackend.h"

#include <QAbstractNativeEventFilter>
#include <QList>

#include <memory>
#include <optional>

namespace wordlumen {

/**
 * A global shortcut on X11: a passive key grab on the root window, made once
 * for every combination of the lock modifiers (Caps Lock, Num Lock, Scroll
 * Lock), so that the shortcut works whichever of them is on. The X server
 * refuses a grab another client holds; that is reported as Taken, and no
 * part of the combination stays grabbed.
 */
class X11KeyGrabber final : public ShortcutBackend, public QAbstractNativeEventFilter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(X11KeyGrabber)

public:
    /// Nothing when the application does not run on an X server.
    [[nodiscard]] static std::unique_ptr<X11KeyGrabber> create(QObject *parent = nullptr);
    ~X11KeyGrabber() override;

    void registerKeys(QKeyCombination keys) override;
    void unregister() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Private;
    explicit X11KeyGrabber(std::unique_ptr<Private> d, QObject *parent);

    std::unique_ptr<Private> d;
};

} // namespace wordlumen
