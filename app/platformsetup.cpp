#include "platformsetup.h"

#include "core/identity.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace wordlumen::PlatformSetup {

void beforeApplication()
{
    const bool wayland =
        qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    }

    // The software renderer starts faster and uses less memory for a panel
    // this small, and animates it smoothly (README, "Performance").
    // QT_QUICK_BACKEND or QSG_RHI_BACKEND still choose another.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") &&
        qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND")) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
}

void afterApplication()
{
    Identity::applyToApplication();
    // Small CJK type is crisper hinted by the font engine than as distance fields.
    QQuickWindow::setTextRenderType(QQuickWindow::NativeTextRendering);
}

} // namespace wordlumen::PlatformSetup
