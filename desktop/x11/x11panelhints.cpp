#include "x11panelhints.h"

#include "x11connection.h"

#include <QList>
#include <QRegion>
#include <QWindow>

#include <cstdlib>
#include <xcb/shape.h>

namespace wordlumen {

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

/// The region's rectangles in the window's device pixels.
QList<xcb_rectangle_t> deviceRectangles(const QWindow *window, const QRegion &region)
{
    const double dpr = window->devicePixelRatio();
    QList<xcb_rectangle_t> rectangles;
    for (const QRect &rect : region) {
        const QRect device =
            QRectF(QPointF(rect.topLeft()) * dpr, QSizeF(rect.size()) * dpr).toAlignedRect();
        rectangles.append({int16_t(device.x()), int16_t(device.y()), uint16_t(device.width()),
                           uint16_t(device.height())});
    }
    return rectangles;
}

} // namespace

void X11PanelHints::prepareForMap(QWindow *window)
{
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
}

void X11PanelHints::setResizeGravity(QWindow *window, bool anchoredRight, bool anchoredTop)
{
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
}

void X11PanelHints::setShape(QWindow *window, const QRegion &shape)
{
    // Qt sets the window's bounding shape from its mask.
    if (window && window->mask() != shape) {
        window->setMask(shape);
    }
}

void X11PanelHints::setInputShape(QWindow *window, const QRegion &region)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window || !window->handle()) {
        return;
    }
    const auto id = xcb_window_t(window->winId());
    if (region.isEmpty()) {
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, id, 0, 0, XCB_PIXMAP_NONE);
    } else {
        const QList<xcb_rectangle_t> rectangles = deviceRectangles(window, region);
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                             id, 0, 0, uint32_t(rectangles.size()), rectangles.constData());
    }
    xcb_flush(c);
}

void X11PanelHints::setBlurBehind(QWindow *window, const QRegion &region)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window || !window->handle()) {
        return;
    }
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t property = X11::atom("_KDE_NET_WM_BLUR_BEHIND_REGION");
    if (region.isEmpty()) {
        xcb_delete_property(c, id, property);
    } else {
        // x, y, width, height for each rectangle, as 32-bit cardinals.
        QList<uint32_t> values;
        for (const xcb_rectangle_t &rect : deviceRectangles(window, region)) {
            values << uint32_t(rect.x) << uint32_t(rect.y) << rect.width << rect.height;
        }
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, property, XCB_ATOM_CARDINAL, 32,
                            uint32_t(values.size()), values.constData());
    }
    xcb_flush(c);
}

} // namespace wordlumen
