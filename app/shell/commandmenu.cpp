#include "commandmenu.h"

#include "card/panel/floatingcardwindowcontroller.h"
#include "core/identity.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QSystemTrayIcon>

namespace wordlumen {

CommandMenu::CommandMenu(FloatingCardWindowController *controller, QObject *parent)
    : QObject(parent)
    , m_controller(controller)
{}

CommandMenu::~CommandMenu()
{
    // The tray goes before the menu it shows.
    delete m_tray;
}

void CommandMenu::setUp()
{
    buildMenu();
    if (m_tray) {
        return;
    }
    m_tray = new QSystemTrayIcon(QGuiApplication::windowIcon(), this);
    m_tray->setToolTip(QLatin1StringView(Identity::kApplicationName));
    m_tray->setContextMenu(m_menu.get());
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger) {
            emit cardRequested();
        }
    });
    m_tray->show();
}

void CommandMenu::popup(QPoint globalPosition)
{
    buildMenu();
    m_menu->popup(globalPosition);
}

void CommandMenu::buildMenu()
{
    if (m_menu) {
        return;
    }
    m_menu = std::make_unique<QMenu>();
    QAction *settings = m_menu->addAction(QStringLiteral("Wordlumen 设置…"));
    settings->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    connect(settings, &QAction::triggered, this, &CommandMenu::settingsRequested);
    m_toggleAction = m_menu->addAction(QString());
    auto updateToggle = [this] {
        m_toggleAction->setText(m_controller->isVisible() ? QStringLiteral("隐藏浮卡")
                                                          : QStringLiteral("显示浮卡"));
    };
    updateToggle();
    connect(m_controller, &FloatingCardWindowController::isVisibleChanged, this, updateToggle);
    connect(m_toggleAction, &QAction::triggered, m_controller,
            &FloatingCardWindowController::toggleVisibility);
    m_menu->addSeparator();
    QAction *quit = m_menu->addAction(QStringLiteral("退出 Wordlumen"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit);
}

} // namespace wordlumen
