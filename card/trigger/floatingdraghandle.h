#pragma once

#include "card/panel/floatingcardwindowcontroller.h"
#include "paneldragtracker.h"

#include <QPointer>
#include <QQuickItem>

namespace wordlumen {

/**
 * The drag strip behind each open face's title: dragging it moves the panel
 * with no click threshold, and every release stores the position, even when
 * nothing moved.
 */
class FloatingDragHandle : public QQuickItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingDragHandle)
    QML_ELEMENT

    Q_PROPERTY(wordlumen::FloatingCardWindowController *controller READ controller WRITE
                   setController NOTIFY controllerChanged)

public:
    explicit FloatingDragHandle(QQuickItem *parent = nullptr);
    ~FloatingDragHandle() override;

    [[nodiscard]] FloatingCardWindowController *controller() const { return m_controller; }
    void setController(FloatingCardWindowController *controller);

signals:
    void controllerChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseUngrabEvent() override;

private:
    QPointer<FloatingCardWindowController> m_controller;
    PanelDragTracker m_tracker;
};

} // namespace wordlumen
