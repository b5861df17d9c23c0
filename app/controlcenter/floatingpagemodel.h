#pragma once

#include "app/integration/globalshortcut.h"
#include "app/integration/startatlogin.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

class FloatingCardWindowController;

/**
 * The control center's page about the floating card: its visibility, the
 * trigger's shape and its place, with the texts that follow the card's state;
 * and, where the application provides them, the global shortcut and the
 * start at login.
 */
class FloatingPageModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingPageModel)
    QML_ELEMENT
    QML_UNCREATABLE("The control center makes its pages.")

    Q_PROPERTY(bool cardVisible READ cardVisible NOTIFY cardVisibleChanged)
    /// The sidebar's line under "浮动卡".
    Q_PROPERTY(QString sidebarDetail READ sidebarDetail NOTIFY cardVisibleChanged)
    Q_PROPERTY(QString badgeTitle READ badgeTitle NOTIFY cardVisibleChanged)
    Q_PROPERTY(QString visibilityActionTitle READ visibilityActionTitle NOTIFY cardVisibleChanged)
    /// The trigger style's raw value, "compact" or "wide"; writing it applies it at once.
    Q_PROPERTY(
        QString triggerStyle READ triggerStyle WRITE setTriggerStyle NOTIFY triggerStyleChanged)
    /// The global shortcut and the start-at-login switch; null until the application provides them.
    Q_PROPERTY(wordlumen::GlobalShortcut *shortcut READ shortcut NOTIFY desktopIntegrationChanged)
    Q_PROPERTY(wordlumen::StartAtLogin *autostart READ autostart NOTIFY desktopIntegrationChanged)

public:
    explicit FloatingPageModel(FloatingCardWindowController *card, QObject *parent = nullptr);
    ~FloatingPageModel() override;

    [[nodiscard]] bool cardVisible() const;
    [[nodiscard]] QString sidebarDetail() const;
    [[nodiscard]] QString badgeTitle() const;
    [[nodiscard]] QString visibilityActionTitle() const;
    [[nodiscard]] QString triggerStyle() const;
    void setTriggerStyle(const QString &style);

    /// "隐藏浮卡" / "显示浮卡".
    Q_INVOKABLE void toggleVisibility();
    /// "回到右下角".
    Q_INVOKABLE void resetPosition();

    [[nodiscard]] GlobalShortcut *shortcut() const { return m_shortcut; }
    [[nodiscard]] StartAtLogin *autostart() const { return m_autostart; }
    /// The shortcut and start-at-login rows; both belong to the application, not the page.
    void setDesktopIntegration(GlobalShortcut *shortcut, StartAtLogin *autostart);

signals:
    void cardVisibleChanged();
    void triggerStyleChanged();
    void desktopIntegrationChanged();

private:
    QPointer<FloatingCardWindowController> m_card;
    QPointer<GlobalShortcut> m_shortcut;
    QPointer<StartAtLogin> m_autostart;
};

} // namespace wordlumen
