#include "desktopservices.h"

#include "desktop/appearance.h"
#include "desktop/compositorstatus.h"
#include "desktop/instancechannel.h"
#include "desktop/loginitem.h"
#include "desktop/panelhints.h"
#include "desktop/selectionsource.h"
#include "desktop/shortcutbackend.h"
#include "generic/clipboardselection.h"
#include "generic/localsocketchannel.h"
#include "generic/paletteappearance.h"
#include "generic/qtpanelhints.h"
#include "generic/steadycompositor.h"
#include "generic/unavailableloginitem.h"

#include <QGuiApplication>

// The only conditional code of the desktop layer: which backend folders this
// build has. CMake adds a folder and defines its macro.
#if defined(WORDLUMEN_WITH_X11)
#include "x11/x11compositorwatch.h"
#include "x11/x11keygrabber.h"
#include "x11/x11panelhints.h"
#endif
#if defined(WORDLUMEN_WITH_DBUS)
#include "xdg/autostartfile.h"
#include "xdg/portalappearance.h"
#include "xdg/portalshortcut.h"

#include <QDBusConnection>
#endif
#if defined(WORDLUMEN_WITH_LINUX)
#include "linux/abstractsocketchannel.h"
#endif

namespace wordlumen::DesktopServices {

namespace {

[[maybe_unused]] bool onX11()
{
    return QGuiApplication::platformName() == u"xcb";
}

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

/// A Wayland session, even for a program that runs on XWayland.
bool inWaylandSession()
{
    return onWayland() || qgetenv("XDG_SESSION_TYPE") == "wayland" ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

void prepareBeforeApplication()
{
#if defined(WORDLUMEN_WITH_X11)
    const bool wayland =
        qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    }
#endif
}

PanelHints &panelHints()
{
#if defined(WORDLUMEN_WITH_X11)
    if (onX11()) {
        static X11PanelHints x11;
        return x11;
    }
#endif
    // On Wayland a window's mask is its input region, and windows are always
    // composited; elsewhere the mask cuts what the window shows.
    if (onWayland()) {
        static QtPanelHints wayland(QtPanelHints::MaskUse::Input);
        return wayland;
    }
    static QtPanelHints generic(QtPanelHints::MaskUse::Shape);
    return generic;
}

std::unique_ptr<CompositorStatus> makeCompositorStatus(QObject *parent)
{
#if defined(WORDLUMEN_WITH_X11)
    if (onX11()) {
        return std::make_unique<X11CompositorWatch>(parent);
    }
#endif
    return std::make_unique<SteadyCompositor>(parent);
}

std::unique_ptr<Appearance> makeAppearance(QObject *parent)
{
    auto palette = std::make_unique<PaletteAppearance>();
#if defined(WORDLUMEN_WITH_DBUS)
    if (QDBusConnection::sessionBus().isConnected()) {
        return std::make_unique<PortalAppearance>(palette.release(), parent);
    }
#endif
    palette->setParent(parent);
    return palette;
}

std::unique_ptr<ShortcutBackend> makeShortcutBackend()
{
    // Without a display of its own (offscreen, minimal) there is no desktop to ask.
    const QString platform = QGuiApplication::platformName();
    if (platform == u"offscreen" || platform == u"minimal") {
        return nullptr;
    }
    // On Wayland an X11 grab only sees keys typed into XWayland windows, so
    // even a program on XWayland asks the portal.
#if defined(WORDLUMEN_WITH_DBUS)
    if (inWaylandSession()) {
        return std::make_unique<PortalShortcut>();
    }
#else
    if (inWaylandSession()) {
        return nullptr;
    }
#endif
#if defined(WORDLUMEN_WITH_X11)
    if (onX11()) {
        return X11KeyGrabber::create();
    }
#endif
    return nullptr;
}

std::unique_ptr<LoginItem> makeLoginItem()
{
#if defined(WORDLUMEN_WITH_DBUS)
    return std::make_unique<AutostartFile>(AutostartFile::defaultPath());
#else
    return std::make_unique<UnavailableLoginItem>();
#endif
}

std::unique_ptr<InstanceChannel> makeInstanceChannel()
{
#if defined(WORDLUMEN_WITH_LINUX)
    return std::make_unique<AbstractSocketChannel>();
#else
    return std::make_unique<LocalSocketChannel>();
#endif
}

std::unique_ptr<SelectionSource> makeSelectionSource()
{
    return std::make_unique<ClipboardSelection>();
}

} // namespace wordlumen::DesktopServices
