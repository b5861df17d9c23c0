#include "x11connection.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QHash>

#include <cstdlib>
#include <cstring>

#if !QT_CONFIG(xcb)
#error                                                                                             \
    "The X11 backends need a Qt built with its xcb platform (configure with -DWORDLUMEN_WITH_X11=OFF)"
#endif

namespace wordlumen::X11 {

xcb_connection_t *connection()
{
    if (!qGuiApp) {
        return nullptr;
    }
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(const char *name)
{
    static QHash<QByteArray, xcb_atom_t> cache;
    const QByteArray key(name);
    if (const auto found = cache.constFind(key); found != cache.cend()) {
        return *found;
    }
    xcb_connection_t *c = connection();
    if (!c) {
        return XCB_ATOM_NONE;
    }
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    if (result != XCB_ATOM_NONE) {
        cache.insert(key, result);
    }
    return result;
}

int defaultScreenNumber()
{
    // Qt connects to the screen DISPLAY names; ".N" after the display number.
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.indexOf('.', colon + 1);
    if (colon < 0 || dot < 0) {
        return 0;
    }
    bool ok = false;
    const int number = display.mid(dot + 1).toInt(&ok);
    return ok ? number : 0;
}

xcb_window_t rootWindow()
{
    xcb_connection_t *c = connection();
    if (!c) {
        return XCB_WINDOW_NONE;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int n = defaultScreenNumber(); n > 0 && it.rem > 1; --n) {
        xcb_screen_next(&it);
    }
    return it.rem > 0 ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

} // namespace wordlumen::X11
