// A virtual game controller attached through SDL's virtual joystick, for the
// controller tests on Linux. It uses the very SDL the library has loaded, so
// the library sees the pad as a real one.
#pragma once

#if !defined(_WIN32)

#include <cstdint>

namespace test {

// What a game that uses SDL itself may do: SDL_Quit; SDL_QuitSubSystem until
// the game-controller subsystem is down; SDL_Quit and then start it again.
enum class SdlShutdown { Quit, QuitSubsystem, QuitAndRestart };
void shut_down_sdl(SdlShutdown how); // every pad made before is gone with it
bool sdl_running();                   // whether the game-controller subsystem is up

class VirtualPad {
public:
    VirtualPad();  // attaches a pad with XInput's buttons and six axes
    ~VirtualPad(); // detaches it

    bool attached() const { return index_ >= 0; }
    // Raw SDL values: buttons by SDL's game-controller numbering, axes -32768..32767.
    void set_button(int button, bool down);
    void set_axis(int axis, int16_t value);
    // The motor speeds SDL last handed to the pad.
    uint16_t low_motor() const { return low_; }
    uint16_t high_motor() const { return high_; }
    int rumble_calls() const { return rumble_calls_; }

private:
    static int rumble(void* self, uint16_t low, uint16_t high);
    int index_ = -1;
    void* joystick_ = nullptr;
    uint16_t low_ = 0, high_ = 0;
    int rumble_calls_ = 0;
    int generation_ = 0;
};

} // namespace test

#endif
