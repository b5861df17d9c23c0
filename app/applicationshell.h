#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QVariantMap>

#include <memory>

class QMenu;
class QQmlEngine;
class QSystemTrayIcon;
class QAction;
class QQuickItem;

namespace wordlumen {

class CardViewModel;
class FloatingCardWindowController;
class SingleInstance;
class StateDump;

/**
 * The application shell: one process per session, the floating card shown at
 * launch at its place, shown again when the program is launched a second
 * time, and a tray icon with the settings command, show/hide and quit.
 * Closing windows never ends the process; only "退出" does.
 */
class ApplicationShell final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ApplicationShell)

public:
    explicit ApplicationShell(QObject *parent = nullptr);
    ~ApplicationShell() override;

    /// False when another instance runs (it was asked to show the card); then exit.
    [[nodiscard]] bool claimSingleInstance();

    /// Builds the card and, on the next turn of the event loop, shows the panel.
    void start();

    [[nodiscard]] CardViewModel *viewModel() const { return m_viewModel; }

    /// The panel's content: the card, with the application's settings face.
    [[nodiscard]] static QUrl cardSource();
    [[nodiscard]] static QVariantMap cardProperties();

private slots:
    /// The card's view model, made when the card is first opened.
    void ensureViewModel();

private:
    void presentCard();
    void reopen();
    void setUpTrayIcon();

    SingleInstance *m_instance = nullptr;
    std::unique_ptr<QQmlEngine> m_engine;
    CardViewModel *m_viewModel = nullptr;
    QPointer<QQuickItem> m_cardRoot;
    FloatingCardWindowController *m_controller = nullptr;
    StateDump *m_stateDump = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
    std::unique_ptr<QMenu> m_trayMenu;
    QAction *m_toggleAction = nullptr;
};

} // namespace wordlumen
