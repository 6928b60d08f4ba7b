/*
 * zyn: ready-made services for game programs.
 *
 * One flat set of exported functions with the cdecl convention. Call zyn_init
 * first, then any operation, and zyn_unload at the end. Almost every operation
 * reports its outcome through the last error (zyn_geterror and
 * zyn_get_extendederror) and returns a neutral result on failure.
 *
 * Strings cross the boundary as std::string, zyn_wstring and std::vector
 * values, so the caller and the library must share one C++ standard library
 * (one libstdc++ on Linux and with MinGW-w64).
 */
#ifndef ZYN_ZYN_H
#define ZYN_ZYN_H

#if !defined(__cplusplus) || __cplusplus < 201703L
#error "zyn.h is a C++17 header"
#endif

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#if defined(_WIN32)
#  define ZYN_CALL __cdecl
#  if defined(ZYN_BUILDING)
#    define ZYN_API __declspec(dllexport)
#  else
#    define ZYN_API __declspec(dllimport)
#  endif
#else
#  define ZYN_CALL
#  define ZYN_API __attribute__((visibility("default")))
#endif

#define ZYN_EXPORT extern "C" ZYN_API

/* ---------------------------------------------------------------------------
 * Shared types and constants
 * ------------------------------------------------------------------------- */

/* One UTF-16 code unit: wchar_t on Windows, char16_t elsewhere. */
#if defined(_WIN32)
typedef wchar_t zyn_wchar;
#else
typedef char16_t zyn_wchar;
#endif
typedef std::basic_string<zyn_wchar> zyn_wstring;

/* Error codes returned by zyn_geterror. */
constexpr int ZYN_ERR_NONE = 0;
constexpr int ZYN_ERR_NOT_LOADED = 1;
constexpr int ZYN_ERR_CALL_FAILED = 2;
constexpr int ZYN_ERR_INVALID_HANDLE = 3;
constexpr int ZYN_ERR_ALREADY_LOADED = 4;
constexpr int ZYN_ERR_INVALID_ARGUMENT = 5;
constexpr int ZYN_ERR_NOT_FOUND = 6;
constexpr int ZYN_ERR_NOT_A_DIRECTORY = 7;
constexpr int ZYN_ERR_IS_A_DIRECTORY = 8;
constexpr int ZYN_ERR_LOAD_FAILED = 10;
constexpr int ZYN_ERR_SOCKETS_NOT_LOADED = 11;
constexpr int ZYN_ERR_OPERATION_FAILED = 12;
constexpr int ZYN_ERR_HTTP_NOT_LOADED = 13;
constexpr int ZYN_ERR_EMPTY_LIST = 14;

/* Time unit codes of the timers and the timestamp. */
constexpr int ZYN_UNIT_NANOSECONDS = 1;
constexpr int ZYN_UNIT_MICROSECONDS = 2;
constexpr int ZYN_UNIT_MILLISECONDS = 3;
constexpr int ZYN_UNIT_SECONDS = 4;
constexpr int ZYN_UNIT_MINUTES = 5;

/* Timer states kept in TimerRecord::state; any other value: never started. */
constexpr int ZYN_TIMER_PAUSED = 2;
constexpr int ZYN_TIMER_RUNNING = 4;

/* Media codes returned by zyn_capture_get_event. */
constexpr int ZYN_MEDIA_NONE = 0;
constexpr int ZYN_MEDIA_NEXT_TRACK = 1;
constexpr int ZYN_MEDIA_PREVIOUS_TRACK = 2;
constexpr int ZYN_MEDIA_PLAY_PAUSE = 3;
constexpr int ZYN_MEDIA_VOLUME_UP = 4;
constexpr int ZYN_MEDIA_VOLUME_DOWN = 5;

/* A caller-owned stopwatch. Zero-filled means never started. */
struct TimerRecord {
    uint32_t userData; /* the caller's; no timer operation touches it */
    int32_t state;     /* ZYN_TIMER_PAUSED, ZYN_TIMER_RUNNING, or never started */
    int64_t start;     /* monotonic nanoseconds from which elapsed time counts */
    int64_t mark;      /* monotonic nanoseconds at which elapsed time was last fixed */
};

/* One queued event: three integers of the caller's. */
struct EventRecord {
    int32_t code; /* 0 is written here when the queue is empty */
    int32_t param1;
    int32_t param2;
};

/* The library's list of wide strings, filled by zyn_wstring_split and the
 * wide directory listings. The caller owns the object; destroying it releases
 * its array. Copies are deep, so no two lists ever share an array. */
struct wstring_list {
    uint32_t count = 0;          /* strings held */
    uint32_t capacity = 0;       /* strings allocated */
    zyn_wstring* items = nullptr; /* one array of capacity strings; null when capacity is 0 */

    wstring_list() = default;
    ~wstring_list() { delete[] items; }
    wstring_list(const wstring_list& other) { copy_from(other); }
    wstring_list(wstring_list&& other) noexcept
        : count(other.count), capacity(other.capacity), items(other.items)
    {
        other.count = other.capacity = 0;
        other.items = nullptr;
    }
    wstring_list& operator=(const wstring_list& other)
    {
        if (this != &other) {
            wstring_list copy(other);
            swap(copy);
        }
        return *this;
    }
    wstring_list& operator=(wstring_list&& other) noexcept
    {
        if (this != &other) {
            wstring_list taken(static_cast<wstring_list&&>(other));
            swap(taken);
        }
        return *this;
    }
    void swap(wstring_list& other) noexcept
    {
        uint32_t c = count, k = capacity;
        zyn_wstring* i = items;
        count = other.count; capacity = other.capacity; items = other.items;
        other.count = c; other.capacity = k; other.items = i;
    }

private:
    void copy_from(const wstring_list& other)
    {
        if (other.capacity == 0)
            return;
        items = new zyn_wstring[other.capacity];
        capacity = other.capacity;
        for (uint32_t n = 0; n < other.count; ++n)
            items[n] = other.items[n];
        count = other.count;
    }
};

/* One entry of the batch taken by zyn_http_url_multiget. */
struct zyn_http_url_entry {
    void* handle;     /* used by the library while the batch runs; null afterwards */
    std::string url;  /* the URL to fetch */
    std::string data; /* receives the body, appended after what it holds */
};

/* A socket value held by the caller: an unsigned integer as wide as a pointer. */
typedef uintptr_t zyn_socket;
#define ZYN_INVALID_SOCKET (~(zyn_socket)0)

/* ---------------------------------------------------------------------------
 * Library state and last error
 * ------------------------------------------------------------------------- */

/* Loads the library; the argument is accepted without being examined. Error 4 when loaded. */
ZYN_EXPORT int ZYN_CALL zyn_init(const char* arg);
/* 1 while the library is loaded. No frame: the last error is untouched. */
ZYN_EXPORT int ZYN_CALL zyn_isloaded(void);
/* Releases inventories, the HTTP layer and the socket layer, then unloads. 0 when not loaded. */
ZYN_EXPORT int ZYN_CALL zyn_unload(void);
/* A static description of the library; never freed by the caller. */
ZYN_EXPORT const char* ZYN_CALL zyn_getinfo(void);
/* The version number, 1007. */
ZYN_EXPORT int ZYN_CALL zyn_getversion(void);
/* The error code of the last framed operation. */
ZYN_EXPORT int ZYN_CALL zyn_geterror(void);
/* The extended error (a system or libcurl code) of the last framed operation. */
ZYN_EXPORT int ZYN_CALL zyn_get_extendederror(void);
/* Stores both halves of the last error. */
ZYN_EXPORT void ZYN_CALL zyn_seterror(int code, int extended);
/* Stores the extended error, leaving the error code as it is. */
ZYN_EXPORT void ZYN_CALL zyn_set_extendederror(int extended);
/* 1 when a debugger is attached to the process. No frame. */
ZYN_EXPORT int ZYN_CALL zyn_DebuggerIsPresent(void);

/* ---------------------------------------------------------------------------
 * Events and window-message capture
 * ------------------------------------------------------------------------- */
/* (events) */

/* ---------------------------------------------------------------------------
 * Waiting and CPU load
 * ------------------------------------------------------------------------- */
/* Blocks the calling thread for at least the given milliseconds of monotonic time. */
ZYN_EXPORT int ZYN_CALL zyn_wait(uint32_t milliseconds);
/* Busy share of the whole machine since the previous sample, 0.0 to 1.0; -1.0 on failure. */
ZYN_EXPORT float ZYN_CALL zyn_getcpuload(void);

/* ---------------------------------------------------------------------------
 * Narrow and wide strings
 * ------------------------------------------------------------------------- */
/* (strings) */

/* ---------------------------------------------------------------------------
 * Base64, UTF-8 and HTML entities
 * ------------------------------------------------------------------------- */
/* (encodings) */

/* ---------------------------------------------------------------------------
 * Whole files, directories and files
 * ------------------------------------------------------------------------- */
/* (files) */

/* ---------------------------------------------------------------------------
 * The log
 * ------------------------------------------------------------------------- */
/* (log) */

/* ---------------------------------------------------------------------------
 * Inventories
 * ------------------------------------------------------------------------- */
/* (inventory) */

/* ---------------------------------------------------------------------------
 * HTTP
 * ------------------------------------------------------------------------- */
/* (http) */

/* ---------------------------------------------------------------------------
 * TCP sockets
 * ------------------------------------------------------------------------- */
/* (sockets) */

/* ---------------------------------------------------------------------------
 * Timers and the timestamp
 * ------------------------------------------------------------------------- */

/* Starts (or starts again) a timer from zero. Works without zyn_init. */
ZYN_EXPORT int ZYN_CALL zyn_timer_restart(TimerRecord* timer);
/* Pauses a running timer; a paused one stays as it is. Error 12 if never started. */
ZYN_EXPORT int ZYN_CALL zyn_timer_pause(TimerRecord* timer);
/* Resumes a paused timer, keeping whole milliseconds. Error 12 if never started. */
ZYN_EXPORT int ZYN_CALL zyn_timer_resume(TimerRecord* timer);
/* Elapsed time in a ZYN_UNIT_* unit, or -1 with error 5 for an unknown unit. */
ZYN_EXPORT int64_t ZYN_CALL zyn_timer_elapsed(TimerRecord* timer, int unit);
/* Makes the timer show the given elapsed time; state and mark are kept. */
ZYN_EXPORT int ZYN_CALL zyn_timer_force(TimerRecord* timer, int64_t value, int unit);
/* Wall-clock time since 1970-01-01 UTC in units 1 to 4, or -1. */
ZYN_EXPORT int64_t ZYN_CALL zyn_timer_get_timestamp(int unit);

/* ---------------------------------------------------------------------------
 * Random numbers, rounding and percentages
 * ------------------------------------------------------------------------- */
/* (random) */

/* ---------------------------------------------------------------------------
 * Machine, processes, registry, controllers and dialogs
 * ------------------------------------------------------------------------- */
/* Registry root-key codes taken by zyn_reg_getdword and zyn_reg_getstring:
 * the hexadecimal digits of the predefined key, read as a decimal number. */
constexpr uint32_t ZYN_HKEY_CLASSES_ROOT = 80000000u;
constexpr uint32_t ZYN_HKEY_CURRENT_USER = 80000001u;
constexpr uint32_t ZYN_HKEY_LOCAL_MACHINE = 80000002u;
constexpr uint32_t ZYN_HKEY_USERS = 80000003u;
constexpr uint32_t ZYN_HKEY_PERFORMANCE_DATA = 80000004u;
constexpr uint32_t ZYN_HKEY_CURRENT_CONFIG = 80000005u;
constexpr uint32_t ZYN_HKEY_PERFORMANCE_TEXT = 80000050u;
constexpr uint32_t ZYN_HKEY_PERFORMANCE_NLSTEXT = 80000060u;

/* Value kinds of the machine-property queries: 11 "true"/"false", 12 text. */
constexpr int ZYN_PROPERTY_BOOLEAN = 11;
constexpr int ZYN_PROPERTY_TEXT = 12;

/* Gathers one property of every object of a WMI class as text into out (room for all of it). */
ZYN_EXPORT int ZYN_CALL zyn_wgetmachineproperty(const zyn_wchar* class_name, const zyn_wchar* property, int kind, zyn_wchar* out);
/* Narrow twin of zyn_wgetmachineproperty; out receives at most 255 bytes and a zero. */
ZYN_EXPORT int ZYN_CALL zyn_getmachineproperty(const char* class_name, const char* property, int kind, char* out);
/* Lines "name;*id\n" for every running process, cut to length units, zero-filled behind. Error 12. */
ZYN_EXPORT int ZYN_CALL zyn_wget_listprocesses(zyn_wchar* out, uint32_t length);
/* Narrow twin of zyn_wget_listprocesses (low byte of each unit). */
ZYN_EXPORT int ZYN_CALL zyn_get_listprocesses(char* out, uint32_t length);
/* Lines "modulename:..\nexecutable:..\n" for each module of a process (0: this one). Error 12. */
ZYN_EXPORT int ZYN_CALL zyn_wget_processinfo(uint32_t process_id, zyn_wchar* out, uint32_t length);
/* Narrow twin of zyn_wget_processinfo. */
ZYN_EXPORT int ZYN_CALL zyn_get_processinfo(uint32_t process_id, char* out, uint32_t length);
/* 1 when the caller runs with administrator rights, else 0; error 12 when the test fails. */
ZYN_EXPORT int ZYN_CALL zyn_is_admin(void);
/* Reads a DWORD registry value; error 12 for an unknown root code, 2 with the registry's status. */
ZYN_EXPORT int ZYN_CALL zyn_reg_getdword(uint32_t root, const char* subkey, const char* value_name, uint32_t* out);
/* Reads a string registry value with its zero into out, which must hold all of it. */
ZYN_EXPORT int ZYN_CALL zyn_reg_getstring(uint32_t root, const char* subkey, const char* value_name, char* out);
/* 1 when controller 0 to 3 is connected; else error 2 with 1167 (not connected) or 160 (bad index). */
ZYN_EXPORT int ZYN_CALL zyn_xinput_isconnected(uint32_t index);
/* Sets the left (low-frequency) and right (high-frequency) motor speeds. */
ZYN_EXPORT int ZYN_CALL zyn_xinput_vibrate(uint32_t index, uint16_t left_motor, uint16_t right_motor);
/* Reads a controller's state in XInput's layout into eight out-parameters. */
ZYN_EXPORT int ZYN_CALL zyn_xinput_getstate_bgt_compatibility(uint32_t index, uint32_t* packet, uint16_t* buttons,
                                                              uint8_t* left_trigger, uint8_t* right_trigger,
                                                              int16_t* left_x, int16_t* left_y,
                                                              int16_t* right_x, int16_t* right_y);
/* Shows the open-file dialog; the chosen paths land in buffer as UTF-8 joined by "\r\n". No frame.
 * filter ("Name|*.a;*.b|...") is split in place; cancel leaves buffer untouched. */
ZYN_EXPORT void ZYN_CALL zyn_OpenFileDialog(int multiple, char* filter, char* buffer, uint32_t capacity);
/* Shows the folder picker, optionally opening in initial_folder (UTF-8). No frame. */
ZYN_EXPORT void ZYN_CALL zyn_OpenFolderDialog(int multiple, const char* initial_folder, char* buffer, uint32_t capacity);

#endif /* ZYN_ZYN_H */
