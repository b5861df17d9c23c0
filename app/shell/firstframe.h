#pragma once

#include <QObject>
#include <QQuickWindow>

#include <memory>

namespace wordlumen {

/// Runs `action` once, after the window's next frame is on screen.
template<typename Action>
void afterFirstFrame(QQuickWindow *window, QObject *context, Action action)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection =
        QObject::connect(window, &QQuickWindow::frameSwapped, context, [connection, action] {
            QObject::disconnect(*connection);
            action();
        });
}

} // namespace wordlumen
