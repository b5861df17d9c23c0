#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QString>

namespace wordlumen {

/**
 * One way of registering a key combination for the whole desktop: with the X
 * server, or through the desktop portal on Wayland. Answers every
 * registerKeys() with registered() or failed(), at once or later, and
 * reports each press with activated().
 */
class ShortcutBackend : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShortcutBackend)

public:
    enum class Failure
    {
        /// Another program holds the combination.
        Taken,
        /// The keyboard has no key for it.
        NotMappable,
        /// Nothing on this desktop registers shortcuts for programs.
        Unavailable,
        /// The desktop (or the user, asked by it) declined.
        Refused,
    };
    Q_ENUM(Failure)

    explicit ShortcutBackend(QObject *parent = nullptr)
        : QObject(parent)
    {}
    ~ShortcutBackend() override = default;

    /// Whether the desktop has the last word on the combination (it may bind another).
    [[nodiscard]] virtual bool desktopChoosesKeys() const { return false; }

    /// Registers `keys`, releasing whatever this backend registered before.
    virtual void registerKeys(QKeyCombination keys) = 0;
    /// Releases the registered combination, if any.
    virtual void unregister() = 0;

signals:
    /// `keys` is the combination as the desktop names it.
    void registered(const QString &keys);
    void failed(wordlumen::ShortcutBackend::Failure failure);
    void activated();
};

} // namespace wordlumen
