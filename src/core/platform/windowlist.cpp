// Enumerating the X display's top-level windows with xcb.
//
// Requests go out in batches (all attribute queries, then all title queries) and the replies
// are collected afterwards, so a desktop with many windows costs a few round trips.
#include "core/platform/windowlist.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace qz {

namespace {

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// The reply of a request, or null when the request failed (the window vanished, say); the
// error is taken here so that it does not pile up in the event queue.
template <typename T, typename Cookie, typename Fn>
Reply<T> takeReply(xcb_connection_t *conn, Cookie cookie, Fn replyFn)
{
    xcb_generic_error_t *error = nullptr;
    Reply<T> reply(replyFn(conn, cookie, &error));
    std::free(error);
    return reply;
}

struct Connection {
    explicit Connection(const QByteArray &displayName)
    {
        conn = xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), &screen);
    }
    ~Connection() { xcb_disconnect(conn); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool ok() const { return conn != nullptr && xcb_connection_has_error(conn) == 0; }

    xcb_connection_t *conn = nullptr;
    int screen = 0;
};

xcb_window_t rootOf(const Connection &c)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c.conn));
    for (int i = 0; i < c.screen && it.rem > 0; ++i) {
        xcb_screen_next(&it);
    }
    return it.rem > 0 ? it.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

// XCB_ATOM_NONE when no client has ever named the atom: then no window can carry it.
xcb_atom_t existingAtom(xcb_connection_t *conn, const char *name)
{
    const auto cookie =
        xcb_intern_atom(conn, 1, static_cast<std::uint16_t>(std::strlen(name)), name);
    const auto reply = takeReply<xcb_intern_atom_reply_t>(conn, cookie, xcb_intern_atom_reply);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The whole value of a property, whatever its length.
xcb_get_property_cookie_t askProperty(xcb_connection_t *conn, xcb_window_t window,
                                      xcb_atom_t property, xcb_atom_t type)
{
    return xcb_get_property(conn, 0, window, property, type, 0,
                            std::numeric_limits<std::uint32_t>::max() / 4);
}

// The windows the window manager lists, or nullopt when no _NET_CLIENT_LIST is set.
std::optional<std::vector<xcb_window_t>> clientList(xcb_connection_t *conn, xcb_window_t root,
                                                    xcb_atom_t clientListAtom)
{
    if (clientListAtom == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    const auto reply = takeReply<xcb_get_property_reply_t>(
        conn, askProperty(conn, root, clientListAtom, XCB_ATOM_WINDOW), xcb_get_property_reply);
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32) {
        return std::nullopt;
    }
    const auto *ids = static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    // _NET_CLIENT_LIST runs from the oldest window; the newest is the likeliest on top.
    std::vector<xcb_window_t> windows(ids, ids + count);
    return std::vector<xcb_window_t>(windows.rbegin(), windows.rend());
}

// The root's children from the top of the stack down (the server lists them bottom first).
std::vector<xcb_window_t> rootChildren(xcb_connection_t *conn, xcb_window_t root)
{
    const auto reply =
        takeReply<xcb_query_tree_reply_t>(conn, xcb_query_tree(conn, root), xcb_query_tree_reply);
    if (!reply) {
        return {};
    }
    const xcb_window_t *ids = xcb_query_tree_children(reply.get());
    const int count = xcb_query_tree_children_length(reply.get());
    std::vector<xcb_window_t> windows(ids, ids + count);
    return std::vector<xcb_window_t>(windows.rbegin(), windows.rend());
}

// Text of a name property in UTF-8. A title ends at its first NUL, as a C string would.
// WM_NAME is Latin-1 when its type is STRING, and so is COMPOUND_TEXT without escape
// sequences; text with escape sequences (other character sets) is kept as it is.
QByteArray nameText(const xcb_get_property_reply_t *reply, xcb_atom_t utf8Atom)
{
    if (reply == nullptr || reply->format != 8 || reply->type == XCB_ATOM_NONE) {
        return {};
    }
    QByteArray bytes(static_cast<const char *>(
                         xcb_get_property_value(const_cast<xcb_get_property_reply_t *>(reply))),
                     xcb_get_property_value_length(const_cast<xcb_get_property_reply_t *>(reply)));
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0) {
        bytes.truncate(nul);
    }
    if (reply->type == utf8Atom || bytes.contains('\x1b')) {
        return bytes;
    }
    return QString::fromLatin1(bytes).toUtf8();
}

} // namespace

std::optional<QList<TopLevelWindow>> topLevelWindows(const QByteArray &displayName)
{
    if (displayName.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY")) {
        return std::nullopt;
    }
    const Connection c(displayName);
    if (!c.ok()) {
        return std::nullopt;
    }
    xcb_connection_t *conn = c.conn;
    const xcb_window_t root = rootOf(c);
    if (root == XCB_WINDOW_NONE) {
        return std::nullopt;
    }
    const xcb_atom_t clientListAtom = existingAtom(conn, "_NET_CLIENT_LIST");
    const xcb_atom_t netNameAtom = existingAtom(conn, "_NET_WM_NAME");
    const xcb_atom_t utf8Atom = existingAtom(conn, "UTF8_STRING");

    std::optional<std::vector<xcb_window_t>> listed = clientList(conn, root, clientListAtom);
    const std::vector<xcb_window_t> ids = listed ? std::move(*listed) : rootChildren(conn, root);

    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_property_cookie_t> netNames;
    std::vector<xcb_get_property_cookie_t> wmNames;
    const bool haveNetName = netNameAtom != XCB_ATOM_NONE && utf8Atom != XCB_ATOM_NONE;
    for (const xcb_window_t id : ids) {
        attributes.push_back(xcb_get_window_attributes(conn, id));
        if (haveNetName) {
            netNames.push_back(askProperty(conn, id, netNameAtom, utf8Atom));
        }
        wmNames.push_back(askProperty(conn, id, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY));
    }

    QList<TopLevelWindow> windows;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto attr = takeReply<xcb_get_window_attributes_reply_t>(
            conn, attributes[i], xcb_get_window_attributes_reply);
        QByteArray title;
        if (haveNetName) {
            const auto reply =
                takeReply<xcb_get_property_reply_t>(conn, netNames[i], xcb_get_property_reply);
            title = nameText(reply.get(), utf8Atom);
        }
        const auto wmName =
            takeReply<xcb_get_property_reply_t>(conn, wmNames[i], xcb_get_property_reply);
        if (title.isEmpty()) {
            title = nameText(wmName.get(), utf8Atom);
        }
        if (!attr) {
            continue; // gone while we looked
        }
        windows.append(
            TopLevelWindow{ids[i], attr->map_state == XCB_MAP_STATE_VIEWABLE, std::move(title)});
    }
    return windows;
}

std::optional<QList<QByteArray>> visibleTopLevelTitles(const QByteArray &displayName)
{
    const std::optional<QList<TopLevelWindow>> windows = topLevelWindows(displayName);
    if (!windows) {
        return std::nullopt;
    }
    QList<QByteArray> titles;
    for (const TopLevelWindow &w : *windows) {
        if (w.viewable && !w.title.isEmpty()) {
            titles.append(w.title);
        }
    }
    return titles;
}

bool CorreApp(const QString &sApp)
{
    if (sApp.isEmpty()) {
        return false;
    }
    const QByteArray wanted = sApp.toUtf8();
    const std::optional<QList<QByteArray>> titles = visibleTopLevelTitles();
    return titles && titles->contains(wanted);
}

} // namespace qz
