// What the system family reads of the machine: properties, process and module
// lists with their buffer rules, the administrator test, the registry and controllers.
#include <zyn/zyn.h>

#include "support/loaded_library.h"
#include "support/temp_dir.h"
#include "support/wide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
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
#  include <sys/wait.h>
#  include <unistd.h>
#endif

namespace {

using System = test::LoadedLibrary;

void expect_failure(int result, int error, int32_t extended = 0)
{
    EXPECT_EQ(std::make_tuple(result, zyn_geterror(), zyn_get_extendederror()), std::make_tuple(0, error, extended));
}
zyn_wstring wide_property(const zyn_wstring& cls, const zyn_wstring& prop, int kind, int expected_result = 1)
{
    zyn_wchar out[4096] = {ZW('#'), 0};
    EXPECT_EQ(zyn_wgetmachineproperty(cls.c_str(), prop.c_str(), kind, out), expected_result);
    return out;
}
std::string property(const char* cls, const char* prop, int kind = ZYN_PROPERTY_TEXT, int expected_result = 1)
{
    char out[256] = "untouched";
    EXPECT_EQ(zyn_getmachineproperty(cls, prop, kind, out), expected_result);
    return out;
}

TEST_F(System, MachineProperties)
{
    const zyn_wstring caption = wide_property(ZW("Win32_OperatingSystem"), ZW("Caption"), ZYN_PROPERTY_TEXT);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_NE(caption, ZW("#"));
    EXPECT_FALSE(caption.empty());
    // Captions are ASCII on the systems tested; names are matched without regard to case, as WMI does.
    EXPECT_EQ(test::widen_ascii(property("Win32_OperatingSystem", "Caption")), caption);
    EXPECT_EQ(test::widen_ascii(property("WIN32_OPERATINGSYSTEM", "caption")), caption);
#if !defined(_WIN32)
    std::ifstream release("/etc/os-release");
    for (std::string line; std::getline(release, line);)
        if (line.rfind("PRETTY_NAME=", 0) == 0) {
            EXPECT_EQ("PRETTY_NAME=\"" + property("Win32_OperatingSystem", "Caption") + "\"", line);
        }
#endif
    EXPECT_NE(property("Win32_Processor", "Name"), "");
    EXPECT_NE(property("Win32_OperatingSystem", "Version"), "");
    EXPECT_EQ(wide_property(ZW("Win32_OperatingSystem"), ZW("Primary"), ZYN_PROPERTY_BOOLEAN), ZW("true"));
    const zyn_wstring domain = wide_property(ZW("Win32_ComputerSystem"), ZW("PartOfDomain"), ZYN_PROPERTY_BOOLEAN);
#if defined(_WIN32)
    EXPECT_TRUE(domain == ZW("true") || domain == ZW("false") || domain == ZW("#")); // Wine lacks the property
#else
    EXPECT_EQ(domain, ZW("false"));
#endif
    // A truth value as text, another kind, an unknown property: success with nothing; the wide
    // export leaves the buffer alone, the narrow twin writes an empty text.
    for (const auto& [name, kind] : {std::pair<std::string, int>{"Primary", ZYN_PROPERTY_TEXT}, {"Caption", 0},
                                     {"Caption", 5}, {"NoSuchProperty", ZYN_PROPERTY_TEXT},
                                     {"NoSuchProperty", ZYN_PROPERTY_BOOLEAN}}) {
        EXPECT_EQ(wide_property(ZW("Win32_OperatingSystem"), test::widen_ascii(name), kind), ZW("#"));
        EXPECT_EQ(property("Win32_OperatingSystem", name.c_str(), kind), "") << name << kind;
        EXPECT_EQ(zyn_geterror(), 0);
    }
    zyn_getmachineproperty(nullptr, nullptr, ZYN_PROPERTY_TEXT, nullptr); // no class, no property, no crash
    EXPECT_EQ(property("Win32_OperatingSystem", nullptr), "");

    // WMI's answer for an unknown class; 241 characters still fit the query, 242 are refused, not cut.
    // (Wine's WMI reports no error and no objects for an unknown class: the narrow twin writes an empty text.)
    const std::string longest = "Win32_" + std::string(235, 'X');
    for (const std::string& name : {std::string("Win32_NoSuchClass"), longest, longest + "Y"}) {
        char narrow[16] = "untouched";
        const int result = zyn_getmachineproperty(name.c_str(), "Name", ZYN_PROPERTY_TEXT, narrow);
#if defined(_WIN32)
        if (result == 1 && name != longest + "Y") {
            EXPECT_STREQ(narrow, "");
            continue;
        }
#endif
        expect_failure(result, ZYN_ERR_CALL_FAILED, int32_t(0x80041010u));
        EXPECT_STREQ(narrow, "untouched");
        EXPECT_EQ(wide_property(test::widen_ascii(name), ZW("Name"), ZYN_PROPERTY_TEXT, 0), ZW("#"));
    }
#if defined(_WIN32)
    // A thread already in the multithreaded apartment cannot join a single-threaded one;
    // after a call the thread is uninitialised again and may still choose it.
    std::thread([] {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        EXPECT_EQ(property("Win32_OperatingSystem", "Caption", ZYN_PROPERTY_TEXT, 0), "untouched");
        expect_failure(0, ZYN_ERR_CALL_FAILED, int32_t(RPC_E_CHANGED_MODE));
        CoUninitialize();
    }).join();
    EXPECT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    CoUninitialize();
#endif
}

#if defined(_WIN32)
uint32_t own_id() { return GetCurrentProcessId(); }
std::string own_path()
{
    char path[MAX_PATH] = {};
    return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}
#else
uint32_t own_id() { return uint32_t(getpid()); }
std::string own_path() { return std::filesystem::read_symlink("/proc/self/exe").string(); }
#endif
// A whole list, zero-filled behind the text.
template <class C>
std::basic_string<C> listed(int(ZYN_CALL* list)(C*, uint32_t))
{
    std::vector<C> out(1 << 20, C('#'));
    EXPECT_EQ(list(out.data(), uint32_t(out.size())), 1);
    EXPECT_EQ(out.back(), C(0));
    return out.data();
}

// A waiting program run from a copy under the given UTF-8 file name (Windows: this
// program, suspended), stopped at the latest at the end of the scope.
class Process {
public:
    Process(const test::TempDir& dir, const std::string& name)
    {
#if defined(_WIN32)
        wchar_t exe[MAX_PATH] = {};
        MultiByteToWideChar(CP_UTF8, 0, (dir.path() + "\\" + name).c_str(), -1, exe, MAX_PATH);
        std::filesystem::copy_file(own_path(), exe);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        running_ = CreateProcessW(exe, nullptr, nullptr, nullptr, 0, CREATE_SUSPENDED, nullptr, nullptr, &startup, &info_);
        id = running_ ? info_.dwProcessId : 0;
#else
        std::filesystem::copy_file("/bin/sleep", dir.join(name));
        const pid_t child = fork();
        if (child == 0)
            _exit(execl(dir.join(name).c_str(), dir.join(name).c_str(), "30", static_cast<char*>(nullptr)));
        running_ = child > 0;
        id = running_ ? uint32_t(child) : 0;
#endif
    }
    ~Process() { stop(); }
    void stop()
    {
        if (!std::exchange(running_, false))
            return;
#if defined(_WIN32)
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, INFINITE);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
#else
        kill(pid_t(id), SIGKILL);
        waitpid(pid_t(id), nullptr, 0);
#endif
    }
    uint32_t id = 0;

private:
    bool running_ = false;
#if defined(_WIN32)
    PROCESS_INFORMATION info_{};
#endif
};

TEST_F(System, ProcessListHoldsThisProgramALineEach)
{
    const std::string path = own_path(), text = listed(zyn_get_listprocesses),
                      own_line = path.substr(path.find_last_of("/\\") + 1) + ";*" + std::to_string(own_id()) + "\n";
    EXPECT_NE(text.find(own_line), std::string::npos) << own_line;
    ASSERT_EQ(text.back(), '\n');
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        const std::string line = text.substr(start, (end = text.find('\n', start)) - start);
        ASSERT_NE(line.rfind(";*"), std::string::npos) << line;
        EXPECT_EQ(line.find_first_not_of("0123456789", line.rfind(";*") + 2), std::string::npos) << line;
    }
    EXPECT_NE(listed(zyn_wget_listprocesses).find(test::widen_ascii(own_line)), zyn_wstring::npos);
}

TEST_F(System, ProcessNamesStayOnTheirOwnLine)
{
    // A control character or the '*' of ";*" in a name would add a line or an id: it is listed
    // as '?'. The narrow twin keeps the low byte of characters beyond U+00FF except where that
    // byte is zero or would pose as one of them.
    const struct {
        const char* file;
        const char* narrow;
        zyn_wstring wide;
    } cases[] = {
        {"\xE4\xB8\x80\xC5\x81ucja.exe", "?Aucja.exe", ZW("\u4E00\u0141ucja.exe")},
        {"ghost\xC4\xBB\xC4\xAA" "1\xC4\x8Aother.exe", "ghost??1?other.exe", ZW("ghost\u013B\u012A1\u010Aother.exe")},
#if !defined(_WIN32)
        {"game.exe;*1\nother.exe", "game.exe;?1?other.exe", ZW("game.exe;?1?other.exe")},
#endif
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        Process process(dir, c.file);
        ASSERT_NE(process.id, 0u) << c.narrow;
        const std::string id = ";*" + std::to_string(process.id) + "\n", line = c.narrow + id;
        bool shown = false; // a child shows its new name once it has run execl
        for (int i = 0; i < 500 && !(shown = listed(zyn_get_listprocesses).find(line) != std::string::npos); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_TRUE(shown) << line;
        EXPECT_NE(listed(zyn_wget_listprocesses).find(c.wide + test::widen_ascii(id)), zyn_wstring::npos);
#if !defined(_WIN32)
        char info[4096];
        ASSERT_EQ(zyn_get_processinfo(process.id, info, sizeof info), 1);
        EXPECT_EQ(std::string(info).rfind(std::string("modulename:") + c.narrow + "\nexecutable:" + dir.join(c.narrow), 0),
                  0u) << info;
#endif
    }
}

TEST_F(System, ListsAreCutToTheLength)
{
    char small[16];
    std::memset(small, '#', sizeof small);
    ASSERT_EQ(zyn_get_listprocesses(small, 10), 1);
    EXPECT_EQ(std::memchr(small, '\0', 10), nullptr); // ten characters, no terminator
    EXPECT_EQ(small[10], '#');
    zyn_wchar wide[16];
    std::fill(std::begin(wide), std::end(wide), ZW('#'));
    ASSERT_EQ(zyn_wget_listprocesses(wide, 10), 1);
    EXPECT_NE(wide[9], 0);
    EXPECT_EQ(wide[10], ZW('#'));
    ASSERT_EQ(zyn_get_processinfo(0, small, 11), 1);
    EXPECT_EQ(std::string(small, 12), "modulename:#");

    // Length 0 stores nothing; a missing buffer with a length is refused.
    EXPECT_EQ(zyn_get_listprocesses(small, 0), 1);
    EXPECT_EQ(zyn_wget_listprocesses(nullptr, 0), 1);
    EXPECT_EQ(small[0], 'm');
    expect_failure(zyn_wget_listprocesses(nullptr, 100), ZYN_ERR_INVALID_ARGUMENT);
    expect_failure(zyn_get_listprocesses(nullptr, 100), ZYN_ERR_INVALID_ARGUMENT);
}

TEST_F(System, ModulesStartWithTheExecutable)
{
    const std::string path = own_path(),
                      first = "modulename:" + path.substr(path.find_last_of("/\\") + 1) + "\nexecutable:" + path + "\n";
#if defined(_WIN32)
    const std::string library = "modulename:zyn.dll\n";
#else
    const std::string library = "modulename:libzyn.so";
#endif
    std::vector<char> narrow(1 << 18, '#');
    for (uint32_t id : {0u, own_id()}) {
        ASSERT_EQ(zyn_get_processinfo(id, narrow.data(), uint32_t(narrow.size())), 1);
        const std::string text(narrow.data());
        EXPECT_EQ(text.rfind(first, 0), 0u) << text.substr(0, 300);
        EXPECT_NE(text.find(library), std::string::npos); // listed once
        EXPECT_EQ(text.find(library, text.find(library) + 1), std::string::npos);
    }
    std::vector<zyn_wchar> wide(1 << 18, ZW('#'));
    ASSERT_EQ(zyn_wget_processinfo(0, wide.data(), uint32_t(wide.size())), 1);
    EXPECT_EQ(zyn_wstring(wide.data()).rfind(test::widen_ascii(first), 0), 0u);

    test::TempDir dir;
    Process ended(dir, "ended.exe");
    ended.stop();
    narrow[0] = '#';
    expect_failure(zyn_get_processinfo(ended.id, narrow.data(), 64), ZYN_ERR_OPERATION_FAILED);
    EXPECT_EQ(narrow[0], '#');
}

TEST_F(System, AdministratorTest)
{
#if defined(_WIN32)
    EXPECT_EQ(zyn_is_admin(), IsUserAnAdmin() ? 1 : 0);
#else
    EXPECT_EQ(zyn_is_admin(), geteuid() == 0 ? 1 : 0);
#endif
    EXPECT_EQ(zyn_geterror(), 0);
}

TEST_F(System, Registry)
{
    uint32_t value = 7;
    char text[64] = "untouched";
    // The predefined key's own value and the numbers beside the codes are no codes;
    // a missing output is refused before the registry is touched.
    for (uint32_t code : {0x80000001u, 0u, 80000006u, 80000049u, 80000051u, 80000061u}) {
        expect_failure(zyn_reg_getdword(code, "Software", "Number", &value), ZYN_ERR_OPERATION_FAILED);
        expect_failure(zyn_reg_getstring(code, "Software", "Text", text), ZYN_ERR_OPERATION_FAILED);
    }
    expect_failure(zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, "Software", "Number", nullptr), ZYN_ERR_INVALID_ARGUMENT);
    expect_failure(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, "Software", "Text", nullptr), ZYN_ERR_INVALID_ARGUMENT);
#if defined(_WIN32)
    const std::string key = "Software\\zyn-registry-test-" + std::to_string(GetCurrentProcessId());
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr), 0);
    const DWORD number = 0xDEADBEEF;
    RegSetValueExA(handle, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegSetValueExA(handle, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>("hello registry"), 15);
    RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("default"), 8);
    RegCloseKey(handle);
    ASSERT_EQ(zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, key.c_str(), "Number", &value), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(value, 0xDEADBEEFu);
    ASSERT_EQ(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, key.c_str(), "Text", text), 1);
    EXPECT_STREQ(text, "hello registry");
    ASSERT_EQ(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, key.c_str(), nullptr, text), 1); // the key's default value
    EXPECT_STREQ(text, "default");
    // The wrong type and a missing value carry the registry's own status; the outputs stay.
    value = 7;
    std::strcpy(text, "untouched");
    expect_failure(zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, key.c_str(), "Text", &value), ZYN_ERR_CALL_FAILED,
                   ERROR_UNSUPPORTED_TYPE);
    expect_failure(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, key.c_str(), "Number", text), ZYN_ERR_CALL_FAILED,
                   ERROR_UNSUPPORTED_TYPE);
    expect_failure(zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, key.c_str(), "Missing", &value), ZYN_ERR_CALL_FAILED,
                   ERROR_FILE_NOT_FOUND);
    expect_failure(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, (key + "\\Missing").c_str(), "Text", text),
                   ZYN_ERR_CALL_FAILED, ERROR_FILE_NOT_FOUND);
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
#else
    // No registry: every root answers "not found".
    for (uint32_t code : {ZYN_HKEY_CLASSES_ROOT, ZYN_HKEY_CURRENT_USER, ZYN_HKEY_LOCAL_MACHINE, ZYN_HKEY_USERS,
                          ZYN_HKEY_PERFORMANCE_DATA, ZYN_HKEY_CURRENT_CONFIG, ZYN_HKEY_PERFORMANCE_TEXT,
                          ZYN_HKEY_PERFORMANCE_NLSTEXT}) {
        expect_failure(zyn_reg_getdword(code, "Software", "Number", &value), ZYN_ERR_CALL_FAILED, 2);
        expect_failure(zyn_reg_getstring(code, nullptr, nullptr, text), ZYN_ERR_CALL_FAILED, 2);
    }
#endif
    EXPECT_EQ(value, 7u);
    EXPECT_STREQ(text, "untouched");
}

constexpr int kNotConnected = 1167, kBadIndex = 160;

struct Pad {
    uint32_t packet = 0xAAAAAAAA;
    uint16_t buttons = 0xAAAA;
    uint8_t left_trigger = 0xAA, right_trigger = 0xAA;
    int16_t lx = 0x2AAA, ly = 0x2AAA, rx = 0x2AAA, ry = 0x2AAA;
    int read(uint32_t index)
    {
        return zyn_xinput_getstate_bgt_compatibility(index, &packet, &buttons, &left_trigger, &right_trigger, &lx, &ly,
                                                     &rx, &ry);
    }
    auto state() const { return std::make_tuple(packet, buttons, left_trigger, right_trigger, lx, ly, rx, ry); }
};

void expect_no_pad(uint32_t index, int32_t status)
{
    Pad pad;
    expect_failure(zyn_xinput_isconnected(index), ZYN_ERR_CALL_FAILED, status);
    expect_failure(pad.read(index), ZYN_ERR_CALL_FAILED, status);
    EXPECT_EQ(pad.state(), Pad().state());
    expect_failure(zyn_xinput_vibrate(index, 65535, 0), ZYN_ERR_CALL_FAILED, status);
}

TEST_F(System, ControllersAbsentOrBeyondTheFourth)
{
    expect_no_pad(3, kNotConnected); // none is attached there here, none at all under Wine
#if defined(_WIN32)
    expect_no_pad(0, kNotConnected);
#endif
    for (uint32_t index : {4u, 7u, 0xFFFFFFFFu})
        expect_no_pad(index, kBadIndex);
}

TEST_F(System, EveryReadNeedsTheLibraryLoaded)
{
    zyn_unload();
    char narrow[16] = "untouched";
    zyn_wchar wide[16] = {ZW('#'), 0};
    uint32_t value = 7;
    Pad pad;
    const std::function<int()> calls[] = {
        [&] { return zyn_getmachineproperty("Win32_OperatingSystem", "Caption", ZYN_PROPERTY_TEXT, narrow); },
        [&] { return zyn_wgetmachineproperty(ZW("Win32_OperatingSystem"), ZW("Caption"), ZYN_PROPERTY_TEXT, wide); },
        [&] { return zyn_get_listprocesses(narrow, sizeof narrow); },
        [&] { return zyn_wget_listprocesses(wide, 16); },
        [&] { return zyn_get_processinfo(0, narrow, sizeof narrow); },
        [&] { return zyn_wget_processinfo(0, wide, 16); },
        zyn_is_admin,
        [&] { return zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, "Software", "Number", &value); },
        [&] { return zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, "Software", "Text", narrow); },
        [] { return zyn_xinput_isconnected(0); },
        [&] { return pad.read(0); },
        [] { return zyn_xinput_vibrate(0, 1, 1); },
    };
    for (const auto& call : calls) {
        zyn_seterror(ZYN_ERR_NONE, 9);
        expect_failure(call(), ZYN_ERR_NOT_LOADED);
    }
    EXPECT_STREQ(narrow, "untouched");
    EXPECT_EQ(wide[0], ZW('#'));
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(pad.state(), Pad().state());
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
        if (motors)
            desc.Rumble = [](void* self, Uint16 low, Uint16 high) {
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

TEST_F(System, VirtualPadReadsInXInputLayout)
{
    {
        VirtualPad virtual_pad;
        ASSERT_NE(virtual_pad.joystick, nullptr);
        EXPECT_EQ(zyn_xinput_isconnected(0), 1);
        EXPECT_EQ(zyn_geterror(), 0);
        EXPECT_EQ(zyn_get_extendederror(), 0);
        expect_no_pad(1, kNotConnected);
        Pad rest, again, moved;
        ASSERT_EQ(rest.read(0), 1);
        EXPECT_EQ(rest.state(), std::make_tuple(rest.packet, 0, 0, 0, 0, 0, 0, 0));
        ASSERT_EQ(again.read(0), 1);
        EXPECT_EQ(again.packet, rest.packet); // an unchanged pad keeps its packet number
        EXPECT_EQ(zyn_xinput_getstate_bgt_compatibility(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                        nullptr, nullptr), 1); // null outputs are skipped

        // Buttons land on XInput's bits; triggers go from 0 to 255; vertical axes turn round
        // (SDL: up is negative, XInput: positive).
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
        EXPECT_EQ(zyn_xinput_vibrate(0, 65535, 1), 1);
        EXPECT_EQ(zyn_get_extendederror(), 0);
        EXPECT_EQ(rest.read(0), 1);
        EXPECT_EQ(std::make_tuple(virtual_pad.low, virtual_pad.high), std::make_tuple(65535, 1));
        EXPECT_EQ(zyn_xinput_vibrate(0, 0, 0), 1);
        EXPECT_EQ(virtual_pad.low + virtual_pad.high, 0);
    }
    expect_no_pad(0, kNotConnected); // detached
    VirtualPad without_motors(false);
    EXPECT_EQ(zyn_xinput_isconnected(0), 1);
    expect_failure(zyn_xinput_vibrate(0, 65535, 0), ZYN_ERR_CALL_FAILED, 50);
}

TEST_F(System, GameShuttingSdlDownFreesItsPads)
{
    // The pad the library held must then be neither used nor closed (valgrind sees it; ASan cannot
    // look into SDL), and the library starts SDL again. The ways: SDL_Quit; SDL_QuitSubSystem until
    // the subsystem is down; SDL_Quit and a new start.
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
        expect_failure(zyn_xinput_isconnected(0), ZYN_ERR_CALL_FAILED, kNotConnected);
        EXPECT_NE(SDL(WasInit)(SDL_INIT_GAMECONTROLLER), 0u) << how;
        VirtualPad again;
        EXPECT_EQ(zyn_xinput_isconnected(0), 1) << how;
    }
}
#endif

} // namespace
