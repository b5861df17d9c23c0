#include "x11keygrabber.h"

#include "x11connection.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QLoggingCategory>

#include <cstdlib>
#include <xcb/xcb.h>

namespace wordlumen {

Q_LOGGING_CATEGORY(lcKeyGrab, "wordlumen.desktop.shortcut")

namespace {

template<typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template<typename Reply>
ReplyPointer<Reply> owned(Reply *reply)
{
    return ReplyPointer<Reply>(reply, &std::free);
}

constexpr xcb_keysym_t kNumLock = 0xff7f;
constexpr xcb_keysym_t kScrollLock = 0xff14;

/// The X keysym of a Qt key, for the keys a shortcut may end in.
std::optional<xcb_keysym_t> keysymFor(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return xcb_keysym_t('a' + (key - Qt::Key_A)); // the unshifted letter
    }
    if ((key >= 0x20 && key <= 0x7e) || (key >= 0xa0 && key <= 0xff)) {
        return xcb_keysym_t(key); // Latin-1 keysyms are their characters
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) {
        return xcb_keysym_t(0xffbe + (key - Qt::Key_F1));
    }
    static constexpr std::pair<int, xcb_keysym_t> kSpecial[] = {
        {Qt::Key_Return, 0xff0d},    {Qt::Key_Enter, 0xff8d},  {Qt::Key_Tab, 0xff09},
        {Qt::Key_Backspace, 0xff08}, {Qt::Key_Insert, 0xff63}, {Qt::Key_Delete, 0xffff},
        {Qt::Key_Home, 0xff50},      {Qt::Key_End, 0xff57},    {Qt::Key_PageUp, 0xff55},
        {Qt::Key_PageDown, 0xff56},  {Qt::Key_Left, 0xff51},   {Qt::Key_Up, 0xff52},
        {Qt::Key_Right, 0xff53},     {Qt::Key_Down, 0xff54},   {Qt::Key_Print, 0xff61},
        {Qt::Key_Pause, 0xff13},     {Qt::Key_Escape, 0xff1b}, {Qt::Key_Menu, 0xff67},
    };
    for (const auto &[qtKey, keysym] : kSpecial) {
        if (qtKey == key) {
            return keysym;
        }
    }
    return std::nullopt;
}

uint16_t modifierMask(Qt::KeyboardModifiers modifiers)
{
    uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier) {
        mask |= XCB_MOD_MASK_SHIFT;
    }
    if (modifiers & Qt::ControlModifier) {
        mask |= XCB_MOD_MASK_CONTROL;
    }
    if (modifiers & Qt::AltModifier) {
        mask |= XCB_MOD_MASK_1;
    }
    if (modifiers & Qt::MetaModifier) {
        mask |= XCB_MOD_MASK_4;
    }
    return mask;
}

/// The key codes of a keysym on the current keyboard, unshifted ones first.
QList<xcb_keycode_t> keycodesFor(xcb_connection_t *connection, xcb_keysym_t keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const auto reply = owned(xcb_get_keyboard_mapping_reply(
        connection,
        xcb_get_keyboard_mapping(connection, setup->min_keycode,
                                 uint8_t(setup->max_keycode - setup->min_keycode + 1)),
        nullptr));
    QList<xcb_keycode_t> codes;
    if (!reply || reply->keysyms_per_keycode == 0) {
        return codes;
    }
    const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int count = xcb_get_keyboard_mapping_keysyms_length(reply.get());
    const int perCode = reply->keysyms_per_keycode;
    for (int column = 0; column < std::min(perCode, 2); ++column) {
        for (int index = 0; index * perCode + column < count; ++index) {
            if (keysyms[index * perCode + column] == keysym) {
                codes += xcb_keycode_t(setup->min_keycode + index);
            }
        }
    }
    return codes;
}

/// The modifier bit a lock key sets (Num Lock is usually Mod2); 0 without one.
uint16_t lockMask(xcb_connection_t *connection, xcb_keysym_t keysym)
{
    const QList<xcb_keycode_t> codes = keycodesFor(connection, keysym);
    const auto reply = owned(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!reply || codes.isEmpty()) {
        return 0;
    }
    const xcb_keycode_t *map = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (codes.contains(map[modifier * perModifier + i])) {
                return uint16_t(1u << modifier);
            }
        }
    }
    return 0;
}

} // namespace

struct X11KeyGrabber::Private
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;
    xcb_keycode_t keycode = 0;
    uint16_t modifiers = 0;
    bool grabbed = false;
    /// Every combination of the lock modifiers, the empty one first.
    QList<uint16_t> lockVariants;
    uint16_t lockBits = 0;
    xcb_timestamp_t lastRelease = 0;

    void computeLockVariants()
    {
        lockVariants = {0};
        lockBits = 0;
        for (const uint16_t lock : {uint16_t(XCB_MOD_MASK_LOCK), lockMask(connection, kNumLock),
                                    lockMask(connection, kScrollLock)}) {
            if (lock == 0 || (lockBits & lock)) {
                continue;
            }
            lockBits |= lock;
            const QList<uint16_t> before = lockVariants;
            for (const uint16_t variant : before) {
                lockVariants += uint16_t(variant | lock);
            }
        }
    }

    void ungrab(xcb_keycode_t code, uint16_t mods)
    {
        QList<xcb_void_cookie_t> cookies;
        for (const uint16_t variant : std::as_const(lockVariants)) {
            cookies += xcb_ungrab_key_checked(connection, code, root, uint16_t(mods | variant));
        }
        // Wait until the server has let go, so that another program may take
        // the keys as soon as this returns.
        for (const xcb_void_cookie_t cookie : std::as_const(cookies)) {
            owned(xcb_request_check(connection, cookie));
        }
    }

    /// Grabs every lock variant; false (with nothing left grabbed) when any is refused.
    bool grab(xcb_keycode_t code, uint16_t mods)
    {
        QList<xcb_void_cookie_t> cookies;
        for (const uint16_t variant : std::as_const(lockVariants)) {
            cookies += xcb_grab_key_checked(connection, 1, root, uint16_t(mods | variant), code,
                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        }
        bool refused = false;
        for (const xcb_void_cookie_t cookie : std::as_const(cookies)) {
            if (auto error = owned(xcb_request_check(connection, cookie))) {
                refused = true;
            }
        }
        if (refused) {
            // Only our own grabs are released; another client's stay as they were.
            ungrab(code, mods);
        }
        return !refused;
    }
};

std::unique_ptr<X11KeyGrabber> X11KeyGrabber::create(QObject *parent)
{
    xcb_connection_t *connection = X11::connection();
    if (!connection) {
        return nullptr;
    }
    auto d = std::make_unique<Private>();
    d->connection = connection;
    d->root = X11::rootWindow();
    return std::unique_ptr<X11KeyGrabber>(new X11KeyGrabber(std::move(d), parent));
}

X11KeyGrabber::X11KeyGrabber(std::unique_ptr<Private> data, QObject *parent)
    : ShortcutBackend(parent)
    , d(std::move(data))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11KeyGrabber::~X11KeyGrabber()
{
    unregister();
    if (QCoreApplication *app = QCoreApplication::instance()) {
        app->removeNativeEventFilter(this);
    }
}

void X11KeyGrabber::registerKeys(QKeyCombination keys)
{
    unregister();
    const auto keysym = keysymFor(keys.key());
    const QList<xcb_keycode_t> codes =
        keysym ? keycodesFor(d->connection, *keysym) : QList<xcb_keycode_t>();
    if (codes.isEmpty()) {
        emit failed(Failure::NotMappable);
        return;
    }
    // The lock keys may sit elsewhere since the last grab (another layout).
    d->computeLockVariants();
    const uint16_t mods = modifierMask(keys.keyboardModifiers());
    if (!d->grab(codes.constFirst(), mods)) {
        qCInfo(lcKeyGrab).noquote()
            << QKeySequence(keys).toString() << "is held by another program";
        emit failed(Failure::Taken);
        return;
    }
    d->keycode = codes.constFirst();
    d->modifiers = mods;
    d->grabbed = true;
    emit registered(QKeySequence(keys).toString(QKeySequence::NativeText));
}

void X11KeyGrabber::unregister()
{
    if (!d->grabbed) {
        return;
    }
    d->ungrab(d->keycode, d->modifiers);
    d->grabbed = false;
}

bool X11KeyGrabber::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (!d->grabbed || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    const auto *key = reinterpret_cast<const xcb_key_press_event_t *>(event);
    constexpr uint16_t kModifierBits = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_LOCK |
                                       XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2 |
                                       XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;
    const uint16_t modifiers = key->state & kModifierBits & uint16_t(~d->lockBits);
    if (key->detail != d->keycode || modifiers != d->modifiers) {
        return false;
    }
    if (type == XCB_KEY_RELEASE) {
        d->lastRelease = key->time;
    } else if (key->time != d->lastRelease || d->lastRelease == 0) {
        // A held key repeats as a release and a press with the same time stamp: one press counts.
        emit activated();
    }
    // Qt sees the event too: its time stamp lets the window manager give the
    // card the focus that a key press asked for.
    return false;
}

} // namespace wordlumen
