#include "floatingpagemodel.h"

#include "card/panel/floatingcardwindowcontroller.h"

namespace wordlumen {

FloatingPageModel::FloatingPageModel(FloatingCardWindowController *card, QObject *parent)
    : QObject(parent)
    , m_card(card)
{
    connect(card, &FloatingCardWindowController::isVisibleChanged, this,
            &FloatingPageModel::cardVisibleChanged);
    connect(card, &FloatingCardWindowController::triggerStyleChanged, this,
            &FloatingPageModel::triggerStyleChanged);
}

FloatingPageModel::~FloatingPageModel() = default;

bool FloatingPageModel::cardVisible() const
{
    return m_card && m_card->isVisible();
}

QString FloatingPageModel::sidebarDetail() const
{
    return cardVisible() ? QStringLiteral("正在桌面显示") : QStringLiteral("当前已隐藏");
}

QString FloatingPageModel::badgeTitle() const
{
    return cardVisible() ? QStringLiteral("正在显示") : QStringLiteral("已隐藏");
}

QString FloatingPageModel::visibilityActionTitle() const
{
    return cardVisible() ? QStringLiteral("隐藏浮卡") : QStringLiteral("显示浮卡");
}

QString FloatingPageModel::triggerStyle() const
{
    return m_card ? m_card->triggerStyleName() : QString();
}

void FloatingPageModel::setTriggerStyle(const QString &style)
{
    if (m_card) {
        m_card->setTriggerStyleName(style);
    }
}

void FloatingPageModel::toggleVisibility()
{
    if (m_card) {
        m_card->toggleVisibility();
    }
}

void FloatingPageModel::resetPosition()
{
    if (m_card) {
        m_card->resetPosition();
    }
}

void FloatingPageModel::setDesktopIntegration(GlobalShortcut *shortcut, StartAtLogin *autostart)
{
    if (m_shortcut == shortcut && m_autostart == autostart) {
        return;
    }
    m_shortcut = shortcut;
    m_autostart = autostart;
    emit desktopIntegrationChanged();
}

} // namespace wordlumen
