#include "x11panelhints.h"

#include <QGuiApplication>
#include <QWindow>

#if defined(WORDLUMEN_HAVE_XCB) && QT_CONFIG(xcb)
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

namespace wordlumen {

#if defined(WORDLUMEN_HAVE_XCB) && QT_CONFIG(xcb)
namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

} // namespace
#endif

void requestAllWorkspaces(QWindow *window)
{
#if defined(WORDLUMEN_HAVE_XCB) && QT_CONFIG(xcb)
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) {
        return;
    }
    xcb_connection_t *connection = x11->connection();
    const auto id = xcb_window_t(window->winId());
    const uint32_t allDesktops = 0xFFFFFFFF;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, "_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    const xcb_atom_t sticky = atom(connection, "_NET_WM_STATE_STICKY");
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, atom(connection, "_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, 1, &sticky);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

} // namespace wordlumen
