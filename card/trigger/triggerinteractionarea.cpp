#include "triggerinteractionarea.h"

#include "card/panel/floatingcardwindowcontroller.h"

#include <QCursor>

namespace wordlumen {

TriggerInteractionArea::TriggerInteractionArea(QQuickItem *parent)
    : QQuickItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton);
    setAcceptHoverEvents(true);
    setCursor(Qt::ArrowCursor);
}

TriggerInteractionArea::~TriggerInteractionArea() = default;

void TriggerInteractionArea::setController(FloatingCardWindowController *controller)
{
    if (m_controller == controller) {
        return;
    }
    m_controller = controller;
    emit controllerChanged();
}

void TriggerInteractionArea::setHovering(bool hovering)
{
    if (m_hovering == hovering) {
        return;
    }
    m_hovering = hovering;
    emit hoveredChanged();
}

void TriggerInteractionArea::setPressed(bool pressed)
{
    if (m_pressed == pressed) {
        return;
    }
    m_pressed = pressed;
    emit pressedChanged();
}

void TriggerInteractionArea::restingCursor()
{
    setCursor(m_hovering ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

void TriggerInteractionArea::hoverEnterEvent(QHoverEvent *event)
{
    setHovering(true);
    if (!m_pressed) {
        restingCursor();
    }
    event->accept();
}

void TriggerInteractionArea::hoverLeaveEvent(QHoverEvent *event)
{
    setHovering(false);
    if (!m_pressed) {
        restingCursor();
    }
    event->accept();
}

void TriggerInteractionArea::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        // The application's own commands (open, settings, hide, quit), also
        // where the desktop shows no tray icon to offer them.
        if (m_controller) {
            m_controller->requestCommandMenu(event->globalPosition().toPoint());
        }
        event->accept();
        return;
    }
    m_tracker.begin(event->globalPosition(),
                    m_controller ? m_controller->panelTopLeft() : std::nullopt);
    setPressed(true);
    setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void TriggerInteractionArea::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        event->ignore();
        return;
    }
    if (const auto origin = m_tracker.moved(event->globalPosition()); origin && m_controller) {
        m_controller->moveWindow(*origin);
    }
    event->accept();
}

void TriggerInteractionArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // The pointer may have been released outside; the window may have moved under it.
    setHovering(contains(event->position()));
    setPressed(false);
    restingCursor();
    const bool wasActive = m_tracker.isActive();
    const bool didDrag = m_tracker.didDrag();
    m_tracker.end();
    event->accept();
    if (!wasActive) {
        return;
    }
    if (didDrag) {
        if (m_controller) {
            m_controller->saveCurrentPosition();
        }
    } else {
        emit activated();
    }
}

void TriggerInteractionArea::mouseUngrabEvent()
{
    m_tracker.end();
    setPressed(false);
    restingCursor();
}

} // namespace wordlumen
