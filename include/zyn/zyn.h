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
/* These exports return standard-library strings by value (see the top of this file). */
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
/* The list zyn_string_split fills (its wide twin fills a wstring_list). */
typedef std::vector<std::string> zyn_string_list;

/* 1-based position of search in text at or after the 0-based start; 0 with error 6 when absent. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_string_contains(const std::string& text, const std::string& search, uint32_t start);
/* The bytes in reverse order; error 5 for fewer than 2 bytes. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_reverse(const std::string& text);
/* At most count bytes from start; the whole text when it is no longer than count. Never an error. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_extract(const std::string& text, uint32_t start, uint32_t count);
/* 1 when every byte is '0' to '9'; error 5 for an empty text. */
ZYN_EXPORT int ZYN_CALL zyn_string_is_digits(const std::string& text);
/* Replaces the first (all = 0) or every occurrence of search; error 5 for an empty text or search. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_replace(const std::string& text, const std::string& search, const std::string& replacement, uint8_t all);
/* Cuts text at each delimiter into list (emptied first); error 5 leaves list as it was. */
ZYN_EXPORT int ZYN_CALL zyn_string_split(const std::string& text, const std::string& delimiter, uint8_t whole, zyn_string_list& list);
/* The text without any byte that occurs in characters; error 5 when either is empty. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_smash(const std::string& text, const std::string& characters);
/* 1 when every byte is 'A' to 'Z'; error 5 for an empty text. */
ZYN_EXPORT int ZYN_CALL zyn_string_is_upper_case(const std::string& text);
/* 1 when every byte is 'a' to 'z'; error 5 for an empty text. */
ZYN_EXPORT int ZYN_CALL zyn_string_is_lower_case(const std::string& text);
/* A copy with 'a' to 'z' made upper case; error 5 for an empty text. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_to_upper_case(const std::string& text);
/* A copy with 'A' to 'Z' made lower case; error 5 for an empty text. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_to_lower_case(const std::string& text);
/* The number the text begins with (0.0 when none, never an error); -1.0 when not loaded. */
ZYN_EXPORT double ZYN_CALL zyn_string_to_number(const std::string& text);
/* Splits text at delimiter, sorts the pieces in natural order and appends each piece and a delimiter to output. */
ZYN_EXPORT int ZYN_CALL zyn_string_sort(const char* text, const char* delimiter, char* output);

/* Wide twin of zyn_string_contains; positions count 16-bit units. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_wstring_contains(const zyn_wstring& text, const zyn_wstring& search, uint32_t start);
/* Wide twin of zyn_string_reverse (a surrogate pair comes out swapped). */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_reverse(const zyn_wstring& text);
/* Wide twin of zyn_string_extract. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_extract(const zyn_wstring& text, uint32_t start, uint32_t count);
/* Wide twin of zyn_string_is_digits (ASCII digits only). */
ZYN_EXPORT int ZYN_CALL zyn_wstring_is_digits(const zyn_wstring& text);
/* Wide twin of zyn_string_replace. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_replace(const zyn_wstring& text, const zyn_wstring& search, const zyn_wstring& replacement, uint8_t all);
/* Wide twin of zyn_string_split, filling a wstring_list (emptied, then grown from 64 by doubling). */
ZYN_EXPORT int ZYN_CALL zyn_wstring_split(const zyn_wstring& text, const zyn_wstring& delimiter, uint8_t whole, wstring_list& list);
/* Wide twin of zyn_string_smash. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_smash(const zyn_wstring& text, const zyn_wstring& characters);
/* Wide twin of zyn_string_is_upper_case (ASCII letters only). */
ZYN_EXPORT int ZYN_CALL zyn_wstring_is_upper_case(const zyn_wstring& text);
/* Wide twin of zyn_string_is_lower_case (ASCII letters only). */
ZYN_EXPORT int ZYN_CALL zyn_wstring_is_lower_case(const zyn_wstring& text);
/* Wide twin of zyn_string_to_upper_case (ASCII letters only). */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_to_upper_case(const zyn_wstring& text);
/* Wide twin of zyn_string_to_lower_case (ASCII letters only). */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_to_lower_case(const zyn_wstring& text);
/* Wide twin of zyn_string_to_number, reading the same ASCII number on every platform. */
ZYN_EXPORT double ZYN_CALL zyn_wstring_to_number(const zyn_wstring& text);
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

/* ---------------------------------------------------------------------------
 * Base64, UTF-8 and HTML entities
 * ------------------------------------------------------------------------- */
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
/* Standard Base64 of the bytes, one line with "=" padding; error 5 for empty data. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_base64_encode(const std::string& data);
/* The bytes of Base64 text; error 5 and an empty result unless it is whole padded groups. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_base64_decode(const std::string& text);
/* Base64 of units 0 to 255 taken as bytes; error 5 for empty data or a unit above 255. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_base64_encode(const zyn_wstring& data);
/* Base64 text decoded to one unit per byte; error 5 as for the narrow decoder. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_base64_decode(const zyn_wstring& text);
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
/* Latin-1 to UTF-8 (valid UTF-8 is copied unchanged); output needs 2 * length bytes, no zero added. */
ZYN_EXPORT int ZYN_CALL zyn_utf8_encode(const char* text, uint32_t length, char* output);
/* UTF-8 to Latin-1, dropping code points above 255 (invalid UTF-8 is copied unchanged); no zero added. */
ZYN_EXPORT int ZYN_CALL zyn_utf8_decode(const char* text, uint32_t length, char* output);
/* Replaces HTML character references by UTF-8, writing at most size bytes (zero included) to destination;
 * a null source decodes destination in place. Error 5 when size is 0. */
ZYN_EXPORT int ZYN_CALL zyn_decode_entite(const char* source, uint32_t size, char* destination);

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
/* (system) */

#endif /* ZYN_ZYN_H */
