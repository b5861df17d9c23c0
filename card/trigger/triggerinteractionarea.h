#pragma once

#include "card/panel/floatingcardwindowcontroller.h"
#include "paneldragtracker.h"

#include <QPointer>
#include <QQuickItem>

namespace wordlumen {

/**
 * The collapsed trigger's mouse handling: the whole item is the hit area. A
 * press that moves the pointer 3 points or less is a click and emits
 * `activated`; anything farther drags the panel, which follows the pointer
 * from the first movement, and the new place is saved on release.
 */
class TriggerInteractionArea : public QQuickItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TriggerInteractionArea)
    QML_ELEMENT

    Q_PROPERTY(wordlumen::FloatingCardWindowController *controller READ controller WRITE
                   setController NOTIFY controllerChanged)
    Q_PROPERTY(bool hovered READ isHovering NOTIFY hoveredChanged)
    Q_PROPERTY(bool pressed READ isPressed NOTIFY pressedChanged)

public:
    explicit TriggerInteractionArea(QQuickItem *parent = nullptr);
    ~TriggerInteractionArea() override;

    [[nodiscard]] FloatingCardWindowController *controller() const { return m_controller; }
    void setController(FloatingCardWindowController *controller);
    [[nodiscard]] bool isHovering() const { return m_hovering; }
    [[nodiscard]] bool isPressed() const { return m_pressed; }

signals:
    void controllerChanged();
    void hoveredChanged();
    void pressedChanged();
    /// A click (or an accessibility press, forwarded by the view).
    void activated();

protected:
    void hoverEnterEvent(QHoverEvent *event) override;
    void hoverLeaveEvent(QHoverEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseUngrabEvent() override;

private:
    void setHovering(bool hovering);
    void setPressed(bool pressed);
    void restingCursor();

    QPointer<FloatingCardWindowController> m_controller;
    PanelDragTracker m_tracker;
    bool m_hovering = false;
    bool m_pressed = false;
};

} // namespace wordlumen
