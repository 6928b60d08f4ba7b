// libxcb, opened at run time: libzyn.so has no link to it, so the library
// loads and works on machines without X, and only the media-key capture
// needs it. Xlib is not used: its error handlers are process-wide and its
// default ones end the process, whereas libxcb reports every error on the
// connection that caused it.
#pragma once

#include <xcb/xcb.h>

namespace zyn::events {

#define ZYN_XCB_FUNCTIONS(F)                                                                                       \
    F(xcb_connect)                                                                                                 \
    F(xcb_disconnect)                                                                                              \
    F(xcb_connection_has_error)                                                                                    \
    F(xcb_poll_for_event)                                                                                          \
    F(xcb_request_check)                                                                                           \
    F(xcb_get_setup)                                                                                               \
    F(xcb_setup_roots_iterator)                                                                                    \
    F(xcb_screen_next)                                                                                             \
    F(xcb_intern_atom)                                                                                             \
    F(xcb_intern_atom_reply)                                                                                       \
    F(xcb_query_tree)                                                                                              \
    F(xcb_query_tree_reply)                                                                                        \
    F(xcb_query_tree_children)                                                                                     \
    F(xcb_query_tree_children_length)                                                                              \
    F(xcb_get_property)                                                                                            \
    F(xcb_get_property_reply)                                                                                      \
    F(xcb_get_property_value)                                                                                      \
    F(xcb_get_property_value_length)                                                                               \
    F(xcb_change_window_attributes_checked)                                                                        \
    F(xcb_get_keyboard_mapping)                                                                                    \
    F(xcb_get_keyboard_mapping_reply)                                                                              \
    F(xcb_get_keyboard_mapping_keysyms)                                                                            \
    F(xcb_get_keyboard_mapping_keysyms_length)

// One opened copy of libxcb with the functions the capture calls, named as
// libxcb names them. Closed again when destroyed.
class XcbLibrary {
public:
    XcbLibrary() noexcept;
    ~XcbLibrary();
    XcbLibrary(const XcbLibrary&) = delete;
    XcbLibrary& operator=(const XcbLibrary&) = delete;

    // False when libxcb.so.1 is missing or lacks one of the functions.
    bool ok() const noexcept { return handle_ != nullptr; }

#define ZYN_XCB_MEMBER(name) decltype(&::name) name = nullptr;
    ZYN_XCB_FUNCTIONS(ZYN_XCB_MEMBER)
#undef ZYN_XCB_MEMBER

private:
    void* handle_ = nullptr;
};

} // namespace zyn::events
