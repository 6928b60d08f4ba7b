#if !defined(_WIN32)

#include "support/system_virtual_pad.h"

#include <SDL2/SDL.h>

#include <dlfcn.h>

namespace test {

namespace {

// SDL's functions, found in the SDL the library already loaded.
struct Sdl {
    int (*init_subsystem)(uint32_t) = nullptr;
    int (*attach)(const SDL_VirtualJoystickDesc*) = nullptr;
    int (*detach)(int) = nullptr;
    SDL_Joystick* (*open)(int) = nullptr;
    void (*close)(SDL_Joystick*) = nullptr;
    int (*set_axis)(SDL_Joystick*, int, int16_t) = nullptr;
    int (*set_button)(SDL_Joystick*, int, uint8_t) = nullptr;
    void (*quit)() = nullptr;
    void (*quit_subsystem)(uint32_t) = nullptr;
    uint32_t (*was_init)(uint32_t) = nullptr;

    Sdl()
    {
        void* sdl = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
        if (sdl == nullptr)
            sdl = dlopen("libSDL2-2.0.so.0", RTLD_NOW);
        if (sdl == nullptr)
            return;
        init_subsystem = reinterpret_cast<decltype(init_subsystem)>(dlsym(sdl, "SDL_InitSubSystem"));
        attach = reinterpret_cast<decltype(attach)>(dlsym(sdl, "SDL_JoystickAttachVirtualEx"));
        detach = reinterpret_cast<decltype(detach)>(dlsym(sdl, "SDL_JoystickDetachVirtual"));
        open = reinterpret_cast<decltype(open)>(dlsym(sdl, "SDL_JoystickOpen"));
        close = reinterpret_cast<decltype(close)>(dlsym(sdl, "SDL_JoystickClose"));
        set_axis = reinterpret_cast<decltype(set_axis)>(dlsym(sdl, "SDL_JoystickSetVirtualAxis"));
        set_button = reinterpret_cast<decltype(set_button)>(dlsym(sdl, "SDL_JoystickSetVirtualButton"));
        quit = reinterpret_cast<decltype(quit)>(dlsym(sdl, "SDL_Quit"));
        quit_subsystem = reinterpret_cast<decltype(quit_subsystem)>(dlsym(sdl, "SDL_QuitSubSystem"));
        was_init = reinterpret_cast<decltype(was_init)>(dlsym(sdl, "SDL_WasInit"));
    }
    bool complete() const
    {
        return init_subsystem && attach && detach && open && close && set_axis && set_button && quit &&
               quit_subsystem && was_init;
    }
};

Sdl& sdl()
{
    static Sdl functions;
    return functions;
}

int g_shutdowns = 0; // pads made before a shutdown were freed by it

} // namespace

void shut_down_sdl(SdlShutdown how)
{
    Sdl& s = sdl();
    if (how == SdlShutdown::QuitSubsystem) {
        while (s.was_init(SDL_INIT_GAMECONTROLLER) != 0)
            s.quit_subsystem(SDL_INIT_GAMECONTROLLER);
    } else {
        s.quit();
    }
    if (how == SdlShutdown::QuitAndRestart)
        s.init_subsystem(SDL_INIT_GAMECONTROLLER);
    ++g_shutdowns;
}

bool sdl_running() { return sdl().complete() && sdl().was_init(SDL_INIT_GAMECONTROLLER) != 0; }

int VirtualPad::rumble(void* self, uint16_t low, uint16_t high)
{
    auto* pad = static_cast<VirtualPad*>(self);
    pad->low_ = low;
    pad->high_ = high;
    ++pad->rumble_calls_;
    return 0;
}

VirtualPad::VirtualPad() : generation_(g_shutdowns)
{
    Sdl& s = sdl();
    if (!s.complete() || s.init_subsystem(SDL_INIT_GAMECONTROLLER) != 0)
        return;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "zyn test pad";
    desc.userdata = this;
    desc.Rumble = [](void* self, Uint16 low, Uint16 high) { return rumble(self, low, high); };
    index_ = s.attach(&desc);
    if (index_ < 0)
        return;
    joystick_ = s.open(index_);
}

VirtualPad::~VirtualPad()
{
    Sdl& s = sdl();
    if (generation_ != g_shutdowns)
        return; // SDL has freed the pad already
    if (joystick_ != nullptr)
        s.close(static_cast<SDL_Joystick*>(joystick_));
    if (index_ >= 0) {
        // Detaching needs the pad's device index, which other pads may have moved.
        s.detach(index_);
    }
}

void VirtualPad::set_button(int button, bool down)
{
    if (joystick_ != nullptr)
        sdl().set_button(static_cast<SDL_Joystick*>(joystick_), button, down ? 1 : 0);
}

void VirtualPad::set_axis(int axis, int16_t value)
{
    if (joystick_ != nullptr)
        sdl().set_axis(static_cast<SDL_Joystick*>(joystick_), axis, value);
}

} // namespace test

#endif
