#include "x11panelhints.h"

#include <QGuiApplication>
#include <QWindow>

#if defined(WORDLUMEN_HAVE_XCB) && QT_CONFIG(xcb)
#include "x11support.h"

#include <QList>

#include <cstdlib>
#endif

namespace wordlumen::X11PanelHints {

#if defined(WORDLUMEN_HAVE_XCB) && QT_CONFIG(xcb)
namespace {

// Merges into the states already set (Qt sets "above" for a stay-on-top
// window just before it maps, merging in the same way).
void addStates(xcb_connection_t *c, xcb_window_t id, const QList<xcb_atom_t> &wanted)
{
    const xcb_atom_t property = X11::atom("_NET_WM_STATE");
    QList<xcb_atom_t> states;
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, id, property, XCB_ATOM_ATOM, 0, 1024);
    if (xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr)) {
        if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
            const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
            states = QList<xcb_atom_t>(data, data + reply->value_len);
        }
        std::free(reply);
    }
    for (const xcb_atom_t state : wanted) {
        if (state != XCB_ATOM_NONE && !states.contains(state)) {
            states.append(state);
        }
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, property, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.constData());
}

} // namespace
#endif

void prepareForMap(QWindow *window)
{
#if defined(WORDLUMEN_HAVE_XCB) && QT_CONFIG(xcb)
    xcb_connection_t *c = X11::connection();
    if (!c || !window) {
        return;
    }
    const auto id = xcb_window_t(window->winId());
    const uint32_t allDesktops = 0xFFFFFFFF;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, X11::atom("_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    addStates(c, id,
              {X11::atom("_NET_WM_STATE_STICKY"), X11::atom("_NET_WM_STATE_SKIP_TASKBAR"),
               X11::atom("_NET_WM_STATE_SKIP_PAGER")});
    xcb_flush(c);
#else
    Q_UNUSED(window);
#endif
}

void setResizeGravity(QWindow *window, bool anchoredRight, bool anchoredTop)
{
#if defined(WORDLUMEN_HAVE_XCB) && QT_CONFIG(xcb)
    xcb_connection_t *c = X11::connection();
    if (!c || !window || !window->handle()) {
        return;
    }
    uint32_t gravity = XCB_GRAVITY_SOUTH_EAST;
    if (anchoredTop) {
        gravity = anchoredRight ? XCB_GRAVITY_NORTH_EAST : XCB_GRAVITY_NORTH_WEST;
    } else if (!anchoredRight) {
        gravity = XCB_GRAVITY_SOUTH_WEST;
    }
    xcb_change_window_attributes(c, xcb_window_t(window->winId()), XCB_CW_BIT_GRAVITY, &gravity);
#else
    Q_UNUSED(window);
    Q_UNUSED(anchoredRight);
    Q_UNUSED(anchoredTop);
#endif
}

} // namespace wordlumen::X11PanelHints
