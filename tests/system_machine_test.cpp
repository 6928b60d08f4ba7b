// The system family's reads of the machine: properties, process lists, registry and controllers.
#include "support/library.h"
#include "support/temp_dir.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#if defined(_WIN32)
#  include <objbase.h>
#  include <shlobj.h>
#  include <windows.h>
#else
#  include <SDL2/SDL.h>
#  include <csignal>
#  include <dlfcn.h>
#  include <spawn.h>
#  include <sys/wait.h>
#  include <unistd.h>
#endif

namespace {

using System = test::LoadedLibrary;
using test::gives;

#if defined(_WIN32)
const bool kWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
const std::string kLibraryLine = "modulename:zyn.dll\n";
int admin() { return IsUserAnAdmin() ? 1 : 0; }
uint32_t own_id() { return GetCurrentProcessId(); }
std::string own_path()
{
    char path[MAX_PATH] = {};
    return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}
#else
const bool kWine = false;
const std::string kLibraryLine = "modulename:libzyn.so";
int admin() { return geteuid() == 0 ? 1 : 0; }
uint32_t own_id() { return uint32_t(getpid()); }
std::string own_path() { return std::filesystem::read_symlink("/proc/self/exe").string(); }
#endif

using Texts = std::pair<zyn_wstring, std::string>; // what the wide and the narrow twin give

// A property through both twins; a non-zero status is the HRESULT of an expected failure.
Texts property(const std::string& cls, const char* prop, int kind = ZYN_PROPERTY_TEXT, int32_t status = 0)
{
    zyn_wchar wide[4096] = {ZW('#'), 0};
    char narrow[256] = "untouched";
    const zyn_wstring wide_prop = test::widen_ascii(prop ? prop : "");
    const int error = status == 0 ? 0 : ZYN_ERR_CALL_FAILED;
    EXPECT_TRUE(gives(zyn_wgetmachineproperty(test::widen_ascii(cls).c_str(), prop ? wide_prop.c_str() : nullptr, kind,
                                              wide), status == 0, error, status)) << cls;
    EXPECT_TRUE(gives(zyn_getmachineproperty(cls.c_str(), prop, kind, narrow), status == 0, error, status)) << cls;
    return {wide, narrow};
}

template <class C>
std::basic_string<C> listed(int(ZYN_CALL* list)(C*, uint32_t))
{
    std::vector<C> out(1 << 20, C('#'));
    EXPECT_EQ(list(out.data(), uint32_t(out.size())), 1);
    EXPECT_EQ(out.back(), C(0));
    return out.data();
}

TEST_F(System, PropertiesListsAndTheAdministratorTest)
{
    const auto [caption, narrow_caption] = property("Win32_OperatingSystem", "Caption");
    EXPECT_FALSE(caption.empty() || caption == ZW("#"));
    // Captions are ASCII on the systems tested; names are matched without regard to case, as WMI does.
    EXPECT_EQ(test::widen_ascii(narrow_caption), caption);
    EXPECT_EQ(property("WIN32_OPERATINGSYSTEM", "caption"), Texts(caption, narrow_caption));
#if !defined(_WIN32)
    std::ifstream release("/etc/os-release"); // the caption is the system's pretty name
    for (std::string line; std::getline(release, line);)
        if (line.rfind("PRETTY_NAME=", 0) == 0) { EXPECT_EQ("PRETTY_NAME=\"" + narrow_caption + "\"", line); }
#endif
    EXPECT_NE(property("Win32_Processor", "Name").second, "");
    EXPECT_EQ(property("Win32_OperatingSystem", "Primary", ZYN_PROPERTY_BOOLEAN), Texts(ZW("true"), "true"));
    const zyn_wstring domain = property("Win32_ComputerSystem", "PartOfDomain", ZYN_PROPERTY_BOOLEAN).first;
#if defined(_WIN32)
    EXPECT_TRUE(domain == ZW("true") || domain == ZW("false") || domain == ZW("#")); // Wine lacks the property
#else
    EXPECT_EQ(domain, ZW("false"));
#endif
    // Nothing gathered is success: the wide export leaves its buffer alone, the narrow one writes "".
    for (const auto& [name, kind] : {std::pair<const char*, int>{"Primary", ZYN_PROPERTY_TEXT}, {"Caption", 0},
                                     {"Caption", 5}, {"NoSuchProperty", ZYN_PROPERTY_TEXT},
                                     {"NoSuchProperty", ZYN_PROPERTY_BOOLEAN}, {nullptr, ZYN_PROPERTY_TEXT}})
        EXPECT_EQ(property("Win32_OperatingSystem", name, kind), Texts(ZW("#"), "")) << (name ? name : "") << kind;
    zyn_getmachineproperty(nullptr, nullptr, ZYN_PROPERTY_TEXT, nullptr); // no class, no property, no crash

    // Unknown classes (Wine's WMI finds no objects instead); 241 characters fit the query, 242 are refused.
    const std::string longest = "Win32_" + std::string(235, 'X');
    for (const std::string& name : {std::string("Win32_NoSuchClass"), longest, longest + "Y"}) {
        const bool found_none = kWine && name != longest + "Y";
        EXPECT_EQ(property(name, "Name", ZYN_PROPERTY_TEXT, found_none ? 0 : int32_t(0x80041010u)), // no such class
                  Texts(ZW("#"), found_none ? "" : "untouched"));
    }
#if defined(_WIN32)
    // A thread in the multithreaded apartment cannot join a single-threaded one, and stays free to choose.
    std::thread([] {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        EXPECT_EQ(property("Win32_OperatingSystem", "Caption", ZYN_PROPERTY_TEXT, RPC_E_CHANGED_MODE),
                  Texts(ZW("#"), "untouched"));
        CoUninitialize();
    }).join();
    EXPECT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    CoUninitialize();
#endif

    const std::string path = own_path(), name = path.substr(path.find_last_of("/\\") + 1),
                      own_line = name + ";*" + std::to_string(own_id()) + "\n";
    EXPECT_NE(listed(zyn_get_listprocesses).find(own_line), std::string::npos) << own_line;

    // The modules of this program, named by 0 or by its id, start with the executable; the library is listed once.
    const std::string first = "modulename:" + name + "\nexecutable:" + path + "\n";
    std::vector<char> out(1 << 18, '#');
    for (uint32_t id : {0u, own_id()}) {
        ASSERT_EQ(zyn_get_processinfo(id, out.data(), uint32_t(out.size())), 1);
        const std::string modules(out.data());
        EXPECT_EQ(modules.rfind(first, 0), 0u) << modules.substr(0, 300);
        EXPECT_NE(modules.find(kLibraryLine), std::string::npos);
        EXPECT_EQ(modules.find(kLibraryLine, modules.find(kLibraryLine) + 1), std::string::npos);
    }
    std::vector<zyn_wchar> wide_out(1 << 18, ZW('#'));
    ASSERT_EQ(zyn_wget_processinfo(0, wide_out.data(), uint32_t(wide_out.size())), 1);
    EXPECT_EQ(zyn_wstring(wide_out.data()).rfind(test::widen_ascii(first), 0), 0u);

    std::memset(out.data(), '#', 16);
    ASSERT_EQ(zyn_get_listprocesses(out.data(), 10), 1);
    EXPECT_EQ(std::memchr(out.data(), '\0', 10), nullptr);
    EXPECT_EQ(out[10], '#');
    ASSERT_EQ(zyn_get_processinfo(0, out.data(), 11), 1);
    EXPECT_EQ(std::string(out.data(), 12), "modulename:#");
    EXPECT_EQ(zyn_get_listprocesses(out.data(), 0) + zyn_wget_listprocesses(nullptr, 0), 2);
    EXPECT_EQ(out[0], 'm');
    EXPECT_TRUE(gives(zyn_wget_listprocesses(nullptr, 100), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_TRUE(gives(zyn_get_listprocesses(nullptr, 100), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_TRUE(gives(zyn_get_processinfo(0xFFFFFFFFu, out.data(), 64), 0, ZYN_ERR_OPERATION_FAILED)); // no process
    EXPECT_EQ(out[0], 'm');
    EXPECT_TRUE(gives(zyn_is_admin(), admin()));
}

constexpr int kNotConnected = 1167, kBadIndex = 160;

struct Pad {
    uint32_t packet = 0xAAAAAAAA;
    uint16_t buttons = 0xAAAA;
    uint8_t lt = 0xAA, rt = 0xAA; // the triggers
    int16_t lx = 0x2AAA, ly = 0x2AAA, rx = 0x2AAA, ry = 0x2AAA;
    int read(uint32_t i)
    {
        return zyn_xinput_getstate_bgt_compatibility(i, &packet, &buttons, &lt, &rt, &lx, &ly, &rx, &ry);
    }
    auto state() const { return std::make_tuple(packet, buttons, lt, rt, lx, ly, rx, ry); }
};

void expect_no_pad(uint32_t index, int32_t status)
{
    Pad pad;
    EXPECT_TRUE(gives(zyn_xinput_isconnected(index), 0, ZYN_ERR_CALL_FAILED, status));
    EXPECT_TRUE(gives(pad.read(index), 0, ZYN_ERR_CALL_FAILED, status));
    EXPECT_EQ(pad.state(), Pad().state());
    EXPECT_TRUE(gives(zyn_xinput_vibrate(index, 65535, 0), 0, ZYN_ERR_CALL_FAILED, status));
}

TEST_F(System, RegistryAndControllersAndEveryReadNeedsTheLibraryLoaded)
{
    constexpr uint32_t kUser = ZYN_HKEY_CURRENT_USER;
    uint32_t value = 7;
    char text[64] = "untouched";
    // The predefined key's own value and numbers beside the codes are no codes; a missing output is refused.
    for (uint32_t code : {0x80000001u, 0u, 80000006u, 80000049u, 80000051u, 80000061u}) {
        EXPECT_TRUE(gives(zyn_reg_getdword(code, "Software", "Number", &value), 0, ZYN_ERR_OPERATION_FAILED));
        EXPECT_TRUE(gives(zyn_reg_getstring(code, "Software", "Text", text), 0, ZYN_ERR_OPERATION_FAILED));
    }
    EXPECT_TRUE(gives(zyn_reg_getdword(kUser, "Software", "Number", nullptr), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_TRUE(gives(zyn_reg_getstring(kUser, "Software", "Text", nullptr), 0, ZYN_ERR_INVALID_ARGUMENT));
#if defined(_WIN32)
    const std::string key = "Software\\zyn-registry-test-" + std::to_string(GetCurrentProcessId());
    const char* k = key.c_str();
    const DWORD number = 0xDEADBEEF;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, k, "Number", REG_DWORD, &number, sizeof number), 0);
    RegSetKeyValueA(HKEY_CURRENT_USER, k, "Text", REG_SZ, "hello registry", 15);
    RegSetKeyValueA(HKEY_CURRENT_USER, k, nullptr, REG_SZ, "default", 8);
    ASSERT_TRUE(gives(zyn_reg_getdword(kUser, k, "Number", &value), 1));
    EXPECT_EQ(value, 0xDEADBEEFu);
    ASSERT_TRUE(gives(zyn_reg_getstring(kUser, k, "Text", text), 1));
    EXPECT_STREQ(text, "hello registry");
    ASSERT_EQ(zyn_reg_getstring(kUser, k, nullptr, text), 1); // the key's default value
    EXPECT_STREQ(text, "default");
    value = 7;
    std::strcpy(text, "untouched");
    EXPECT_TRUE(gives(zyn_reg_getdword(kUser, k, "Text", &value), 0, ZYN_ERR_CALL_FAILED, ERROR_UNSUPPORTED_TYPE));
    EXPECT_TRUE(gives(zyn_reg_getstring(kUser, k, "Number", text), 0, ZYN_ERR_CALL_FAILED, ERROR_UNSUPPORTED_TYPE));
    EXPECT_TRUE(gives(zyn_reg_getdword(kUser, k, "Missing", &value), 0, ZYN_ERR_CALL_FAILED, ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(gives(zyn_reg_getstring(kUser, (key + "\\Missing").c_str(), "Text", text), 0, ZYN_ERR_CALL_FAILED,
                      ERROR_FILE_NOT_FOUND));
    RegDeleteTreeA(HKEY_CURRENT_USER, k);
#else
    for (uint32_t code : {ZYN_HKEY_CLASSES_ROOT, kUser, ZYN_HKEY_LOCAL_MACHINE, ZYN_HKEY_USERS,
                          ZYN_HKEY_PERFORMANCE_DATA, ZYN_HKEY_CURRENT_CONFIG, ZYN_HKEY_PERFORMANCE_TEXT,
                          ZYN_HKEY_PERFORMANCE_NLSTEXT}) {
        EXPECT_TRUE(gives(zyn_reg_getdword(code, "Software", "Number", &value), 0, ZYN_ERR_CALL_FAILED, 2));
        EXPECT_TRUE(gives(zyn_reg_getstring(code, nullptr, nullptr, text), 0, ZYN_ERR_CALL_FAILED, 2));
    }
#endif
    EXPECT_EQ(value, 7u);
    EXPECT_STREQ(text, "untouched");

    expect_no_pad(3, kNotConnected); // none is attached there here, none at all under Wine
#if defined(_WIN32)
    expect_no_pad(0, kNotConnected);
#endif
    for (uint32_t index : {4u, 7u, 0xFFFFFFFFu})
        expect_no_pad(index, kBadIndex);

    zyn_unload(); // every read needs the library loaded
    char narrow[16];
    zyn_wchar wide[16];
    Pad pad;
    const std::function<int()> calls[] = {
        [&] { return zyn_getmachineproperty("Win32_OperatingSystem", "Caption", ZYN_PROPERTY_TEXT, narrow); },
        [&] { return zyn_wgetmachineproperty(ZW("Win32_OperatingSystem"), ZW("Caption"), ZYN_PROPERTY_TEXT, wide); },
        [&] { return zyn_get_listprocesses(narrow, 16); }, [&] { return zyn_wget_listprocesses(wide, 16); },
        [&] { return zyn_get_processinfo(0, narrow, 16); }, [&] { return zyn_wget_processinfo(0, wide, 16); },
        [&] { return zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, "Software", "Number", &value); },
        [&] { return zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, "Software", "Text", narrow); },
        [&] { return pad.read(0); }, [] { return zyn_xinput_isconnected(0); },
        [] { return zyn_xinput_vibrate(0, 1, 1); }, zyn_is_admin};
    for (const auto& call : calls) {
        zyn_seterror(ZYN_ERR_NONE, 9);
        EXPECT_TRUE(gives(call(), 0, ZYN_ERR_NOT_LOADED));
    }
}

// A waiting program run from a copy under the given UTF-8 file name (Windows: this program, suspended).
struct Process {
    uint32_t id = 0;
#if defined(_WIN32)
    PROCESS_INFORMATION info{};
    Process(const test::TempDir& dir, const std::string& name)
    {
        wchar_t exe[MAX_PATH] = {};
        MultiByteToWideChar(CP_UTF8, 0, (dir.path() + "\\" + name).c_str(), -1, exe, MAX_PATH);
        std::filesystem::copy_file(own_path(), exe);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (CreateProcessW(exe, nullptr, nullptr, nullptr, 0, CREATE_SUSPENDED, nullptr, nullptr, &startup, &info))
            id = info.dwProcessId;
    }
    ~Process()
    {
        if (id != 0 && TerminateProcess(info.hProcess, 0))
            WaitForSingleObject(info.hProcess, INFINITE), CloseHandle(info.hThread), CloseHandle(info.hProcess);
    }
#else
    Process(const test::TempDir& dir, const std::string& name)
    {
        std::string file = dir.join(name), seconds = "30";
        std::filesystem::copy_file("/bin/sleep", file);
        char* argv[] = {file.data(), seconds.data(), nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, file.c_str(), nullptr, nullptr, argv, environ) == 0)
            id = uint32_t(child);
    }
    ~Process() { stop(); }
    void stop()
    {
        if (id != 0 && kill(pid_t(id), SIGKILL) == 0)
            waitpid(pid_t(id), nullptr, 0);
    }
#endif
};

TEST_F(System, ProcessNamesStayOnTheirOwnLine)
{
    // Control characters and the '*' of ";*" are listed as '?'; so are low bytes of zero or posing as them.
    const std::tuple<const char*, const char*, zyn_wstring> cases[] = {
        {"\xE4\xB8\x80\xC5\x81ucja.exe", "?Aucja.exe", ZW("\u4E00\u0141ucja.exe")},
        {"ghost\xC4\xBB\xC4\xAA" "1\xC4\x8Aother.exe", "ghost??1?other.exe", ZW("ghost\u013B\u012A1\u010Aother.exe")},
#if !defined(_WIN32)
        {"game.exe;*1\nother.exe", "game.exe;?1?other.exe", ZW("game.exe;?1?other.exe")},
        {"*first-unit-of-a-long-name", "*first-unit-of-a-long-name", ZW("*first-unit-of-a-long-name")}, // none before
#endif
    };
    for (const auto& [file, narrow, wide] : cases) {
        test::TempDir dir;
        Process process(dir, file);
        ASSERT_NE(process.id, 0u) << narrow;
        const std::string id = ";*" + std::to_string(process.id) + "\n", line = narrow + id;
        bool shown = false; // a child shows its new name once it has started
        for (int i = 0; i < 500 && !(shown = listed(zyn_get_listprocesses).find(line) != std::string::npos); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_TRUE(shown) << line;
        EXPECT_NE(listed(zyn_wget_listprocesses).find(wide + test::widen_ascii(id)), zyn_wstring::npos);
#if !defined(_WIN32)
        char info[4096];
        ASSERT_EQ(zyn_get_processinfo(process.id, info, sizeof info), 1);
        const std::string module = "modulename:" + std::string(narrow) + "\nexecutable:" + dir.join(narrow);
        EXPECT_EQ(std::string(info).rfind(module, 0), 0u);
        process.stop(); // an ended process has no modules to list
        EXPECT_TRUE(gives(zyn_wget_processinfo(process.id, nullptr, 0), 0, ZYN_ERR_OPERATION_FAILED));
        EXPECT_TRUE(gives(zyn_get_processinfo(process.id, info, sizeof info), 0, ZYN_ERR_OPERATION_FAILED));
        EXPECT_EQ(info[0], 'm');
#endif
    }
}

#if !defined(_WIN32)
// SDL's own functions, from the very SDL the library loaded, so the library sees the test's pads as real.
template <class F>
F sdl(const char* name)
{
    static void* library = [] {
        void* loaded = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
        return loaded ? loaded : dlopen("libSDL2-2.0.so.0", RTLD_NOW);
    }();
    return reinterpret_cast<F>(library ? dlsym(library, name) : nullptr);
}
#  define SDL(name) sdl<decltype(&SDL_##name)>("SDL_" #name)

int g_sdl_shutdowns = 0; // a shutdown frees every pad made before it

// A virtual pad with XInput's buttons, six axes at rest and, unless told otherwise, motors.
struct VirtualPad {
    int index = -1, made_after = g_sdl_shutdowns;
    SDL_Joystick* joystick = nullptr;
    uint16_t low = 0, high = 0;
    explicit VirtualPad(bool motors = true)
    {
        if (!SDL(InitSubSystem) || SDL(InitSubSystem)(SDL_INIT_GAMECONTROLLER) != 0)
            return;
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "zyn test pad";
        desc.userdata = this;
        desc.Rumble = !motors ? nullptr : +[](void* self, Uint16 low, Uint16 high) {
            std::tie(static_cast<VirtualPad*>(self)->low, static_cast<VirtualPad*>(self)->high) = {low, high};
            return 0;
        };
        if ((index = SDL(JoystickAttachVirtualEx)(&desc)) >= 0)
            joystick = SDL(JoystickOpen)(index);
        for (int axis : {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT})
            set(axis, -32768);
    }
    ~VirtualPad()
    {
        if (made_after != g_sdl_shutdowns)
            return; // SDL has freed it already
        SDL(JoystickClose)(joystick);
        SDL(JoystickDetachVirtual)(index);
    }
    void press(int button) { SDL(JoystickSetVirtualButton)(joystick, button, 1); }
    void set(int axis, int16_t value) { SDL(JoystickSetVirtualAxis)(joystick, axis, value); }
};

TEST_F(System, VirtualPads)
{
    {
        VirtualPad virtual_pad;
        ASSERT_NE(virtual_pad.joystick, nullptr);
        EXPECT_TRUE(gives(zyn_xinput_isconnected(0), 1));
        expect_no_pad(1, kNotConnected);
        Pad rest, again, moved;
        ASSERT_EQ(rest.read(0) + again.read(0), 2);
        EXPECT_EQ(rest.state(), std::make_tuple(rest.packet, 0, 0, 0, 0, 0, 0, 0));
        EXPECT_EQ(again.packet, rest.packet); // an unchanged pad keeps its packet number
        EXPECT_EQ(zyn_xinput_getstate_bgt_compatibility(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                        nullptr, nullptr), 1); // null outputs are skipped

        // Buttons land on XInput's bits; triggers go from 0 to 255; vertical axes turn round (up: SDL -, XInput +).
        for (int button : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                           SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER})
            virtual_pad.press(button);
        for (auto [axis, value] : {std::pair<int, int16_t>{SDL_CONTROLLER_AXIS_LEFTX, -32768},
                                   {SDL_CONTROLLER_AXIS_LEFTY, -32768}, {SDL_CONTROLLER_AXIS_RIGHTX, 1234},
                                   {SDL_CONTROLLER_AXIS_RIGHTY, 32767}, {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0},
                                   {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767}})
            virtual_pad.set(axis, value);
        ASSERT_EQ(moved.read(0), 1);
        EXPECT_NE(moved.packet, rest.packet);
        EXPECT_EQ(moved.state(), std::make_tuple(moved.packet, 0x1000 | 0x8000 | 0x0004 | 0x0010 | 0x0200, 127, 255,
                                                 -32768, 32767, 1234, -32767));

        // Motors: the left is SDL's low-frequency one; speeds stay until changed, reads in between included.
        EXPECT_TRUE(gives(zyn_xinput_vibrate(0, 65535, 1), 1));
        EXPECT_EQ(rest.read(0), 1);
        EXPECT_EQ(std::make_tuple(virtual_pad.low, virtual_pad.high), std::make_tuple(65535, 1));
        EXPECT_EQ(zyn_xinput_vibrate(0, 0, 0), 1);
        EXPECT_EQ(virtual_pad.low + virtual_pad.high, 0);
    }
    expect_no_pad(0, kNotConnected); // detached
    VirtualPad without_motors(false);
    EXPECT_EQ(zyn_xinput_isconnected(0), 1);
    EXPECT_TRUE(gives(zyn_xinput_vibrate(0, 65535, 0), 0, ZYN_ERR_CALL_FAILED, 50));

    // A game that shuts SDL down (quit; quit the subsystem until down; quit and start) frees its pads: the
    // library must neither use nor close them (valgrind sees it), and starts SDL again.
    for (int how = 0; how < 3; ++how) {
        VirtualPad pad;
        ASSERT_EQ(zyn_xinput_isconnected(0), 1);
        while (how == 1 && SDL(WasInit)(SDL_INIT_GAMECONTROLLER) != 0)
            SDL(QuitSubSystem)(SDL_INIT_GAMECONTROLLER);
        if (how != 1)
            SDL(Quit)();
        if (how == 2)
            SDL(InitSubSystem)(SDL_INIT_GAMECONTROLLER);
        ++g_sdl_shutdowns;
        EXPECT_TRUE(gives(zyn_xinput_isconnected(0), 0, ZYN_ERR_CALL_FAILED, kNotConnected));
        EXPECT_NE(SDL(WasInit)(SDL_INIT_GAMECONTROLLER), 0u) << how;
        VirtualPad again;
        EXPECT_EQ(zyn_xinput_isconnected(0), 1) << how;
    }
}
#endif

} // namespace
