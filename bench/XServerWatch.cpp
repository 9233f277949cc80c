#include "XServerWatch.h"

#include "nulpeer.h"

#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr std::uint32_t ReturnKeysym = 0xff0d;

struct FreeDeleter
{
    void operator()(void *pointer) const { std::free(pointer); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

} // namespace

XServerWatch::~XServerWatch()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool XServerWatch::open(const QString &display)
{
    int screenNumber = 0;
    m_connection = xcb_connect(display.toLocal8Bit().constData(), &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        m_error = QStringLiteral("cannot connect to the X server %1").arg(display);
        return false;
    }
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    m_root = screens.data->root;
    const Reply<xcb_test_get_version_reply_t> xtest(xcb_test_get_version_reply(
        m_connection, xcb_test_get_version(m_connection, 2, 2), nullptr));
    if (!xtest) {
        m_error = QStringLiteral("the X server has no XTest extension");
        return false;
    }

    // The keycode that gives Return in the server's keyboard map.
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const Reply<xcb_get_keyboard_mapping_reply_t> map(xcb_get_keyboard_mapping_reply(
        m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, count), nullptr));
    if (map) {
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(map.get());
        const int perKeycode = map->keysyms_per_keycode;
        for (int i = 0; i < count * perKeycode && m_returnKeycode == 0; ++i) {
            if (keysyms[i] == ReturnKeysym)
                m_returnKeycode = std::uint8_t(setup->min_keycode + i / perKeycode);
        }
    }
    if (m_returnKeycode == 0) {
        m_error = QStringLiteral("no keycode gives Return");
        return false;
    }
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    const Reply<xcb_generic_error_t> failed(xcb_request_check(
        m_connection,
        xcb_change_window_attributes_checked(m_connection, m_root, XCB_CW_EVENT_MASK, &mask)));
    if (failed) {
        m_error = QStringLiteral("cannot watch the root window");
        return false;
    }
    return true;
}

QByteArray XServerWatch::title(std::uint32_t window)
{
    const Reply<xcb_get_property_reply_t> name(
        xcb_get_property_reply(m_connection,
                               xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NAME,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                               nullptr));
    if (!name)
        return {};
    return QByteArray(static_cast<const char *>(xcb_get_property_value(name.get())),
                      xcb_get_property_value_length(name.get()));
}

XServerWatch::Mapped XServerWatch::waitForMap(const QByteArray &wanted, int timeoutMs)
{
    const std::uint64_t deadline = nul_now_ns() + std::uint64_t(timeoutMs) * 1000000;
    for (;;) {
        Reply<xcb_generic_event_t> event(xcb_poll_for_event(m_connection));
        if (!event) {
            const std::uint64_t now = nul_now_ns();
            if (now >= deadline || xcb_connection_has_error(m_connection))
                return {};
            pollfd watched{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&watched, 1, int((deadline - now) / 1000000) + 1);
            continue;
        }
        // The moment is taken before the title is asked for, which costs a round trip.
        const std::uint64_t readNs = nul_now_ns();
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
            continue;
        const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event.get());
        if (!map->override_redirect && title(map->window).contains(wanted))
            return {map->window, readNs};
    }
}

void XServerWatch::drain()
{
    // A round trip first, so that every event the server has generated so far is here.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    while (Reply<xcb_generic_event_t>(xcb_poll_for_event(m_connection)))
        ;
}

std::uint64_t XServerWatch::pressReturn(std::uint32_t window)
{
    xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    // The focus change is through before the clock starts.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    const std::uint64_t sent = nul_now_ns();
    xcb_test_fake_input(m_connection, XCB_KEY_PRESS, m_returnKeycode, XCB_CURRENT_TIME, XCB_NONE, 0,
                        0, 0);
    xcb_test_fake_input(m_connection, XCB_KEY_RELEASE, m_returnKeycode, XCB_CURRENT_TIME, XCB_NONE,
                        0, 0, 0);
    xcb_flush(m_connection);
    return sent;
}
