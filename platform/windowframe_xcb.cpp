// The frame before the first show on X11: asked of the window manager.

#include "windowframe.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace platform {

namespace {

template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a window's property (none if it is unset).
std::vector<quint32> property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                              xcb_atom_t type)
{
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 1024), nullptr),
        &std::free);
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto* values = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

} // namespace

QMargins frameBeforeShow(QWidget* form)
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    const auto window = static_cast<xcb_window_t>(form->winId());
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
    if (!geometry)
        return {};
    const xcb_window_t root = geometry->root;
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");

    // A window manager runs (its check window names itself) and answers.
    const auto wm = property(c, root, check, XCB_ATOM_WINDOW);
    if (wm.empty() || property(c, wm[0], check, XCB_ATOM_WINDOW) != wm)
        return {};
    const auto supported = property(c, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    if (std::find(supported.begin(), supported.end(), request) == supported.end())
        return {};

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = request;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    using namespace std::chrono_literals;
    for (auto waited = 0ms; waited < 500ms; waited += 5ms) {
        // Left, right, top, bottom.
        if (const auto frame = property(c, window, extents, XCB_ATOM_CARDINAL); frame.size() == 4)
            return {static_cast<int>(frame[0]), static_cast<int>(frame[2]),
                    static_cast<int>(frame[1]), static_cast<int>(frame[3])};
        std::this_thread::sleep_for(5ms);
    }
    return {};
}

} // namespace platform
