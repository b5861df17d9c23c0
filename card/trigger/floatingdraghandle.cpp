#include "floatingdraghandle.h"

#include "card/panel/floatingcardwindowcontroller.h"

#include <QCursor>

namespace wordlumen {

FloatingDragHandle::FloatingDragHandle(QQuickItem *parent)
    : QQuickItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
}

FloatingDragHandle::~FloatingDragHandle() = default;

void FloatingDragHandle::setController(FloatingCardWindowController *controller)
{
    if (m_controller == controller) {
        return;
    }
    m_controller = controller;
    emit controllerChanged();
}

void FloatingDragHandle::mousePressEvent(QMouseEvent *event)
{
    m_tracker.begin(event->globalPosition(),
                    m_controller ? m_controller->panelTopLeft() : std::nullopt);
    setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void FloatingDragHandle::mouseMoveEvent(QMouseEvent *event)
{
    if (const auto origin = m_tracker.moved(event->globalPosition()); origin && m_controller) {
        m_controller->moveWindow(*origin);
    }
    event->accept();
}

void FloatingDragHandle::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasActive = m_tracker.isActive();
    m_tracker.end();
    setCursor(Qt::ArrowCursor);
    event->accept();
    if (wasActive && m_controller) {
        m_controller->saveCurrentPosition();
    }
}

void FloatingDragHandle::mouseUngrabEvent()
{
    m_tracker.end();
    setCursor(Qt::ArrowCursor);
}

} // namespace wordlumen
