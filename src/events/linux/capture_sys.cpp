// Media keys on X11 (XWayland included). The library opens a connection of
// its own to the display, finds the game's window by its title and selects
// key presses on it. Any number of clients may select key presses on a
// window, so the game's own connection still gets every key as before.
//
// The connection is read when the game polls, without blocking: the library
// starts no thread, keys are kept only until the next poll anyway, and the
// few events that wait between polls stay in the connection's buffers.
// One lock covers the capture, so start, stop and poll may come from
// different threads.
#include "events/capture.h"
#include "events/capture_sys.h"
#include "events/linux/x11_window_search.h"
#include "events/linux/xcb_library.h"

#include <X11/XF86keysym.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace zyn::events {

namespace {

// The keysyms of the media keys, each with the application command Windows
// delivers for the same key, so both platforms share one code table.
struct MediaKey {
    xcb_keysym_t keysym;
    uint32_t command;
};
constexpr MediaKey kMediaKeys[] = {
    {XF86XK_AudioNext, kNextTrack},
    {XF86XK_AudioPrev, kPreviousTrack},
    {XF86XK_AudioPlay, kPlayPause},
    {XF86XK_AudioPause, kPlayPause},
    {XF86XK_AudioRaiseVolume, kVolumeUp},
    {XF86XK_AudioLowerVolume, kVolumeDown},
};

uint32_t command_of_keysym(xcb_keysym_t keysym) noexcept
{
    for (const MediaKey& key : kMediaKeys)
        if (key.keysym == keysym)
            return key.command;
    return 0;
}

// One active capture: what it opened, and which keys are media keys.
class Session {
public:
    // Connects, finds the window and selects its key presses; false when
    // any step fails (the destructor closes what was opened).
    bool start(const std::string& title);
    // Records the media keys among the events that have arrived.
    void collect() noexcept;
    // Deselects the window's key presses, records the keys that came before,
    // and closes the connection.
    ~Session();

private:
    bool select_keys(uint32_t mask) noexcept;
    void load_keymap() noexcept;

    XcbLibrary x_;
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = 0;
    std::array<uint32_t, 256> command_of_keycode_{}; // 0: not a media key
};

bool Session::start(const std::string& title)
{
    if (!x_.ok())
        return false;
    connection_ = x_.xcb_connect(nullptr, nullptr); // DISPLAY; never null, possibly in error
    if (x_.xcb_connection_has_error(connection_))
        return false;
    const xcb_window_t window = find_titled_window(x_, connection_, title);
    if (!window)
        return false;
    load_keymap();
    window_ = window;
    if (select_keys(XCB_EVENT_MASK_KEY_PRESS))
        return true;
    window_ = 0; // gone meanwhile: nothing to deselect
    return false;
}

// Waits until the server has done it, so the selection is in force, or gone,
// once start or stop returns.
bool Session::select_keys(uint32_t mask) noexcept
{
    xcb_generic_error_t* error = x_.xcb_request_check(
        connection_, x_.xcb_change_window_attributes_checked(connection_, window_, XCB_CW_EVENT_MASK, &mask));
    free(error);
    return error == nullptr;
}

// The key's own symbol is the first of its keysyms, the one it gives without
// modifiers.
void Session::load_keymap() noexcept
{
    command_of_keycode_.fill(0);
    const xcb_setup_t* setup = x_.xcb_get_setup(connection_);
    const xcb_keycode_t first = setup->min_keycode;
    const uint8_t count = uint8_t(setup->max_keycode - first + 1);
    xcb_get_keyboard_mapping_reply_t* map = x_.xcb_get_keyboard_mapping_reply(
        connection_, x_.xcb_get_keyboard_mapping(connection_, first, count), nullptr);
    if (!map)
        return;
    const xcb_keysym_t* keysyms = x_.xcb_get_keyboard_mapping_keysyms(map);
    const int length = x_.xcb_get_keyboard_mapping_keysyms_length(map);
    const int per_key = map->keysyms_per_keycode;
    for (int key = 0; per_key > 0 && key < count && (key + 1) * per_key <= length; ++key)
        command_of_keycode_[size_t(first + key)] = command_of_keysym(keysyms[key * per_key]);
    free(map);
}

void Session::collect() noexcept
{
    while (xcb_generic_event_t* event = x_.xcb_poll_for_event(connection_)) {
        const uint8_t type = event->response_type & 0x7f; // the top bit marks an event another client sent
        if (type == XCB_KEY_PRESS) {
            const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
            const uint32_t command = command_of_keycode_[key->detail];
            if (key->event == window_ && command != 0) // other keys leave a waiting code alone
                record_command(command);
        } else if (type == XCB_MAPPING_NOTIFY &&
                   reinterpret_cast<const xcb_mapping_notify_event_t*>(event)->request == XCB_MAPPING_KEYBOARD) {
            load_keymap(); // one round trip, only when the keyboard's layout changes
        }
        free(event);
    }
}

Session::~Session()
{
    if (window_) {
        select_keys(XCB_EVENT_MASK_NO_EVENT);
        // Keys that came before still wait for the next poll, as they do on Windows.
        collect();
    }
    if (connection_)
        x_.xcb_disconnect(connection_);
}

std::mutex g_lock;
// Destroyed when the library is unloaded, which stops an active capture.
std::unique_ptr<Session> g_session;

} // namespace

namespace sys {

bool hook_window(const std::string& title)
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_session.reset();
    auto session = std::make_unique<Session>();
    if (!session->start(title))
        return false;
    g_session = std::move(session);
    return true;
}

void unhook_window() noexcept
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_session.reset();
}

void collect_keys() noexcept
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_session)
        g_session->collect();
}

} // namespace sys

} // namespace zyn::events
