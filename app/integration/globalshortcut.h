#pragma once

#include "desktop/shortcutbackend.h"

#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

namespace wordlumen {

/**
 * The global shortcut that looks up the selected text (what `wordlumen
 * --selection` does), default Ctrl+Alt+E. Registered through the backend the
 * session offers (an X11 key grab, the GlobalShortcuts portal on Wayland);
 * where there is none, the control center shows the command to bind in the
 * desktop's own keyboard settings instead. A new combination is recorded
 * from the next key press and stored under "globalShortcut" once it is
 * registered; one that another program holds is refused with a message and
 * the previous one stays.
 */
class GlobalShortcut final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GlobalShortcut)
    QML_ELEMENT
    QML_UNCREATABLE("The application makes the global shortcut.")

    /// The combination as the user reads it ("Ctrl+Alt+E").
    Q_PROPERTY(QString keysText READ keysText NOTIFY keysChanged)
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(bool isRecording READ isRecording NOTIFY stateChanged)
    /// The line under the shortcut: what it does, what went wrong, or what to press.
    Q_PROPERTY(QString statusText READ statusText NOTIFY stateChanged)
    /// Whether the status line reports a problem.
    Q_PROPERTY(bool hasProblem READ hasProblem NOTIFY stateChanged)
    /// Where the program cannot register the shortcut: the user binds the command instead.
    Q_PROPERTY(bool needsManualSetup READ needsManualSetup NOTIFY stateChanged)
    Q_PROPERTY(QString manualCommand READ manualCommand CONSTANT)
    Q_PROPERTY(QString manualSteps READ manualSteps CONSTANT)

public:
    enum class State
    {
        Registering,
        Registered,
        Recording,
        Failed,
        Unavailable,
    };
    Q_ENUM(State)

    /// `backend` null: nothing registers shortcuts here (the manual setup is shown).
    explicit GlobalShortcut(std::unique_ptr<ShortcutBackend> backend, QObject *parent = nullptr);
    ~GlobalShortcut() override;

    /// Registers the stored combination (or the default).
    void start();

    [[nodiscard]] QKeyCombination keys() const { return m_keys; }
    [[nodiscard]] QString keysText() const;
    [[nodiscard]] State state() const { return m_state; }
    [[nodiscard]] bool isRecording() const { return m_state == State::Recording; }
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] bool hasProblem() const;
    [[nodiscard]] bool needsManualSetup() const;
    [[nodiscard]] QString manualCommand() const;
    [[nodiscard]] QString manualSteps() const;

    /// The next key press becomes the combination; the current one is released meanwhile.
    Q_INVOKABLE void startRecording();
    Q_INVOKABLE void cancelRecording();
    /**
     * A key press while recording (Qt key and modifiers, as a key event has
     * them). Modifier keys alone wait for the rest; Escape cancels; a
     * combination without Ctrl, Alt or Super is refused, since it would take a
     * key away from typing everywhere. True when the press was used.
     */
    Q_INVOKABLE bool recordKey(int key, int modifiers);
    /// Puts the manual command on the clipboard.
    Q_INVOKABLE void copyCommand() const;

    /// Reads a stored combination; nothing for text that is not a usable one.
    [[nodiscard]] static std::optional<QKeyCombination> parseKeys(const QString &text);

signals:
    void keysChanged();
    void stateChanged();
    /// The shortcut was pressed.
    void activated();

private:
    enum class Notice
    {
        None,
        NeedsModifier,
        KeptPrevious,
    };

    void registerKeys(QKeyCombination keys);
    void onRegistered(const QString &desktopKeys);
    void onFailed(ShortcutBackend::Failure failure);
    void setState(State state);

    std::unique_ptr<ShortcutBackend> m_backend;
    QKeyCombination m_keys;
    /// A recorded combination on its way to being registered.
    std::optional<QKeyCombination> m_candidate;
    /// The combination that was refused when the previous one was kept.
    QKeyCombination m_refused;
    QString m_desktopKeys;
    State m_state = State::Registering;
    ShortcutBackend::Failure m_failure = ShortcutBackend::Failure::Unavailable;
    ShortcutBackend::Failure m_refusedFailure = ShortcutBackend::Failure::Taken;
    Notice m_notice = Notice::None;
};

} // namespace wordlumen
