#include "x11compositorwatch.h"

#include "x11connection.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdlib>
#include <xcb/xfixes.h>

namespace wordlumen {

namespace {

// Without XFixes the owner is asked again at this interval.
constexpr int kPollMilliseconds = 2000;

} // namespace

X11CompositorWatch::X11CompositorWatch(QObject *parent)
    : CompositorStatus(parent)
{
    xcb_connection_t *c = X11::connection();
    if (!c) {
        return;
    }
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(X11::defaultScreenNumber());
    m_selection = X11::atom(name.constData());
    m_blurAtom = X11::atom("_KDE_NET_WM_BLUR_BEHIND_REGION");
    // The root window's property changes, added to the events Qt already asks for.
    const xcb_window_t root = X11::rootWindow();
    if (xcb_get_window_attributes_reply_t *attributes =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr)) {
        const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
        std::free(attributes);
        xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        // The version must be agreed on before any other XFixes request.
        std::free(xcb_xfixes_query_version_reply(
            c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        m_xfixesEvent = xfixes->first_event;
        xcb_xfixes_select_selection_input(
            c, X11::rootWindow(), m_selection,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        xcb_flush(c);
    } else {
        auto *poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, &X11CompositorWatch::readOwner);
        poll->start(kPollMilliseconds);
    }
    readOwner();
    readBlurSupport();
}

X11CompositorWatch::~X11CompositorWatch()
{
    if (m_blurAtom != 0 && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void X11CompositorWatch::readOwner()
{
    xcb_connection_t *c = X11::connection();
    if (!c) {
        return;
    }
    xcb_get_selection_owner_reply_t *reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_selection), nullptr);
    setCompositing(reply && reply->owner != XCB_WINDOW_NONE);
    std::free(reply);
}

void X11CompositorWatch::readBlurSupport()
{
    xcb_connection_t *c = X11::connection();
    if (!c) {
        return;
    }
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, X11::rootWindow(), m_blurAtom, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
        nullptr);
    setBlurBehind(reply && reply->type != XCB_ATOM_NONE);
    std::free(reply);
}

bool X11CompositorWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_PROPERTY_NOTIFY) {
        const auto *notify = static_cast<const xcb_property_notify_event_t *>(message);
        if (notify->window == X11::rootWindow() && notify->atom == m_blurAtom) {
            setBlurBehind(notify->state == XCB_PROPERTY_NEW_VALUE);
        }
    } else if (m_xfixesEvent != 0 && type == m_xfixesEvent + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto *notify = static_cast<const xcb_xfixes_selection_notify_event_t *>(message);
        if (notify->selection == m_selection) {
            setCompositing(notify->owner != XCB_WINDOW_NONE);
        }
    }
    // Qt's own handling of the event goes on.
    return false;
}

void X11CompositorWatch::setCompositing(bool compositing)
{
    if (m_compositing == compositing) {
        return;
    }
    const bool blurred = offersBlurBehind();
    m_compositing = compositing;
    emit compositingChanged();
    if (offersBlurBehind() != blurred) {
        emit blurBehindChanged();
    }
}

void X11CompositorWatch::setBlurBehind(bool blur)
{
    if (m_blurBehind == blur) {
        return;
    }
    const bool blurred = offersBlurBehind();
    m_blurBehind = blur;
    if (offersBlurBehind() != blurred) {
        emit blurBehindChanged();
    }
}

} // namespace wordlumen
