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
 *
 * This header is the contract. Each export has a block right above it:
 *   first line  what it does (parameters whose names do not say it all);
 *   Returns     the result, and the neutral result a failure gives (left out
 *               where the first line says it all or nothing is returned);
 *   Errors      the ZYN_ERR_* codes it sets besides ZYN_ERR_NOT_LOADED, with
 *               the extended error where it carries a code (the system's,
 *               libcurl's, or a Winsock number); "none" when it sets none;
 *   Needs zyn_init
 *               a framed export: it clears the calling thread's last error,
 *               and before zyn_init (or after zyn_unload) it sets
 *               ZYN_ERR_NOT_LOADED and returns its neutral result at once;
 *   Works without zyn_init
 *               it does its work whether or not the library is loaded;
 *               "no frame" adds that it never reads or changes the last error;
 *   Threads     "any": it keeps no unlocked process-wide state, so other
 *               threads may call it at the same time; "one at a time": calls
 *               on different threads must not overlap. The library is meant
 *               to be called from one thread at a time; the event queue may be
 *               shared, and each thread has its own last error.
 * Twins (narrow and wide) share one block or refer to each other. The
 * section comments name the page of docs/ with the overview, platform notes
 * and examples of each family; docs/core.md explains the frame.
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

/* Some exports return standard-library strings by value (see above); clang
 * warns about that for extern "C" functions, and here it is intended. */
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif

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

/* A boolean parameter: one byte, 0 is false and any other value is true. */
typedef unsigned char zyn_bool;

/* Error codes returned by zyn_geterror (the last error: docs/core.md). */
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

/* The layout zyn.dll is built with, checked wherever this header is compiled
 * for Windows (32 and 64 bits): a game built with other structure packing,
 * another C++ standard library or libstdc++'s old string ABI stops here
 * instead of misreading what crosses the boundary. */
#if defined(_WIN32)
#if !defined(__GLIBCXX__) || !_GLIBCXX_USE_CXX11_ABI
#error "zyn.dll shares MinGW-w64's libstdc++ (with its C++11 string ABI) with the game"
#endif
#define ZYN_LAYOUT_(bits64, bits32) (sizeof(void*) == 8 ? (bits64) : (bits32))
static_assert(sizeof(zyn_wchar) == 2, "zyn_wchar is one UTF-16 unit");
static_assert(sizeof(TimerRecord) == 24 && offsetof(TimerRecord, userData) == 0 && offsetof(TimerRecord, state) == 4
                  && offsetof(TimerRecord, start) == 8 && offsetof(TimerRecord, mark) == 16,
              "TimerRecord layout");
static_assert(sizeof(EventRecord) == 12 && offsetof(EventRecord, code) == 0 && offsetof(EventRecord, param1) == 4
                  && offsetof(EventRecord, param2) == 8,
              "EventRecord layout");
static_assert(sizeof(wstring_list) == ZYN_LAYOUT_(16, 12) && offsetof(wstring_list, count) == 0
                  && offsetof(wstring_list, capacity) == 4 && offsetof(wstring_list, items) == 8,
              "wstring_list layout");
static_assert(sizeof(std::string) == ZYN_LAYOUT_(32, 24) && sizeof(zyn_wstring) == ZYN_LAYOUT_(32, 24),
              "libstdc++ strings");
static_assert(sizeof(zyn_http_url_entry) == ZYN_LAYOUT_(72, 52) && offsetof(zyn_http_url_entry, handle) == 0
                  && offsetof(zyn_http_url_entry, url) == ZYN_LAYOUT_(8, 4)
                  && offsetof(zyn_http_url_entry, data) == ZYN_LAYOUT_(40, 28),
              "zyn_http_url_entry layout");
static_assert(sizeof(zyn_socket) == ZYN_LAYOUT_(8, 4) && ZYN_INVALID_SOCKET > 0,
              "zyn_socket is an unsigned integer as wide as a pointer, like SOCKET");
#undef ZYN_LAYOUT_
#endif

/* ---------------------------------------------------------------------------
 * Library state and last error: docs/core.md
 * ------------------------------------------------------------------------- */

/* zyn_init: loads the library; arg is accepted (null too) without being examined.
 * Returns 1; 0 when the library is loaded already (it stays loaded).
 * Errors: ZYN_ERR_ALREADY_LOADED. The last error is cleared first.
 * Threads: one at a time, with no other call running. */
ZYN_EXPORT int ZYN_CALL zyn_init(const char* arg);
/* zyn_isloaded: whether the library is loaded.
 * Returns 1 while loaded, else 0. Errors: none.
 * Works without zyn_init; no frame. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_isloaded(void);
/* zyn_unload: releases every inventory (unsaved), then the HTTP layer, then the socket layer,
 * and unloads. The event queue, the log, a media-key capture and the inventory handle counter stay.
 * Returns 1; 0 when not loaded, which is not an error. Errors: none (the last error is cleared).
 * Threads: one at a time, with no other call running. */
ZYN_EXPORT int ZYN_CALL zyn_unload(void);
/* zyn_getinfo: a static description of the library: the same pointer on every call, never freed.
 * Errors: none. Works without zyn_init; no frame. Threads: any. */
ZYN_EXPORT const char* ZYN_CALL zyn_getinfo(void);
/* zyn_getversion: the version number, 1007.
 * Errors: none. Works without zyn_init; no frame. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_getversion(void);
/* zyn_geterror: the ZYN_ERR_* code of the calling thread's last framed call.
 * Errors: none. Works without zyn_init; no frame. Threads: any (each thread reads its own). */
ZYN_EXPORT int ZYN_CALL zyn_geterror(void);
/* zyn_get_extendederror: the extended error of the calling thread's last framed call: the
 * system's, libcurl's or a Winsock code where that export sets one, else 0.
 * Errors: none. Works without zyn_init; no frame. Threads: any (each thread reads its own). */
ZYN_EXPORT int ZYN_CALL zyn_get_extendederror(void);
/* zyn_seterror: stores both halves of the calling thread's last error, as given.
 * Errors: none. Works without zyn_init. Threads: any (each thread sets its own). */
ZYN_EXPORT void ZYN_CALL zyn_seterror(int code, int extended);
/* zyn_set_extendederror: stores the calling thread's extended error, leaving the code as it is.
 * Errors: none. Works without zyn_init. Threads: any (each thread sets its own). */
ZYN_EXPORT void ZYN_CALL zyn_set_extendederror(int extended);
/* zyn_DebuggerIsPresent: 1 when a debugger is attached to the process (Windows: IsDebuggerPresent;
 * Linux: a tracer in /proc/self/status), else 0. Described with the system queries, docs/system.md.
 * Errors: none. Works without zyn_init; no frame. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_DebuggerIsPresent(void);

/* ---------------------------------------------------------------------------
 * Events and window-message capture: docs/events.md
 * ------------------------------------------------------------------------- */
/* zyn_event_send: appends the event (code, param1, param2) to the back of the process-wide queue;
 * code 0 may be sent too. Out of memory, the standard library's exception reaches the caller.
 * Returns 1; 0 on failure (nothing queued). Errors: none.
 * Needs zyn_init. Threads: any (the queue has a lock). */
ZYN_EXPORT int ZYN_CALL zyn_event_send(int32_t code, int32_t param1, int32_t param2);
/* zyn_event_get: takes the front event into *event.
 * Returns 1 and the event; 0 on an empty queue, with event->code set to 0 (not an error);
 * 0 on failure (*event untouched). Errors: ZYN_ERR_INVALID_ARGUMENT for a null event (it stays queued).
 * Needs zyn_init. Threads: any (the queue has a lock). */
ZYN_EXPORT int ZYN_CALL zyn_event_get(EventRecord* event);
/* zyn_event_count: the number of queued events, at most 2147483647.
 * Returns 0 on failure. Errors: none.
 * Needs zyn_init. Threads: any (the queue has a lock). */
ZYN_EXPORT int ZYN_CALL zyn_event_count(void);
/* zyn_event_clear: removes every queued event.
 * Returns 1; 0 on failure (nothing removed). Errors: none.
 * Needs zyn_init. Threads: any (the queue has a lock). */
ZYN_EXPORT int ZYN_CALL zyn_event_clear(void);
/* zyn_capture_start_events: stops an active capture, then hooks the top-level window whose title
 * is the length bytes at title (no NUL needed; a NUL ends it) to hear its media keys.
 * Returns 1 when hooked; 0 when no window has the title or it cannot be hooked (Linux: also no
 * display or no libxcb), and for a null title (checked first: an active capture stays). Errors: none.
 * Works without zyn_init; no frame. Threads: any on Linux (one lock); one at a time on Windows. */
ZYN_EXPORT int ZYN_CALL zyn_capture_start_events(const char* title, size_t length);
/* zyn_capture_stop_events: ends the active capture (the window gets its own procedure back; Linux:
 * its keys are deselected); nothing when idle. A key noted before it still waits for the next poll.
 * Errors: none. Works without zyn_init; no frame. Threads: as zyn_capture_start_events. */
ZYN_EXPORT void ZYN_CALL zyn_capture_stop_events(void);
/* zyn_capture_get_event: the ZYN_MEDIA_* code of the last media key since the previous poll, then
 * ZYN_MEDIA_NONE until the next key; each key is taken by one poll. Never waits.
 * Errors: none. Works without zyn_init; no frame. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_capture_get_event(void);

/* ---------------------------------------------------------------------------
 * Waiting and CPU load: docs/time.md
 * ------------------------------------------------------------------------- */
/* zyn_wait: blocks the calling thread for at least the given milliseconds of monotonic time
 * (0: returns at once); wall-clock changes neither shorten nor lengthen it.
 * Returns 1; 0 on failure (no wait). Errors: none.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_wait(uint32_t milliseconds);
/* zyn_getcpuload: busy share of the whole machine since the previous sample (the first call:
 * since the machine started), 0.0 to 1.0.
 * Returns -1.0 on failure, also when the system gives no figures (the error then stays 0).
 * Errors: none. Needs zyn_init. Threads: one at a time (the previous sample is process-wide). */
ZYN_EXPORT float ZYN_CALL zyn_getcpuload(void);

/* ---------------------------------------------------------------------------
 * Narrow and wide strings: docs/text.md
 * One byte (narrow) or one 16-bit unit (wide) is one character; character
 * classes are ASCII only. Every export needs zyn_init and may run on any thread.
 * ------------------------------------------------------------------------- */
/* The list zyn_string_split fills (its wide twin fills a wstring_list). */
typedef std::vector<std::string> zyn_string_list;

/* zyn_string_contains: finds search in text at or after the 0-based start.
 * Returns the 1-based position of the first occurrence; 0 on failure.
 * Errors: ZYN_ERR_INVALID_ARGUMENT for an empty text or search, or start not below the length;
 * ZYN_ERR_NOT_FOUND when absent (or found only past the 32-bit range).
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_string_contains(const std::string& text, const std::string& search, uint32_t start);
/* zyn_string_reverse: the bytes in reverse order.
 * Returns the reversed text; empty on failure.
 * Errors: ZYN_ERR_INVALID_ARGUMENT for fewer than 2 bytes.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_reverse(const std::string& text);
/* zyn_string_extract: the whole text when it is no longer than count; otherwise at most count
 * bytes from the 0-based start (empty from a start past the end).
 * Returns the piece; empty on failure. Errors: none.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_extract(const std::string& text, uint32_t start, uint32_t count);
/* zyn_string_is_digits: whether every byte is '0' to '9'.
 * Returns 1 or 0; 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for an empty text.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_string_is_digits(const std::string& text);
/* zyn_string_replace: replaces the first (all = 0) or every occurrence of search by replacement
 * (empty: deletes); each window that starts at search's first byte is compared whole (docs/text.md).
 * Returns the new text; empty on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for an empty text or search.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_replace(const std::string& text, const std::string& search, const std::string& replacement, zyn_bool all);
/* zyn_string_split: cuts text into list, which then holds exactly the pieces (empty ones kept, none
 * after a trailing delimiter). whole != 0: a piece ends at each whole delimiter; whole = 0: at each
 * occurrence of the delimiter's first byte, only that byte consumed. text may be an item of list.
 * Returns 1; 0 on failure, list as it was.
 * Errors: ZYN_ERR_INVALID_ARGUMENT for an empty text or delimiter. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_string_split(const std::string& text, const std::string& delimiter, zyn_bool whole, zyn_string_list& list);
/* zyn_string_smash: the text without any byte that occurs in characters.
 * Returns the text; empty on failure. Errors: ZYN_ERR_INVALID_ARGUMENT when either is empty.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_smash(const std::string& text, const std::string& characters);
/* zyn_string_is_upper_case: whether every byte is 'A' to 'Z'.
 * Returns 1 or 0; 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for an empty text.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_string_is_upper_case(const std::string& text);
/* zyn_string_is_lower_case: whether every byte is 'a' to 'z'.
 * Returns 1 or 0; 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for an empty text.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_string_is_lower_case(const std::string& text);
/* zyn_string_to_upper_case: a copy with 'a' to 'z' made upper case, every other byte kept.
 * Returns the copy; empty on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for an empty text.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_to_upper_case(const std::string& text);
/* zyn_string_to_lower_case: a copy with 'A' to 'Z' made lower case, every other byte kept.
 * Returns the copy; empty on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for an empty text.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_to_lower_case(const std::string& text);
/* zyn_string_to_number: the number the text begins with after ASCII white space,
 * [sign] digits [. digits] [e [sign] digits], in any locale; 0.0 when none; infinity beyond the range.
 * Returns -1.0 on failure. Errors: none.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT double ZYN_CALL zyn_string_to_number(const std::string& text);
/* zyn_string_sort: splits the zero-terminated text at whole delimiters (a null one counts as empty),
 * sorts the pieces in natural order and appends each piece and a delimiter to the zero-terminated
 * text in output, which must have room for the text, a delimiter more and a zero.
 * Returns 1; 0 on failure, output untouched. Errors: those of zyn_string_split (the frame is
 * its frame); ZYN_ERR_INVALID_ARGUMENT for a null output. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_string_sort(const char* text, const char* delimiter, char* output);

/* zyn_wstring_contains: wide twin of zyn_string_contains; positions count 16-bit units.
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_wstring_contains(const zyn_wstring& text, const zyn_wstring& search, uint32_t start);
/* zyn_wstring_reverse: wide twin of zyn_string_reverse (a surrogate pair comes out swapped).
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_reverse(const zyn_wstring& text);
/* zyn_wstring_extract: wide twin of zyn_string_extract; start and count count units.
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_extract(const zyn_wstring& text, uint32_t start, uint32_t count);
/* zyn_wstring_is_digits: wide twin of zyn_string_is_digits (ASCII digits only).
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT int ZYN_CALL zyn_wstring_is_digits(const zyn_wstring& text);
/* zyn_wstring_replace: wide twin of zyn_string_replace.
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_replace(const zyn_wstring& text, const zyn_wstring& search, const zyn_wstring& replacement, zyn_bool all);
/* zyn_wstring_split: wide twin of zyn_string_split, filling a wstring_list (emptied, its array
 * released, then grown from 64 by doubling). Same results, errors, zyn_init need and threads. */
ZYN_EXPORT int ZYN_CALL zyn_wstring_split(const zyn_wstring& text, const zyn_wstring& delimiter, zyn_bool whole, wstring_list& list);
/* zyn_wstring_smash: wide twin of zyn_string_smash.
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_smash(const zyn_wstring& text, const zyn_wstring& characters);
/* zyn_wstring_is_upper_case: wide twin of zyn_string_is_upper_case (ASCII letters only).
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT int ZYN_CALL zyn_wstring_is_upper_case(const zyn_wstring& text);
/* zyn_wstring_is_lower_case: wide twin of zyn_string_is_lower_case (ASCII letters only).
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT int ZYN_CALL zyn_wstring_is_lower_case(const zyn_wstring& text);
/* zyn_wstring_to_upper_case: wide twin of zyn_string_to_upper_case (ASCII letters only).
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_to_upper_case(const zyn_wstring& text);
/* zyn_wstring_to_lower_case: wide twin of zyn_string_to_lower_case (ASCII letters only).
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_to_lower_case(const zyn_wstring& text);
/* zyn_wstring_to_number: wide twin of zyn_string_to_number, reading the same ASCII number on every
 * platform. Same results, errors, zyn_init need and threads. */
ZYN_EXPORT double ZYN_CALL zyn_wstring_to_number(const zyn_wstring& text);

/* ---------------------------------------------------------------------------
 * Base64, UTF-8 and HTML entities: docs/text.md
 * ------------------------------------------------------------------------- */
/* zyn_string_base64_encode: standard Base64 (RFC 4648 alphabet) of the bytes, one line, "=" padded.
 * Returns the text; empty on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for empty data.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_base64_encode(const std::string& data);
/* zyn_string_base64_decode: the bytes of Base64 text made of whole groups of four, where padding
 * may close any group; zero bytes are kept.
 * Returns the bytes; empty on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for an empty text or
 * anything else (white space, '-', '_', a length not a multiple of 4). Needs zyn_init. Threads: any. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_base64_decode(const std::string& text);
/* zyn_wstring_base64_encode: Base64 of units 0 to 255 taken as bytes.
 * Returns the text; empty on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for empty data or a unit
 * above 255 (never cut to its low byte). Needs zyn_init. Threads: any. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_base64_encode(const zyn_wstring& data);
/* zyn_wstring_base64_decode: wide twin of zyn_string_base64_decode, one unit (0 to 255) per byte;
 * a unit above 255 in the text is refused. Same results, errors, zyn_init need and threads. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_base64_decode(const zyn_wstring& text);
/* zyn_utf8_encode: Latin-1 to UTF-8 of length bytes; text that is already valid UTF-8 is copied
 * unchanged. output needs 2 * length bytes; no zero is added and no count is given back.
 * Returns 1 (length 0 writes nothing); 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for a null
 * text or output with a non-zero length. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_utf8_encode(const char* text, uint32_t length, char* output);
/* zyn_utf8_decode: UTF-8 to Latin-1 of length bytes, dropping code points above 255; text that is
 * not valid UTF-8 is copied unchanged. output needs length bytes; no zero is added.
 * Returns 1 (length 0 writes nothing); 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for a null
 * text or output with a non-zero length. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_utf8_decode(const char* text, uint32_t length, char* output);
/* zyn_decode_entite: replaces the HTML character references of the zero-terminated source by UTF-8,
 * writing at most size bytes, the zero included, to destination (cut, never inside a reference);
 * a null source decodes destination in place, reading at most size bytes.
 * Returns 1; 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT when size is 0 or destination is null.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_decode_entite(const char* source, uint32_t size, char* destination);

/* ---------------------------------------------------------------------------
 * Whole files, directories and files: docs/files.md
 * The extended error is always 0. Every export needs zyn_init and may run on
 * any thread (the file system itself is shared, of course).
 * ------------------------------------------------------------------------- */
/* zyn_write_file: writes size bytes to path in binary mode, replacing the file in one step (a
 * failure leaves the previous file whole); no directory is made.
 * Returns 1 when every byte reached the file; 0 otherwise, with the error left at ZYN_ERR_NONE.
 * Errors: ZYN_ERR_INVALID_ARGUMENT for a null data with a non-zero size (no file is opened).
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_write_file(const char* path, const void* data, uint32_t size);
/* zyn_write_file_append: appends size bytes to the end of a file, creating it.
 * Returns 1 when every byte was written and the file closed; 0 otherwise, error left at ZYN_ERR_NONE.
 * Errors: ZYN_ERR_INVALID_ARGUMENT for a null data with a non-zero size (no file is opened).
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_write_file_append(const char* path, const void* data, uint32_t size);
/* zyn_read_file: reads the first min(file length, size) bytes of a regular file into buffer.
 * Returns the number of bytes placed; 0 when the file cannot be opened (missing, a directory, a pipe,
 * a device, no access, a null path; error left at ZYN_ERR_NONE). A read error is not reported.
 * Errors: ZYN_ERR_INVALID_ARGUMENT for a null buffer with a non-zero size. Needs zyn_init. Threads: any. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_read_file(const char* path, void* buffer, uint32_t size);
/* zyn_get_file_size: the size in bytes of a regular file; 4294967295 for 4 GiB or more.
 * Returns 0 when it cannot be opened (as zyn_read_file; error left at ZYN_ERR_NONE). Errors: none.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_get_file_size(const char* path);
/* zyn_directory_create: creates the directory and every missing one above it.
 * Returns 1 when this call created it; 0 otherwise. Errors: ZYN_ERR_OPERATION_FAILED when it existed
 * already, a file is in the way, the path is empty or the system refused.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_directory_create(const zyn_wstring& path);
/* zyn_directory_delete: removes a directory with everything inside; a link inside goes, its target
 * stays; a link given as the path goes alone. Returns 1; 0 on failure.
 * Errors: ZYN_ERR_NOT_A_DIRECTORY when the path is no existing directory; ZYN_ERR_INVALID_ARGUMENT,
 * nothing removed, when its last step is "." or ".."; ZYN_ERR_OPERATION_FAILED on a refusal (what
 * was removed before stays removed). Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_directory_delete(const zyn_wstring& path);
/* zyn_directory_exists: whether the path is an existing directory (links followed).
 * Returns 1; 0 otherwise. Errors: ZYN_ERR_NOT_A_DIRECTORY with every 0 (also when nothing is
 * there). Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_directory_exists(const zyn_wstring& path);
/* zyn_list_directories: empties list, then adds path, a separator unless path ends with one, and
 * the name of each subdirectory, unsorted. A name holding a backslash, which a path would read as
 * a separator, is left out. Returns 1; 0 on failure. Errors: ZYN_ERR_NOT_FOUND when path is no
 * existing directory (list as it was); ZYN_ERR_OPERATION_FAILED on a failure while reading (list
 * holds the entries found until then). Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_list_directories(const zyn_wstring& path, wstring_list& list);
/* zyn_list_files: as zyn_list_directories, for the regular files of the directory.
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT int ZYN_CALL zyn_list_files(const zyn_wstring& path, wstring_list& list);
/* zyn_file_copy: copies a file; with overwrite an existing destination is replaced in one step (a
 * failure leaves it as it was). Returns 1; 0 on failure. Errors: ZYN_ERR_OPERATION_FAILED (a
 * missing source, a directory, an existing destination without overwrite, a copy onto the source
 * itself, no access). Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_file_copy(const zyn_wstring& source, const zyn_wstring& destination, zyn_bool overwrite);
/* zyn_file_delete: removes a file; a read-only one too, a link itself (not its target).
 * Returns 1; 0 on failure. Errors: ZYN_ERR_IS_A_DIRECTORY for a directory; ZYN_ERR_OPERATION_FAILED
 * when nothing was there or the system refused. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_file_delete(const zyn_wstring& path);
/* zyn_file_rename: moves a file or directory (narrow names), replacing an existing file at new_name.
 * Returns 1; 0 on failure. Errors: ZYN_ERR_OPERATION_FAILED (also for a null name, or bytes the
 * names' code page cannot convert). Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_file_rename(const char* old_name, const char* new_name);
/* zyn_file_exists: whether something other than a directory is at the path (links followed).
 * Returns 1; 0 otherwise. Errors: ZYN_ERR_IS_A_DIRECTORY for a directory; ZYN_ERR_NOT_FOUND when
 * nothing is there. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_file_exists(const zyn_wstring& path);

/* ---------------------------------------------------------------------------
 * The log: docs/files.md
 * One process-wide log file. None of these reports a failure or touches the
 * last error, and all work before zyn_init and after zyn_unload (which leaves
 * the log open). The file has no lock: one thread at a time.
 * ------------------------------------------------------------------------- */
/* log_open, wlog_open: open the named file as the log, emptying it, unless a log file is open
 * already (the name is then ignored). A failed open leaves the log closed.
 * Errors: none. Works without zyn_init; no frame. Threads: one at a time. */
ZYN_EXPORT void ZYN_CALL log_open(const std::string& name);
ZYN_EXPORT void ZYN_CALL wlog_open(const zyn_wstring& name);
/* log_close: closes the log file; the next line opens "default logfile.txt".
 * Errors: none. Works without zyn_init; no frame. Threads: one at a time. */
ZYN_EXPORT void ZYN_CALL log_close(void);
/* log_write, wlog_write: write the text as one line and flush it. With no log open the line opens
 * "default logfile.txt" in the current directory, emptying it. Wide characters 0 to 255 are written
 * as that byte, others as '?' (a surrogate pair as one). A failed write loses that line only.
 * Errors: none. Works without zyn_init; no frame. Threads: one at a time. */
ZYN_EXPORT void ZYN_CALL log_write(const std::string& text);
ZYN_EXPORT void ZYN_CALL wlog_write(const zyn_wstring& text);
/* log_fwrite, wlog_fwrite: write one formatted line as log_write does. log_fwrite: printf rules,
 * cut at 2047 bytes. wlog_fwrite: %s takes a zyn_wchar string (conversions in docs/files.md); a line
 * of 2048 units or more, %n or an unknown conversion gives an empty line. So does a null format.
 * Errors: none. Works without zyn_init; no frame. Threads: one at a time. */
ZYN_EXPORT void ZYN_CALL log_fwrite(const char* format, ...);
ZYN_EXPORT void ZYN_CALL wlog_fwrite(const zyn_wchar* format, ...);

/* ---------------------------------------------------------------------------
 * Inventories: docs/inventory.md
 * Inventories are addressed by 32-bit handles counted from 1. Given a handle
 * that names no inventory, every export that takes one sets ZYN_ERR_NOT_FOUND
 * and changes nothing. Names, file names and texts are zero-terminated narrow
 * strings, copied on entry. The extended error is always 0. Every export
 * needs zyn_init; the registry has no lock: one thread at a time.
 * ------------------------------------------------------------------------- */
/* zyn_inventory_create: creates an empty inventory.
 * Returns its handle (never given out twice while the module is loaded); 0 on failure.
 * Errors: ZYN_ERR_OPERATION_FAILED once no handle is left (after 2147483647 creates).
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_create(void);
/* zyn_inventory_exists: whether an inventory has the handle.
 * Returns 1 or 0; 0 on failure. Errors: none (an unknown handle is not an error here).
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_exists(int handle);
/* zyn_inventory_destroy: releases one inventory without saving it.
 * Returns 1; 0 on failure. Errors: ZYN_ERR_NOT_FOUND.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_destroy(int handle);
/* zyn_inventory_destroy_all: releases every inventory without saving; handles keep counting.
 * Returns the number released; 0 on failure. Errors: none.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_destroy_all(void);
/* zyn_inventory_add_item: adds amount to the named item (takes it away when negative), truncating
 * toward zero: a held item at 0 or below goes; above 0 a new item goes to the end; NaN changes nothing.
 * Marks the inventory changed. Returns 1; 0 on failure. Errors: ZYN_ERR_NOT_FOUND;
 * ZYN_ERR_INVALID_ARGUMENT, nothing changed, for a null name or one holding CR or LF (it would save
 * as two lines). Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_add_item(int handle, const char* name, double amount);
/* zyn_inventory_item_exists: whether the inventory holds an item of exactly that name (byte for
 * byte; one of quantity 0 too). Returns 1 or 0; 0 on failure.
 * Errors: ZYN_ERR_NOT_FOUND; ZYN_ERR_INVALID_ARGUMENT for a null name.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_item_exists(int handle, const char* name);
/* zyn_inventory_item_list: the text "name=quantity\n" per item in order, zero-terminated, its byte
 * count stored through length (which may be null). The inventory owns it: valid until the next call
 * of this export on it or its release. Returns null on failure, with *length 0.
 * Errors: ZYN_ERR_NOT_FOUND. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT const char* ZYN_CALL zyn_inventory_item_list(int handle, int32_t* length);
/* zyn_inventory_get_quantidade: the item's quantity; 0.0 for an item the inventory does not hold
 * (not an error). Returns 0.0 on failure.
 * Errors: ZYN_ERR_NOT_FOUND; ZYN_ERR_INVALID_ARGUMENT for a null name.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT double ZYN_CALL zyn_inventory_get_quantidade(int handle, const char* name);
/* zyn_inventory_setfilename: sets the file name that save and load then use instead of the name
 * passed to them; an empty name clears it. Returns 1; 0 on failure.
 * Errors: ZYN_ERR_NOT_FOUND; ZYN_ERR_INVALID_ARGUMENT for a null name.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_setfilename(int handle, const char* file_name);
/* zyn_inventory_save: writes a changed inventory that holds items (its own file name, else
 * file_name), replacing the file in one step. Returns its item count when written; 0 when nothing
 * was written (unchanged, empty, or the file could not be made or written: no error, the previous
 * file stays whole and the inventory changed). Errors: ZYN_ERR_NOT_FOUND.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_save(int handle, const char* file_name);
/* zyn_inventory_save_all: saves every inventory as zyn_inventory_save with an empty name, so
 * only those that carry a file name are written. Returns the number written; 0 on failure.
 * Errors: none. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_save_all(void);
/* zyn_inventory_loadfromfile: replaces the items with the lines of a regular file (its own file
 * name, else file_name). Returns the item count; 0 on failure. Errors: ZYN_ERR_NOT_FOUND;
 * ZYN_ERR_LOAD_FAILED when the file cannot be opened or read (the inventory stays as it was) or
 * yields no item (the inventory is then empty). Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_loadfromfile(int handle, const char* file_name);
/* zyn_inventory_loadfromstring: adds the LF-ended lines of text (bytes after the last LF are
 * ignored) and marks the inventory saved. Returns the item count; 0 on failure.
 * Errors: ZYN_ERR_NOT_FOUND; ZYN_ERR_INVALID_ARGUMENT for a null or empty text (nothing changed)
 * or when the inventory is left without items. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_loadfromstring(int handle, const char* text);

/* ---------------------------------------------------------------------------
 * HTTP: docs/http.md
 * Transfers on libcurl. With ZYN_ERR_CALL_FAILED the extended error is
 * libcurl's own code (a CURLcode, or a CURLMcode from the multi interface);
 * with every other error it is 0. HTTP status codes are never failures. The
 * layer's state has no lock: call the family from one thread at a time.
 * ------------------------------------------------------------------------- */

/* zyn_http_init: loads the HTTP layer (curl_global_init); the request table is emptied and ids
 * start again at 1. Returns 1; 0 on failure. Errors: ZYN_ERR_ALREADY_LOADED; ZYN_ERR_CALL_FAILED
 * with libcurl's code, or with 2 (CURLE_FAILED_INIT) when no libcurl is found (Windows).
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_init(void);
/* zyn_http_isloaded: whether the HTTP layer is loaded. Returns 1 or 0. Errors: none.
 * Works without zyn_init; no frame. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_isloaded(void);
/* zyn_http_unload: releases every request (running transfers are abandoned) and unloads the layer
 * (curl_global_cleanup). Returns 1, also when the layer was not loaded; 0 on failure.
 * Errors: none. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_unload(void);
/* zyn_http_url_get: blocking GET (user agent "libcurl-agent/1.0", no time-out, no redirects); the
 * body is appended to `body`, which keeps what arrived after a failure. Loads the layer on demand.
 * Returns 1; 0 on failure. Errors: zyn_http_init's ZYN_ERR_CALL_FAILED when that load fails;
 * ZYN_ERR_OPERATION_FAILED when libcurl gives no handle; ZYN_ERR_CALL_FAILED with the CURLcode.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_get(const std::string& url, std::string& body);
/* zyn_http_url_post: blocking POST of `data` up to its first zero byte with whole header lines
 * ("Name: value"), as zyn_http_url_get; once the layer is loaded `body` is emptied, then receives
 * the answer (empty after a failed transfer). Returns 1; 0 on failure. Errors:
 * ZYN_ERR_INVALID_ARGUMENT for a header line holding CR, LF or a zero byte (nothing loaded or sent,
 * `body` kept); then those of zyn_http_url_get. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_post(const std::string& url, const std::string& data,
                                          std::vector<std::string> headers, std::string& body);
/* zyn_http_url_multiget: runs every entry's GET side by side (as zyn_http_url_get), appending each
 * body to its entry's data; every handle is null afterwards. One entry's failure is not reported:
 * its data stays. Returns 1; 0 on failure. Errors: ZYN_ERR_HTTP_NOT_LOADED (no load on demand);
 * ZYN_ERR_EMPTY_LIST; ZYN_ERR_OPERATION_FAILED when libcurl gives no multi handle;
 * ZYN_ERR_CALL_FAILED with the CURLMcode. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_multiget(std::list<zyn_http_url_entry>& entries);
/* zyn_http_url_encode: percent-encodes ("%XX", upper case) every byte but letters, digits and
 * "-._~" into `result`; any length; text and result may be one string.
 * Returns 1; 0 on failure, `result` kept. Errors: ZYN_ERR_HTTP_NOT_LOADED; ZYN_ERR_CALL_FAILED
 * with 27 (CURLE_OUT_OF_MEMORY) when libcurl gives no text. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_encode(const std::string& text, std::string& result);
/* zyn_http_url_decode: decodes each "%" and two hex digits of either case into `result`; other
 * bytes, "+" included, are kept. Same results, errors, zyn_init need and threads as the encoder. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_decode(const std::string& text, std::string& result);
/* zyn_http_create: makes a request handle for url in the ready state (no user agent is set).
 * Returns its id (1, 2, ... per initialisation of the layer); 0 on failure.
 * Errors: ZYN_ERR_HTTP_NOT_LOADED; ZYN_ERR_OPERATION_FAILED when libcurl gives no handle or the
 * ids are used up (after 4294967295). Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_http_create(const char* url);
/* zyn_http_destroy: releases a request in any state; a running transfer is abandoned.
 * Returns 1; 0 on failure. Errors: ZYN_ERR_HTTP_NOT_LOADED; ZYN_ERR_INVALID_HANDLE for an id that
 * names no request. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_destroy(uint32_t id);
/* zyn_http_setopt_long: curl_easy_setopt with a long; the option number goes to libcurl unchanged.
 * Returns 1; 0 on failure. Errors: ZYN_ERR_HTTP_NOT_LOADED; ZYN_ERR_INVALID_HANDLE;
 * ZYN_ERR_CALL_FAILED with libcurl's code (48: unknown option), or with 43
 * (CURLE_BAD_FUNCTION_ARGUMENT) on a finished request or for an option that takes no long.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_setopt_long(uint32_t id, int option, int32_t value);
/* zyn_http_setopt_string: curl_easy_setopt with a string, copied by libcurl except for
 * CURLOPT_POSTFIELDS (it must stay valid until the request has finished). Returns 1; 0 on failure.
 * Errors: as zyn_http_setopt_long (43 for an option that takes no string); ZYN_ERR_INVALID_ARGUMENT
 * for a text holding CR or LF, except for CURLOPT_POSTFIELDS and CURLOPT_COPYPOSTFIELDS (a body).
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_setopt_string(uint32_t id, int option, const char* value);
/* zyn_http_add_header: adds one whole header line ("Name: value"); only lines added before the
 * first zyn_http_request are sent (later ones are kept unsent). Returns 1; 0 on failure.
 * Errors: ZYN_ERR_HTTP_NOT_LOADED; ZYN_ERR_INVALID_HANDLE; ZYN_ERR_INVALID_ARGUMENT for a null line
 * or one holding CR or LF (nothing of it kept). Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_add_header(uint32_t id, const char* line);
/* zyn_http_request: advances the transfer by one step and returns at once: 1 on every call from the
 * first to the one in which the transfer ends, then 0 with ZYN_ERR_NONE; 0 on failure. A transfer
 * that fails (unknown host, refused connection) finishes like any other.
 * Errors: ZYN_ERR_HTTP_NOT_LOADED; ZYN_ERR_INVALID_HANDLE; ZYN_ERR_OPERATION_FAILED when libcurl
 * gives no multi handle (still ready); ZYN_ERR_CALL_FAILED with the CURLMcode.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int ZYN_CALL zyn_http_request(uint32_t id);
/* zyn_http_get_buffersize: bytes of the body received so far, in any state (4294967295 at most).
 * Returns 0 on failure. Errors: ZYN_ERR_HTTP_NOT_LOADED; ZYN_ERR_INVALID_HANDLE.
 * Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_http_get_buffersize(uint32_t id);
/* zyn_http_get_bufferdata: copies up to `capacity` bytes of the body from its start; the body is
 * not consumed and no terminator is added. Returns the count; 0 on failure.
 * Errors: ZYN_ERR_HTTP_NOT_LOADED; ZYN_ERR_INVALID_HANDLE; ZYN_ERR_INVALID_ARGUMENT for a null
 * destination with a non-zero capacity once some body is in. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_http_get_bufferdata(uint32_t id, void* destination, uint32_t capacity);
/* zyn_http_getinfo: a figure of a request not yet finished: item 1 bytes received, 2 announced
 * length (0 when none), 3 average bytes per second (these three as their low 32 bits), 4 last HTTP
 * status (0 before any). Returns 0 on failure. Errors: ZYN_ERR_HTTP_NOT_LOADED; ZYN_ERR_INVALID_HANDLE;
 * ZYN_ERR_OPERATION_FAILED for another item; ZYN_ERR_CALL_FAILED with libcurl's code, 43 once
 * finished. Needs zyn_init. Threads: one at a time. */
ZYN_EXPORT int32_t ZYN_CALL zyn_http_getinfo(uint32_t id, int item);

/* ---------------------------------------------------------------------------
 * TCP sockets: docs/sockets.md
 * ------------------------------------------------------------------------- */
/* Command values of zyn_socket_io: the Winsock numbers, accepted on every platform. */
constexpr int32_t ZYN_FIONBIO = static_cast<int32_t>(0x8004667Eu);  /* *argument non-zero: non-blocking */
constexpr int32_t ZYN_FIONREAD = static_cast<int32_t>(0x4004667Fu);  /* *argument receives the bytes waiting */

/* Socket error codes met by a client, as zyn_socket_geterror and the extended
 * error report them on every platform (the Winsock numbers). */
constexpr int ZYN_WSAEINTR = 10004;
constexpr int ZYN_WSAEFAULT = 10014;
constexpr int ZYN_WSAEINVAL = 10022;
constexpr int ZYN_WSAEWOULDBLOCK = 10035;
constexpr int ZYN_WSAENOTSOCK = 10038;
constexpr int ZYN_WSAEAFNOSUPPORT = 10047;
constexpr int ZYN_WSAECONNABORTED = 10053;
constexpr int ZYN_WSAECONNRESET = 10054;
constexpr int ZYN_WSAENOTCONN = 10057;
constexpr int ZYN_WSAETIMEDOUT = 10060;
constexpr int ZYN_WSAECONNREFUSED = 10061;
constexpr int ZYN_WSAHOST_NOT_FOUND = 11001;
constexpr int ZYN_WSATRY_AGAIN = 11002;
constexpr int ZYN_WSANO_RECOVERY = 11003;
constexpr int ZYN_WSANO_DATA = 11004;

/* The library keeps no table of sockets: the caller holds each zyn_socket and
 * passes a pointer to it. The operations on a socket refuse with
 * ZYN_ERR_SOCKETS_NOT_LOADED while the socket layer is not loaded, then with
 * ZYN_ERR_INVALID_ARGUMENT for a null sock, before anything else (result 0).
 * With ZYN_ERR_CALL_FAILED the extended error is a Winsock number, or -1
 * where zyn_socket_geterror tells the cause. Each thread has its own socket
 * error; threads may use different sockets at the same time. */

/* zyn_socket_load: starts the socket layer (Winsock 2.2 on Windows).
 * Returns 1; 0 on failure. Errors: ZYN_ERR_ALREADY_LOADED; ZYN_ERR_CALL_FAILED with the startup result.
 * Needs zyn_init. Threads: one at a time, with no socket call running. */
ZYN_EXPORT int ZYN_CALL zyn_socket_load(void);
/* zyn_socket_isloaded: whether the socket layer is started. Returns 1 or 0. Errors: none.
 * Works without zyn_init; no frame. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_socket_isloaded(void);
/* zyn_socket_unload: stops the socket layer; sockets still held stay open (close them first).
 * Returns 1, also when it was not started; 0 on failure. Errors: none.
 * Needs zyn_init. Threads: one at a time, with no socket call running. */
ZYN_EXPORT int ZYN_CALL zyn_socket_unload(void);
/* zyn_socket_connect: resolves host and port and connects a blocking TCP socket into *sock, trying
 * each address in turn (one whose family has no socket is passed over). Returns 1; 0 on failure.
 * Errors: ZYN_ERR_CALL_FAILED with the resolver's code (*sock untouched), or with -1 when no address
 * connected: *sock is then ZYN_INVALID_SOCKET and zyn_socket_geterror the last address's error.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_socket_connect(const char* host, const char* port, zyn_socket* sock);
/* zyn_socket_close: closes *sock, leaving the variable as it is. Returns 1; 0 on failure.
 * Errors: ZYN_ERR_CALL_FAILED with -1 when the value is not an open socket (ZYN_WSAENOTSOCK).
 * Needs zyn_init. Threads: any, one thread per socket. */
ZYN_EXPORT int ZYN_CALL zyn_socket_close(zyn_socket* sock);
/* zyn_socket_io: applies ZYN_FIONBIO or ZYN_FIONREAD to *sock. Returns 1; 0 on failure.
 * Errors: ZYN_ERR_CALL_FAILED with -1 (a null argument: ZYN_WSAEFAULT; not a socket:
 * ZYN_WSAENOTSOCK). Needs zyn_init. Threads: any, one thread per socket. */
ZYN_EXPORT int ZYN_CALL zyn_socket_io(zyn_socket* sock, int32_t command, uint32_t* argument);
/* zyn_socket_geterror: the calling thread's last socket error, a Winsock number on every platform;
 * a failing socket call sets it, a successful one leaves it. Errors: none.
 * Works without zyn_init; no frame. Threads: any (each thread reads its own). */
ZYN_EXPORT int ZYN_CALL zyn_socket_geterror(void);
/* zyn_socket_recv: receives up to length bytes. Returns the count, 0 when the peer closed, -1 on
 * failure (0 when refused before the call). Errors: ZYN_ERR_CALL_FAILED with the socket error when
 * it returns -1 (ZYN_WSAEWOULDBLOCK: nothing waiting; a negative length: ZYN_WSAEINVAL; a null
 * buffer with a positive length: ZYN_WSAEFAULT). Needs zyn_init. Threads: any, one thread per socket. */
ZYN_EXPORT int ZYN_CALL zyn_socket_recv(zyn_socket* sock, void* buffer, int32_t length);
/* zyn_socket_send: sends up to length bytes. Returns the count sent; -1 on failure (0 when
 * refused before the call). Errors: ZYN_ERR_CALL_FAILED with the socket error when it returns -1
 * (as zyn_socket_recv; ZYN_WSAECONNRESET when the peer is gone). Needs zyn_init. Threads: any,
 * one thread per socket. */
ZYN_EXPORT int ZYN_CALL zyn_socket_send(zyn_socket* sock, const void* buffer, int32_t length);

/* ---------------------------------------------------------------------------
 * Timers and the timestamp: docs/time.md
 * A TimerRecord is the caller's: the timer exports work on it whether or not
 * the library is loaded (they clear the last error all the same), and any
 * thread may use its own record.
 * ------------------------------------------------------------------------- */

/* zyn_timer_restart: starts (or starts again) the timer from zero; state becomes ZYN_TIMER_RUNNING.
 * Returns 1; 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for a null timer.
 * Works without zyn_init (clears the last error). Threads: any, one thread per record. */
ZYN_EXPORT int ZYN_CALL zyn_timer_restart(TimerRecord* timer);
/* zyn_timer_pause: pauses a running timer, fixing its elapsed time; a paused one stays as it is.
 * Returns 1; 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for a null timer;
 * ZYN_ERR_OPERATION_FAILED if never started. Works without zyn_init (clears the last error).
 * Threads: any, one thread per record. */
ZYN_EXPORT int ZYN_CALL zyn_timer_pause(TimerRecord* timer);
/* zyn_timer_resume: resumes a paused timer, keeping only whole milliseconds of its elapsed time; a
 * running one stays as it is. Returns 1; 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for a null
 * timer; ZYN_ERR_OPERATION_FAILED if never started. Works without zyn_init (clears the last error).
 * Threads: any, one thread per record. */
ZYN_EXPORT int ZYN_CALL zyn_timer_resume(TimerRecord* timer);
/* zyn_timer_elapsed: elapsed time in a ZYN_UNIT_* unit, truncated toward zero (minutes as a 32-bit
 * signed count); a running timer's mark is refreshed first. Returns -1 on failure.
 * Errors: ZYN_ERR_INVALID_ARGUMENT for a null timer or an unknown unit.
 * Works without zyn_init (clears the last error). Threads: any, one thread per record. */
ZYN_EXPORT int64_t ZYN_CALL zyn_timer_elapsed(TimerRecord* timer, int unit);
/* zyn_timer_force: makes the timer show value (in a ZYN_UNIT_* unit; minutes: the low 32 bits,
 * signed) by moving its start; state and mark are kept, so a paused timer shows value less the time
 * since its pause. Returns 1; 0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT for a null timer or an
 * unknown unit. Works without zyn_init (clears the last error). Threads: any, one thread per record. */
ZYN_EXPORT int ZYN_CALL zyn_timer_force(TimerRecord* timer, int64_t value, int unit);
/* zyn_timer_get_timestamp: wall-clock time since 1970-01-01 UTC in unit 1 to 4 (nanoseconds to
 * seconds; nanoseconds wrap at 64 bits). Returns -1 on failure.
 * Errors: ZYN_ERR_INVALID_ARGUMENT for another unit (ZYN_UNIT_MINUTES too).
 * Needs zyn_init, unlike the timers. Threads: any. */
ZYN_EXPORT int64_t ZYN_CALL zyn_timer_get_timestamp(int unit);

/* ---------------------------------------------------------------------------
 * Random numbers, rounding and percentages: docs/numbers.md
 * ------------------------------------------------------------------------- */
/* zyn_random_int32: a uniform draw from min to max inclusive; when max < min the range wraps through
 * the ends of the type. Each draw seeds its own generator from the clock, so draws within one
 * 100-ns tick repeat. Returns -1 on failure (a possible draw too). Errors: none.
 * Needs zyn_init. Threads: any (draws share no state). */
ZYN_EXPORT int32_t ZYN_CALL zyn_random_int32(int32_t min, int32_t max);
/* zyn_random_int64: the 64-bit twin of zyn_random_int32.
 * Same results, errors, zyn_init need and threads. */
ZYN_EXPORT int64_t ZYN_CALL zyn_random_int64(int64_t min, int64_t max);
/* zyn_random_int64_bgt_compatibility: zyn_random_int64 with the bounds truncated toward zero (NaN
 * counts as 0, a bound beyond the 64-bit range as its nearest end), returned as a double.
 * Returns -1.0 on failure. Errors: through zyn_random_int64, which owns the frame.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT double ZYN_CALL zyn_random_int64_bgt_compatibility(double min, double max);
/* zyn_getlucky: 1 when a draw from 0 to 100 (101 values) is at most chance, else 0: chance 0 still
 * wins one time in 101, 100 or more always. Returns -1 on failure. Errors: none.
 * Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_getlucky(int32_t chance);
/* zyn_round: rounds to places decimal places (more than 15 count as 15): positive values half up,
 * negative fractions toward zero; NaN, infinities and magnitudes of 2^63 or more come back as they
 * are. Returns -1.0 on failure. Errors: none. Needs zyn_init. Threads: any. */
ZYN_EXPORT double ZYN_CALL zyn_round(double value, uint32_t places);
/* zyn_percent_to_number: percent * number / 100, computed in double precision.
 * Returns -1.0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT when percent <= 0 or percent > 100
 * (a NaN passes and gives NaN). Needs zyn_init. Threads: any. */
ZYN_EXPORT float ZYN_CALL zyn_percent_to_number(float number, float percent);
/* zyn_number_to_percent: part * 100 / total, computed in double precision.
 * Returns -1.0 on failure. Errors: ZYN_ERR_INVALID_ARGUMENT when total is 0 or part exceeds it
 * (a NaN passes and gives NaN). Needs zyn_init. Threads: any. */
ZYN_EXPORT float ZYN_CALL zyn_number_to_percent(float total, float part);

/* ---------------------------------------------------------------------------
 * Machine, processes, registry, controllers and dialogs: docs/system.md
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

/* zyn_wgetmachineproperty, zyn_getmachineproperty: gather property of every object of a WMI class
 * (Linux: a table of common classes) as kind ZYN_PROPERTY_BOOLEAN or _TEXT into out. Wide: the text
 * and its zero, out must hold it all (untouched when nothing is gathered); narrow: names widened
 * byte by byte, always at most 255 bytes and a zero. Returns 1; 0 on failure. Errors:
 * ZYN_ERR_CALL_FAILED with the COM/WMI HRESULT (WBEM_E_INVALID_CLASS: unknown, or over 241 chars).
 * Needs zyn_init. Threads: any (Windows: one in the multithreaded apartment gets RPC_E_CHANGED_MODE). */
ZYN_EXPORT int ZYN_CALL zyn_wgetmachineproperty(const zyn_wchar* class_name, const zyn_wchar* property, int kind, zyn_wchar* out);
ZYN_EXPORT int ZYN_CALL zyn_getmachineproperty(const char* class_name, const char* property, int kind, char* out);
/* zyn_wget_listprocesses, zyn_get_listprocesses: lines "name;*id\n" for every running process into
 * out: at most length units (narrow: bytes), zero-filled behind, cut unterminated when longer. A
 * control character or the '*' of ";*" in a name is listed as '?'; the narrow twin keeps low bytes,
 * '?' for a unit above U+00FF whose low byte is zero, a control character, ';' or '*'.
 * Returns 1; 0 on failure, out untouched. Errors: ZYN_ERR_INVALID_ARGUMENT for a null out with a
 * non-zero length; ZYN_ERR_OPERATION_FAILED when no snapshot is taken. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_wget_listprocesses(zyn_wchar* out, uint32_t length);
ZYN_EXPORT int ZYN_CALL zyn_get_listprocesses(char* out, uint32_t length);
/* zyn_wget_processinfo, zyn_get_processinfo: lines "modulename:<name>\nexecutable:<path>\n" for each
 * module of a process (0: the calling one), the executable first; out, names and twins as in
 * zyn_wget_listprocesses. Returns 1; 0 on failure, out untouched. Errors: ZYN_ERR_INVALID_ARGUMENT
 * as there; ZYN_ERR_OPERATION_FAILED when the process has ended, may not be inspected or lists no
 * module. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_wget_processinfo(uint32_t process_id, zyn_wchar* out, uint32_t length);
ZYN_EXPORT int ZYN_CALL zyn_get_processinfo(uint32_t process_id, char* out, uint32_t length);
/* zyn_is_admin: whether the caller runs with administrator rights (Windows: the enabled
 * Administrators group in the thread's token; Linux: effective user id 0). Returns 1 or 0; 0 on
 * failure. Errors: ZYN_ERR_OPERATION_FAILED when the test fails. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_is_admin(void);
/* zyn_reg_getdword: reads a DWORD value under a ZYN_HKEY_* root into *out; a null value_name reads
 * the key's default value. Returns 1; 0 on failure. Errors: ZYN_ERR_OPERATION_FAILED for an unknown
 * root code; ZYN_ERR_INVALID_ARGUMENT for a null out; ZYN_ERR_CALL_FAILED with the registry's status
 * (2 missing, 1630 another type; always 2 on Linux). Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_reg_getdword(uint32_t root, const char* subkey, const char* value_name, uint32_t* out);
/* zyn_reg_getstring: reads a string value with its zero into out (ANSI code page), which must hold
 * all of it. Returns 1; 0 on failure. Errors: as zyn_reg_getdword, with status 234 when the string
 * grew during the read. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_reg_getstring(uint32_t root, const char* subkey, const char* value_name, char* out);
/* zyn_xinput_isconnected: whether controller index (0 to 3) is connected. Returns 1; 0 otherwise.
 * Errors: ZYN_ERR_CALL_FAILED with 1167 (not connected) or 160 (index above 3); success sets the
 * extended error to 0. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_xinput_isconnected(uint32_t index);
/* zyn_xinput_vibrate: sets the left (low-frequency) and right (high-frequency) motor speeds, kept
 * until set again. Returns 1; 0 on failure. Errors: as zyn_xinput_isconnected; Linux: 50 for a pad
 * without motors. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_xinput_vibrate(uint32_t index, uint16_t left_motor, uint16_t right_motor);
/* zyn_xinput_getstate_bgt_compatibility: reads a controller's state in XInput's layout into the
 * out-parameters (a null one is skipped). Returns 1; 0 on failure, nothing written.
 * Errors: as zyn_xinput_isconnected. Needs zyn_init. Threads: any. */
ZYN_EXPORT int ZYN_CALL zyn_xinput_getstate_bgt_compatibility(uint32_t index, uint32_t* packet, uint16_t* buttons,
                                                              uint8_t* left_trigger, uint8_t* right_trigger,
                                                              int16_t* left_x, int16_t* left_y,
                                                              int16_t* right_x, int16_t* right_y);
/* zyn_OpenFileDialog: shows the open-file dialog (multiple: several files) and blocks until it
 * closes; filter "Name|*.a;*.b|..." is only read. The chosen paths land in buffer as UTF-8 joined by
 * "\r\n", whole, zero-terminated, as many as fit capacity. Cancel, a failure, nothing chosen,
 * capacity 0 or a null buffer leave buffer untouched. Errors: none. Works without zyn_init; no frame.
 * Threads: any (Windows: one that has initialised COM as a single-threaded apartment). */
ZYN_EXPORT void ZYN_CALL zyn_OpenFileDialog(int multiple, const char* filter, char* buffer, uint32_t capacity);
/* zyn_OpenFolderDialog: the folder picker, opening in initial_folder (UTF-8; ignored when missing);
 * otherwise as zyn_OpenFileDialog. Errors: none. Works without zyn_init; no frame.
 * Threads: as zyn_OpenFileDialog. */
ZYN_EXPORT void ZYN_CALL zyn_OpenFolderDialog(int multiple, const char* initial_folder, char* buffer, uint32_t capacity);

#if defined(__clang__)
#pragma clang diagnostic pop
#endif

#endif /* ZYN_ZYN_H */
