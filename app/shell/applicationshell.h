#pragma once

#include "core/glossarystore.h"
#include "launchrequest.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QUrl>
#include <QVariantMap>

#include <memory>

class QQmlEngine;
class QQuickWindow;

namespace wordlumen {

class CardViewController;
class CardViewModel;
class CommandMenu;
class ControlCenterModel;
class ControlCenterWindow;
class CustomGlossaryStore;
class FloatingCardWindowController;
class GlobalShortcut;
class HistoryRecorder;
class HistoryStore;
class HistoryWriter;
struct HistoryEntry;
class SelectionSource;
class ShellProbes;
class SingleInstance;
class StartAtLogin;

/**
 * The application shell: one process per session, the floating card shown at
 * launch at its place, the requests of later launches (`wordlumen --lookup`,
 * `--selection`, `--toggle`, `--settings`, or none: show the card again)
 * carried out by the running instance, and the application's commands
 * (settings, show/hide, quit) in a tray icon where the desktop has a tray and
 * on the trigger's right click everywhere. Closing windows never ends the
 * process; only "退出" does.
 *
 * Owns everything that lives as long as the process: the pack library, the
 * QML engine, the card's view model, the panel's controller and the control
 * center, and tears them down in that order's reverse (windows before the
 * QML they show).
 */
class ApplicationShell final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ApplicationShell)

public:
    explicit ApplicationShell(QObject *parent = nullptr);
    ~ApplicationShell() override;

    /// False when another instance runs (it was handed `request`); then exit.
    [[nodiscard]] bool claimSingleInstance(const LaunchRequest &request = {});

    /**
     * Builds the card and, on the next turn of the event loop, shows the panel
     * and carries out `request`. The control center comes up too unless the
     * request is for the card alone (or for a start at login).
     */
    void start(const LaunchRequest &request = {});

    /// Carries out what a launch asked for (the running instance's side of the channel).
    void handle(const LaunchRequest &request);

    [[nodiscard]] CardViewModel *viewModel() const { return m_viewModel.get(); }
    [[nodiscard]] FloatingCardWindowController *windowController() const
    {
        return m_controller.get();
    }
    /// The supplement packs, shared by the card and the control center; loaded on first use.
    [[nodiscard]] CustomGlossaryStore &library();
    /// The built-in dictionary, loaded once on first use; nothing when it failed to load.
    [[nodiscard]] const std::optional<GlossaryStore> &dictionary();
    /// The lookup history, shared by the card and the control center; its file opens on first use.
    [[nodiscard]] HistoryStore &history();

    /// Brings up the control center in front; at launch `centred` on the screen,
    /// afterwards where the user left it.
    void showControlCenter(bool centred);
    [[nodiscard]] ControlCenterWindow *controlCenter() const { return m_controlCenter.get(); }
    /// The shortcut that looks up the selection; registered once the trigger is on screen.
    [[nodiscard]] GlobalShortcut *globalShortcut() const { return m_shortcut.get(); }

    /// The panel's content: the card, with the application's settings face.
    [[nodiscard]] static QUrl cardSource();
    [[nodiscard]] static QVariantMap cardProperties();

private:
    void connectPanel(QQuickWindow *panel);
    /// The card's view model, made when the card is first opened.
    void ensureViewModel();
    void presentCard();
    void reopen();
    /// Shows the panel, gives it the keyboard focus and opens the card on the face it was left on.
    void openCard();
    void toggleCard();
    /// Opens the card on its input face, ready for typing.
    void openCardForInput();
    void lookUp(const QString &text);
    /// Opens the card for a lookup of `text`; false when there is nothing to look up.
    bool openCardFor(const QString &text);
    void lookUpSelection();
    /// Opens the card on a saved answer of the history (the control center's page).
    void openSaved(const HistoryEntry &entry);
    [[nodiscard]] HistoryRecorder *historyRecorder();

    SingleInstance *m_instance = nullptr;
    bool m_controlCenterAtStart = true;
    QPointer<CardViewController> m_card;
    // Declared in the order they are made; destroyed in reverse.
    std::unique_ptr<CustomGlossaryStore> m_library;
    std::optional<GlossaryStore> m_dictionary;
    bool m_dictionaryLoaded = false;
    std::unique_ptr<HistoryStore> m_history;
    std::unique_ptr<HistoryWriter> m_historyWriter;
    std::unique_ptr<HistoryRecorder> m_historyRecorder;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<CardViewModel> m_viewModel;
    std::unique_ptr<FloatingCardWindowController> m_controller;
    std::unique_ptr<GlobalShortcut> m_shortcut;
    std::unique_ptr<StartAtLogin> m_startAtLogin;
    std::unique_ptr<SelectionSource> m_selection;
    std::unique_ptr<ControlCenterModel> m_controlCenterModel;
    std::unique_ptr<ControlCenterWindow> m_controlCenter;
    std::unique_ptr<CommandMenu> m_commandMenu;
    ShellProbes *m_probes = nullptr;
};

} // namespace wordlumen
