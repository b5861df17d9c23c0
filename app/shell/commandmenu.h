#pragma once

#include <QObject>
#include <QPoint>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace wordlumen {

class FloatingCardWindowController;

/**
 * The application's commands: "Wordlumen 设置…", show or hide the card, and
 * quit. They sit in a tray icon where the desktop has a tray (made whether or
 * not one runs now: the icon docks when one starts later) and open on the
 * trigger's right click everywhere, so the program can always be quit.
 */
class CommandMenu final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandMenu)

public:
    explicit CommandMenu(FloatingCardWindowController *controller, QObject *parent = nullptr);
    ~CommandMenu() override;

    /// Builds the menu and the tray icon; they come after the trigger's first frame.
    void setUp();
    /// Opens the menu at a global point (the trigger's right click).
    void popup(QPoint globalPosition);

signals:
    void settingsRequested();
    /// A click on the tray icon: show the card.
    void cardRequested();

private:
    void buildMenu();

    FloatingCardWindowController *m_controller;
    std::unique_ptr<QMenu> m_menu;
    QAction *m_toggleAction = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
};

} // namespace wordlumen
