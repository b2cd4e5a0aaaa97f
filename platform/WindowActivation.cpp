#include "platform/WindowActivation.h"

#include <QGuiApplication>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include <xcb/xcb.h>

namespace {

constexpr char kActivationToken[] = "XDG_ACTIVATION_TOKEN";
constexpr char kStartupId[] = "DESKTOP_STARTUP_ID";

// Source indication of a request on behalf of the user (a pager's): the
// user asked for the window by starting the program again or by a key.
constexpr uint32_t kSourceUser = 2;
constexpr uint32_t kAllDesktops = 0xFFFFFFFF;

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t& connection, const char* name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(&connection, xcb_intern_atom(&connection, 0, uint16_t(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// A CARDINAL property of the window; none when it is not set.
std::optional<uint32_t> Cardinal(xcb_connection_t& connection, xcb_window_t window, const char* property)
{
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            &connection, xcb_get_property(&connection, 0, window, Atom(connection, property), XCB_ATOM_CARDINAL, 0, 1),
            nullptr),
        &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) < int(sizeof(uint32_t)))
        return std::nullopt;
    return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
}

// A request about the window to the window manager, sent to the root as EWMH asks.
void SendToWindowManager(xcb_connection_t& connection, xcb_window_t root, xcb_window_t window, const char* type,
                         uint32_t first, uint32_t second)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(connection, type);
    event.data.data32[0] = first;
    event.data.data32[1] = second;
    xcb_send_event(&connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// The time of the user's action that started the program: a startup id ends
// in it ("..._TIME1234"). Without it, the window manager's own time.
uint32_t StartTime(const QByteArray& startId)
{
    constexpr QByteArrayView kTimeMark = "_TIME";
    const qsizetype at = startId.lastIndexOf(kTimeMark);
    bool ok = false;
    const uint time = at < 0 ? 0 : startId.mid(at + kTimeMark.size()).toUInt(&ok);
    return ok ? time : uint32_t(XCB_CURRENT_TIME);
}

// The window manager is asked to move the window to the desktop the user is
// on and to activate it there, which also restores it; a window left on
// another desktop would otherwise stay out of sight, or pull the user away.
void BringX11WindowToUser(xcb_connection_t& connection, xcb_window_t window, const QByteArray& startId)
{
    const XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(&connection, xcb_query_tree(&connection, window), nullptr), &std::free);
    if (!tree)
        return;
    const std::optional<uint32_t> current = Cardinal(connection, tree->root, "_NET_CURRENT_DESKTOP");
    const std::optional<uint32_t> desktop = Cardinal(connection, window, "_NET_WM_DESKTOP");
    if (current && desktop && *desktop != *current && *desktop != kAllDesktops)
        SendToWindowManager(connection, tree->root, window, "_NET_WM_DESKTOP", *current, kSourceUser);
    SendToWindowManager(connection, tree->root, window, "_NET_ACTIVE_WINDOW", kSourceUser, StartTime(startId));
    xcb_flush(&connection);
}

}  // namespace

QByteArray GetStartToken()
{
    const QByteArray token = qgetenv(kActivationToken);
    return token.isEmpty() ? qgetenv(kStartupId) : token;
}

void BringWindowToUser(QWindow& window, const QByteArray& startToken)
{
    window.setWindowStates(window.windowStates() & ~Qt::WindowMinimized);
    window.raise();
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->connection() != nullptr) {
        BringX11WindowToUser(*x11->connection(), static_cast<xcb_window_t>(window.winId()), startToken);
        return;
    }
    // The Wayland plug-in activates the window with the token it finds in the
    // environment; the token is another start's, so it goes again at once.
    if (!startToken.isEmpty())
        qputenv(kActivationToken, startToken);
    window.requestActivate();
    if (!startToken.isEmpty())
        qunsetenv(kActivationToken);
}
