// Game controllers on Linux through SDL2's game-controller interface, which
// maps every known pad to the XInput layout. Controller n is the n-th device
// SDL recognises as a game controller. SDL's game-controller subsystem is
// started on first use (no display needed) and kept for the process; a game
// that uses SDL itself may shut it down (SDL_Quit), which frees every
// controller, so each call first checks that it is still up.
#include "system/controller_sys.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>

namespace zyn::system::sys {

namespace {

constexpr uint32_t kPads = 4;
constexpr uint32_t kNotSupported = 50; // the system's "request not supported"

// What the library holds per controller: the opened pad, and the last reading
// with its packet number, which moves on whenever the reading changes.
struct Slot {
    SDL_JoystickID id = -1;
    SDL_GameController* pad = nullptr;
    PadState last{};
};

// Calls may come from any thread, as with XInput: the table has its own lock.
std::mutex g_lock;
Slot g_slots[kPads];
bool g_started = false; // the library has started the subsystem (holds a reference)

// Starts the subsystem on first use, and again whenever the game has shut it
// down. SDL has then freed whatever the slots held: forgotten, never closed.
bool start_sdl()
{
    const bool up = SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0;
    if (g_started && up)
        return true;
    if (!up) {
        for (Slot& slot : g_slots)
            slot = Slot{};
    }
    // Read pads whether or not the game's window has the focus, as XInput does.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    g_started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    return g_started;
}

void close_slot(Slot& slot)
{
    if (slot.pad != nullptr)
        SDL_GameControllerClose(slot.pad);
    slot = Slot{};
}

// The opened controller behind an index, or 0 with the reason it has none.
uint32_t find_pad(uint32_t index, SDL_GameController*& pad)
{
    if (index >= kPads)
        return kBadArguments;
    if (!start_sdl())
        return kDeviceNotConnected;
    SDL_GameControllerUpdate(); // takes in devices that came or went
    Slot& slot = g_slots[index];
    // A game that shut SDL down and started it again between two calls has
    // freed the pad too: SDL no longer knows it by its id.
    if (slot.pad != nullptr && SDL_GameControllerFromInstanceID(slot.id) != slot.pad)
        slot = Slot{};
    uint32_t seen = 0;
    const int devices = SDL_NumJoysticks();
    for (int device = 0; device < devices; ++device) {
        if (!SDL_IsGameController(device) || seen++ != index)
            continue;
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
        if (slot.pad == nullptr || slot.id != id || !SDL_GameControllerGetAttached(slot.pad)) {
            close_slot(slot);
            slot.pad = SDL_GameControllerOpen(device);
            if (slot.pad == nullptr)
                return kDeviceNotConnected;
            slot.id = id;
        }
        pad = slot.pad;
        return 0;
    }
    close_slot(slot);
    return kDeviceNotConnected;
}

uint8_t trigger(SDL_GameController* pad, SDL_GameControllerAxis axis)
{
    const int value = std::clamp<int>(SDL_GameControllerGetAxis(pad, axis), 0, 32767);
    return uint8_t((value * 255 + 16383) / 32767);
}

// SDL's vertical axes grow downwards; XInput's grow upwards.
int16_t upwards(int16_t value) { return int16_t(std::min(-int32_t(value), 32767)); }

uint16_t buttons(SDL_GameController* pad)
{
    static const struct {
        SDL_GameControllerButton button;
        uint16_t bit;
    } layout[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, 0x0001},      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0x0002},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0x0004},    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0x0008},
        {SDL_CONTROLLER_BUTTON_START, 0x0010},        {SDL_CONTROLLER_BUTTON_BACK, 0x0020},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, 0x0040},    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 0x0080},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0x0100}, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0x0200},
        {SDL_CONTROLLER_BUTTON_A, 0x1000},            {SDL_CONTROLLER_BUTTON_B, 0x2000},
        {SDL_CONTROLLER_BUTTON_X, 0x4000},            {SDL_CONTROLLER_BUTTON_Y, 0x8000},
    };
    uint16_t mask = 0;
    for (const auto& entry : layout)
        if (SDL_GameControllerGetButton(pad, entry.button))
            mask = uint16_t(mask | entry.bit);
    return mask;
}

bool same_reading(const PadState& a, const PadState& b)
{
    return a.buttons == b.buttons && a.left_trigger == b.left_trigger && a.right_trigger == b.right_trigger &&
           a.left_x == b.left_x && a.left_y == b.left_y && a.right_x == b.right_x && a.right_y == b.right_y;
}

} // namespace

uint32_t pad_read(uint32_t index, PadState& state)
{
    const std::lock_guard<std::mutex> hold(g_lock);
    SDL_GameController* pad = nullptr;
    if (const uint32_t code = find_pad(index, pad))
        return code;
    state.buttons = buttons(pad);
    state.left_trigger = trigger(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    state.right_trigger = trigger(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    state.left_x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    state.left_y = upwards(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
    state.right_x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX);
    state.right_y = upwards(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY));
    PadState& last = g_slots[index].last;
    state.packet = last.packet == 0 || !same_reading(state, last) ? last.packet + 1 : last.packet;
    last = state;
    return 0;
}

uint32_t pad_vibrate(uint32_t index, uint16_t left_motor, uint16_t right_motor)
{
    const std::lock_guard<std::mutex> hold(g_lock);
    SDL_GameController* pad = nullptr;
    if (const uint32_t code = find_pad(index, pad))
        return code;
    // The left motor is the heavy, low-frequency one. A duration of 0 keeps the
    // speeds until they are set again, as XInput does.
    return SDL_GameControllerRumble(pad, left_motor, right_motor, 0) == 0 ? 0 : kNotSupported;
}

} // namespace zyn::system::sys
