// Without a window manager the top-level windows are children of a root; a
// reparenting window manager puts each into a frame of its own, one or two
// levels further down. The search therefore goes down level by level, topmost
// window first, and sends the requests for a whole level before reading any
// answer, so it costs one round trip per level.
#include "events/linux/x11_window_search.h"

#include "text/latin1_utf8.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace zyn::events {

namespace {

constexpr int kLevels = 4; // the roots' children, and three levels inside frames

xcb_atom_t atom(const XcbLibrary& x, xcb_connection_t* c, const char* name)
{
    xcb_generic_error_t* error = nullptr;
    xcb_intern_atom_reply_t* reply =
        x.xcb_intern_atom_reply(c, x.xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), &error);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    free(error);
    return found;
}

// What one window was asked.
struct Asked {
    xcb_window_t window;
    xcb_get_property_cookie_t net_wm_name;
    xcb_get_property_cookie_t wm_name;
    xcb_query_tree_cookie_t tree;
};

// A text property as it was read: absent, or its bytes. Only enough of it is
// read to tell whether it equals the title; a longer value ends in a NUL.
struct Property {
    bool present = false;
    std::string text;
};

Property read_property(const XcbLibrary& x, xcb_connection_t* c, xcb_get_property_cookie_t cookie)
{
    Property property;
    xcb_generic_error_t* error = nullptr;
    xcb_get_property_reply_t* reply = x.xcb_get_property_reply(c, cookie, &error);
    if (reply && reply->type != XCB_ATOM_NONE) {
        property.present = true;
        property.text.assign(static_cast<const char*>(x.xcb_get_property_value(reply)),
                             size_t(x.xcb_get_property_value_length(reply)));
        if (reply->bytes_after != 0)
            property.text.push_back('\0'); // longer than was asked for, so longer than the title
    }
    free(reply);
    free(error);
    return property;
}

// _NET_WM_NAME is UTF-8. WM_NAME is Latin-1 by the book but UTF-8 in the hands
// of many programs; it is compared as UTF-8 either way.
bool titles_match(const Property& net_wm_name, const Property& wm_name, const std::string& title)
{
    if (net_wm_name.present)
        return net_wm_name.text == title;
    if (!wm_name.present)
        return false;
    std::string utf8(2 * wm_name.text.size(), '\0');
    utf8.resize(text::latin1_to_utf8(wm_name.text.data(), wm_name.text.size(), utf8.data()));
    return utf8 == title;
}

} // namespace

xcb_window_t find_titled_window(const XcbLibrary& x, xcb_connection_t* c, const std::string& title)
{
    const xcb_atom_t net_wm_name = atom(x, c, "_NET_WM_NAME");
    const xcb_atom_t utf8_string = atom(x, c, "UTF8_STRING");
    // Four bytes a unit, and one unit more than the title needs, so a longer
    // value shows as longer.
    const uint32_t units = uint32_t(title.size() / 4 + 1);

    std::vector<xcb_window_t> level;
    for (xcb_screen_iterator_t it = x.xcb_setup_roots_iterator(x.xcb_get_setup(c)); it.rem; x.xcb_screen_next(&it))
        level.push_back(it.data->root);

    for (int depth = 0; depth <= kLevels && !level.empty(); ++depth) {
        const bool read_titles = depth > 0; // a root is no top-level window
        std::vector<Asked> asked;
        asked.reserve(level.size());
        for (xcb_window_t w : level) {
            Asked a{w, {}, {}, {}};
            if (read_titles) {
                a.net_wm_name = x.xcb_get_property(c, 0, w, net_wm_name, utf8_string, 0, units);
                a.wm_name = x.xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, units);
            }
            if (depth < kLevels)
                a.tree = x.xcb_query_tree(c, w);
            asked.push_back(a);
        }
        // Every answer is read, so none is left waiting on the connection.
        xcb_window_t found = 0;
        std::vector<xcb_window_t> next;
        for (const Asked& a : asked) {
            if (read_titles) {
                const Property net = read_property(x, c, a.net_wm_name);
                const Property name = read_property(x, c, a.wm_name);
                if (!found && titles_match(net, name, title))
                    found = a.window;
            }
            if (depth < kLevels) {
                xcb_generic_error_t* error = nullptr;
                xcb_query_tree_reply_t* tree = x.xcb_query_tree_reply(c, a.tree, &error);
                if (tree) {
                    // Children come bottom first; the topmost is looked at first.
                    const xcb_window_t* children = x.xcb_query_tree_children(tree);
                    for (int i = x.xcb_query_tree_children_length(tree); i > 0; --i)
                        next.push_back(children[i - 1]);
                }
                free(tree);
                free(error);
            }
        }
        if (found)
            return found;
        level.swap(next);
    }
    return 0;
}

} // namespace zyn::events
