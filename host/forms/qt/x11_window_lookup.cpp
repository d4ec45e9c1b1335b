#include "host/forms/qt/x11_window_lookup.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace kestrune::forms::x11 {

namespace {

struct FreeDeleter {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeDeleter>;

xcb_atom_t Atom(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie) {
    ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// Latin-1 bytes as UTF-8, so that a STRING title compares with a UTF-8 one.
std::string Latin1ToUtf8(const char* bytes, int length) {
    std::string text;
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

bool TitleIs(xcb_connection_t* connection, xcb_get_property_cookie_t cookie, xcb_atom_t latin1,
             std::string_view title) {
    ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format != 8 || reply->bytes_after != 0) {
        return false;
    }
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    if (reply->type == latin1) {
        return Latin1ToUtf8(bytes, length) == title;
    }
    return std::string_view(bytes, static_cast<std::size_t>(length)) == title;
}

struct Pending {
    xcb_window_t window;
    xcb_get_property_cookie_t utf8Name;
    xcb_get_property_cookie_t plainName;
    xcb_query_tree_cookie_t tree;
};

} // namespace

unsigned long FindWindowByTitle(::_XDisplay* display, std::string_view title) {
    if (!display) {
        return 0;
    }
    xcb_connection_t* connection = XGetXCBConnection(display);
    const auto netWmNameCookie = xcb_intern_atom(connection, 0, 12, "_NET_WM_NAME");
    const auto utf8Cookie = xcb_intern_atom(connection, 0, 11, "UTF8_STRING");
    const xcb_atom_t netWmName = Atom(connection, netWmNameCookie);
    const xcb_atom_t utf8 = Atom(connection, utf8Cookie);
    // Reading one byte more than the title holds tells a longer title apart.
    const auto words = static_cast<std::uint32_t>(title.size() / 4 + 1);

    std::vector<xcb_window_t> level;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem;
         xcb_screen_next(&it)) {
        level.push_back(it.data->root);
    }
    // The tree is walked a level at a time, with every request of a level
    // sent before the first answer is read: one round trip per level instead
    // of three per window, which keeps a watch that looks twice a second
    // cheap even on a desktop with hundreds of windows.
    unsigned long found = 0;
    while (!level.empty() && found == 0) {
        std::vector<Pending> pending;
        pending.reserve(level.size());
        for (const xcb_window_t window : level) {
            pending.push_back({window,
                               xcb_get_property(connection, 0, window, netWmName, utf8, 0, words),
                               xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, words),
                               xcb_query_tree(connection, window)});
        }
        std::vector<xcb_window_t> next;
        for (const Pending& request : pending) {
            if (found != 0) {
                xcb_discard_reply(connection, request.utf8Name.sequence);
                xcb_discard_reply(connection, request.plainName.sequence);
                xcb_discard_reply(connection, request.tree.sequence);
                continue;
            }
            // Both answers are read even after a match, so that no reply is
            // left behind on the connection.
            const bool utf8Match = TitleIs(connection, request.utf8Name, XCB_ATOM_STRING, title);
            const bool plainMatch = TitleIs(connection, request.plainName, XCB_ATOM_STRING, title);
            // A window that vanished during the walk answers with an error,
            // which the reply functions hand back and free here.
            ReplyPtr<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(connection, request.tree, nullptr));
            if (utf8Match || plainMatch) {
                found = request.window;
                continue;
            }
            if (tree) {
                const xcb_window_t* children = xcb_query_tree_children(tree.get());
                next.insert(next.end(), children,
                            children + xcb_query_tree_children_length(tree.get()));
            }
        }
        level = std::move(next);
    }
    return found;
}

} // namespace kestrune::forms::x11
