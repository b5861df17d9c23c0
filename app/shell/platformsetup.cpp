#include "platformsetup.h"

#include "core/identity.h"
#include "desktop/desktopservices.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace wordlumen::PlatformSetup {

void beforeApplication()
{
    DesktopServices::prepareBeforeApplication();

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
