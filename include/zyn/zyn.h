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
/* The error code of the calling thread's last framed operation (each thread has its own). */
ZYN_EXPORT int ZYN_CALL zyn_geterror(void);
/* The extended error (a system or libcurl code) of the calling thread's last framed operation. */
ZYN_EXPORT int ZYN_CALL zyn_get_extendederror(void);
/* Stores both halves of the calling thread's last error. */
ZYN_EXPORT void ZYN_CALL zyn_seterror(int code, int extended);
/* Stores the extended error, leaving the error code as it is. */
ZYN_EXPORT void ZYN_CALL zyn_set_extendederror(int extended);
/* 1 when a debugger is attached to the process. No frame. */
ZYN_EXPORT int ZYN_CALL zyn_DebuggerIsPresent(void);

/* ---------------------------------------------------------------------------
 * Events and window-message capture
 * ------------------------------------------------------------------------- */
/* Appends an event (code, param1, param2) to the back of the process-wide queue. */
ZYN_EXPORT int ZYN_CALL zyn_event_send(int32_t code, int32_t param1, int32_t param2);
/* Takes the front event into *event: 1; on an empty queue sets event->code to 0 and returns 0. */
ZYN_EXPORT int ZYN_CALL zyn_event_get(EventRecord* event);
/* Number of queued events. */
ZYN_EXPORT int ZYN_CALL zyn_event_count(void);
/* Removes every queued event; returns 1. */
ZYN_EXPORT int ZYN_CALL zyn_event_clear(void);
/* Hooks the top-level window with this title (length bytes, no NUL needed) for media keys. No frame. */
ZYN_EXPORT int ZYN_CALL zyn_capture_start_events(const char* title, size_t length);
/* Gives the captured window its own procedure back. No frame. */
ZYN_EXPORT void ZYN_CALL zyn_capture_stop_events(void);
/* The waiting ZYN_MEDIA_* code, then 0 until the next media key. No frame. */
ZYN_EXPORT int ZYN_CALL zyn_capture_get_event(void);

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
ZYN_EXPORT std::string ZYN_CALL zyn_string_replace(const std::string& text, const std::string& search, const std::string& replacement, zyn_bool all);
/* Cuts text at each delimiter into list (emptied first); error 5 leaves list as it was. */
ZYN_EXPORT int ZYN_CALL zyn_string_split(const std::string& text, const std::string& delimiter, zyn_bool whole, zyn_string_list& list);
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
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_replace(const zyn_wstring& text, const zyn_wstring& search, const zyn_wstring& replacement, zyn_bool all);
/* Wide twin of zyn_string_split, filling a wstring_list (emptied, then grown from 64 by doubling). */
ZYN_EXPORT int ZYN_CALL zyn_wstring_split(const zyn_wstring& text, const zyn_wstring& delimiter, zyn_bool whole, wstring_list& list);
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

/* ---------------------------------------------------------------------------
 * Base64, UTF-8 and HTML entities
 * ------------------------------------------------------------------------- */
/* Standard Base64 of the bytes, one line with "=" padding; error 5 for empty data. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_base64_encode(const std::string& data);
/* The bytes of Base64 text; error 5 and an empty result unless it is whole padded groups. */
ZYN_EXPORT std::string ZYN_CALL zyn_string_base64_decode(const std::string& text);
/* Base64 of units 0 to 255 taken as bytes; error 5 for empty data or a unit above 255. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_base64_encode(const zyn_wstring& data);
/* Base64 text decoded to one unit per byte; error 5 as for the narrow decoder. */
ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_base64_decode(const zyn_wstring& text);
/* Latin-1 to UTF-8 (valid UTF-8 is copied unchanged); output needs 2 * length bytes, no zero added;
 * error 5 for a null text or output with a non-zero length. */
ZYN_EXPORT int ZYN_CALL zyn_utf8_encode(const char* text, uint32_t length, char* output);
/* UTF-8 to Latin-1, dropping code points above 255 (invalid UTF-8 is copied unchanged); no zero
 * added; error 5 for a null text or output with a non-zero length. */
ZYN_EXPORT int ZYN_CALL zyn_utf8_decode(const char* text, uint32_t length, char* output);
/* Replaces HTML character references by UTF-8, writing at most size bytes (zero included) to destination;
 * a null source decodes destination in place. Error 5 when size is 0 or destination is null. */
ZYN_EXPORT int ZYN_CALL zyn_decode_entite(const char* source, uint32_t size, char* destination);

/* ---------------------------------------------------------------------------
 * Whole files, directories and files
 * ------------------------------------------------------------------------- */
/* Writes size bytes to a file in binary mode, replacing it in one step (a failure leaves the
 * previous file whole). 1 when every byte reached the file; 0 otherwise, with error 0. */
ZYN_EXPORT int ZYN_CALL zyn_write_file(const char* path, const void* data, uint32_t size);
/* Appends size bytes to the end of a file, creating it. 1 when every byte was written and the
 * file closed; 0 otherwise, with error 0. */
ZYN_EXPORT int ZYN_CALL zyn_write_file_append(const char* path, const void* data, uint32_t size);
/* Reads the start of a regular file into a buffer of size bytes; the number of bytes placed there. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_read_file(const char* path, void* buffer, uint32_t size);
/* A file's size in bytes, 4294967295 for 4 GiB or more; 0 when it cannot be opened. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_get_file_size(const char* path);
/* Creates a directory and every missing one above it. Error 12 when nothing new was made. */
ZYN_EXPORT int ZYN_CALL zyn_directory_create(const zyn_wstring& path);
/* Removes a directory with everything inside; links inside go, their targets stay. Errors 7, 12;
 * 5, nothing removed, when the path's last step is "." or "..". */
ZYN_EXPORT int ZYN_CALL zyn_directory_delete(const zyn_wstring& path);
/* 1 when the path is an existing directory, else error 7. */
ZYN_EXPORT int ZYN_CALL zyn_directory_exists(const zyn_wstring& path);
/* Fills the list with the full paths of a directory's subdirectories. Errors 6, 12.
 * Both listings leave out a name holding a backslash, which a path would read as a separator. */
ZYN_EXPORT int ZYN_CALL zyn_list_directories(const zyn_wstring& path, wstring_list& list);
/* Fills the list with the full paths of a directory's regular files. Errors 6, 12. */
ZYN_EXPORT int ZYN_CALL zyn_list_files(const zyn_wstring& path, wstring_list& list);
/* Copies a file; without overwrite an existing destination is kept and error 12 set; with it,
 * the destination is replaced in one step (a failure leaves it as it was). */
ZYN_EXPORT int ZYN_CALL zyn_file_copy(const zyn_wstring& source, const zyn_wstring& destination, zyn_bool overwrite);
/* Removes a file (a link itself, a read-only file too). Errors 8, 12. */
ZYN_EXPORT int ZYN_CALL zyn_file_delete(const zyn_wstring& path);
/* Moves a file or directory, replacing an existing file at the new name. Error 12. */
ZYN_EXPORT int ZYN_CALL zyn_file_rename(const char* old_name, const char* new_name);
/* 1 when something other than a directory is at the path. Errors 6, 8. */
ZYN_EXPORT int ZYN_CALL zyn_file_exists(const zyn_wstring& path);

/* ---------------------------------------------------------------------------
 * The log
 * ------------------------------------------------------------------------- */
/* Opens a file as the log, emptying it, unless a log file is open already. No frame. */
ZYN_EXPORT void ZYN_CALL log_open(const std::string& name);
/* Opens a file as the log, emptying it, unless a log file is open already. No frame. */
ZYN_EXPORT void ZYN_CALL wlog_open(const zyn_wstring& name);
/* Closes the log file; the next line opens "default logfile.txt". No frame. */
ZYN_EXPORT void ZYN_CALL log_close(void);
/* Writes the text as one line and flushes it. No frame. */
ZYN_EXPORT void ZYN_CALL log_write(const std::string& text);
/* Writes the text as one line of bytes; a character above 255 is written as '?'. No frame. */
ZYN_EXPORT void ZYN_CALL wlog_write(const zyn_wstring& text);
/* Writes a printf-formatted line of at most 2047 bytes. No frame. */
ZYN_EXPORT void ZYN_CALL log_fwrite(const char* format, ...);
/* Writes a formatted line (%s takes a zyn_wchar string); empty when 2048 units or more. No frame. */
ZYN_EXPORT void ZYN_CALL wlog_fwrite(const zyn_wchar* format, ...);

/* ---------------------------------------------------------------------------
 * Inventories
 * ------------------------------------------------------------------------- */
/* Inventories are addressed by 32-bit handles counted from 1. An unknown handle
 * gives error 6 and changes nothing. Names, file names and texts are
 * zero-terminated narrow strings; a null name or text gives error 5. */

/* Creates an empty inventory; its handle, or 0 with error 12 once no handle is left. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_create(void);
/* 1 when an inventory has the handle, 0 otherwise (an unknown handle is not an error). */
ZYN_EXPORT int ZYN_CALL zyn_inventory_exists(int handle);
/* Releases one inventory without saving it; 0 with error 6 for an unknown handle. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_destroy(int handle);
/* Releases every inventory without saving; the number released. Handles keep counting. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_destroy_all(void);
/* Adds (or, when negative, takes away) an amount, truncated toward zero; an item at 0 or below goes.
 * Error 5, nothing changed, for a null name or one holding CR or LF (it would save as two lines). */
ZYN_EXPORT int ZYN_CALL zyn_inventory_add_item(int handle, const char* name, double amount);
/* 1 when the inventory holds an item of exactly that name (also one of quantity 0). */
ZYN_EXPORT int ZYN_CALL zyn_inventory_item_exists(int handle, const char* name);
/* "name=quantity\n" per item; valid until the next call on the inventory or its release. */
ZYN_EXPORT const char* ZYN_CALL zyn_inventory_item_list(int handle, int32_t* length);
/* The item's quantity; 0.0 for an item the inventory does not hold (no error). */
ZYN_EXPORT double ZYN_CALL zyn_inventory_get_quantidade(int handle, const char* name);
/* Sets the file name that save and load then use instead of theirs; empty clears it. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_setfilename(int handle, const char* file_name);
/* Writes a changed inventory with items, replacing the file in one step (a failed save leaves
 * the previous file whole); its item count, or 0 when nothing was written. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_save(int handle, const char* file_name);
/* Saves every inventory to its own file name; the number of inventories written. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_save_all(void);
/* Replaces the items with a regular file's lines; the item count, or 0 with error 10. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_loadfromfile(int handle, const char* file_name);
/* Adds the LF-ended lines of a text and marks the inventory saved; the item count, or 0 with error 5. */
ZYN_EXPORT int ZYN_CALL zyn_inventory_loadfromstring(int handle, const char* text);

/* ---------------------------------------------------------------------------
 * HTTP
 * ------------------------------------------------------------------------- */
/* HTTP transfers on libcurl. Errors: 2 with libcurl's own code (a CURLcode,
 * or a CURLMcode for the multi interface) as the extended error, 3 unknown
 * request id, 4 layer already loaded, 12 no handle from libcurl or an unknown
 * information item, 13 layer not loaded, 14 empty batch. */

/* Loads the HTTP layer (curl_global_init). Error 4 when loaded; error 2 when libcurl fails or is missing. */
ZYN_EXPORT int ZYN_CALL zyn_http_init(void);
/* 1 while the HTTP layer is loaded. No frame: the last error is untouched. */
ZYN_EXPORT int ZYN_CALL zyn_http_isloaded(void);
/* Releases every request and unloads the layer; 1 also when it was not loaded. */
ZYN_EXPORT int ZYN_CALL zyn_http_unload(void);
/* Blocking GET; the body is appended to `body`. Loads the layer on demand. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_get(const std::string& url, std::string& body);
/* Blocking POST of `data` (up to its first zero byte) with whole header lines; `body` is replaced.
 * A header line holding CR, LF or a zero byte: error 5, nothing sent, `body` kept. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_post(const std::string& url, const std::string& data,
                                          std::vector<std::string> headers, std::string& body);
/* Runs every entry's GET side by side, appending each body to its entry's data. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_multiget(std::list<zyn_http_url_entry>& entries);
/* Percent-encodes every byte but letters, digits and "-._~" into `result`; any length.
 * Error 2 (27, out of memory) when libcurl gives no text; `result` is then kept. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_encode(const std::string& text, std::string& result);
/* Decodes each "%" and two hex digits into `result`; other bytes, "+" included, are kept. Errors as encode. */
ZYN_EXPORT int ZYN_CALL zyn_http_url_decode(const std::string& text, std::string& result);
/* Makes a request handle for a URL; returns its id (from 1), 0 on failure. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_http_create(const char* url);
/* Releases a request in any state; a running transfer is abandoned. */
ZYN_EXPORT int ZYN_CALL zyn_http_destroy(uint32_t id);
/* Sets a libcurl option that takes a long; libcurl's code as error 2 (48: unknown option). */
ZYN_EXPORT int ZYN_CALL zyn_http_setopt_long(uint32_t id, int option, int32_t value);
/* Sets a libcurl option that takes a string (copied by libcurl, but for CURLOPT_POSTFIELDS).
 * Error 5 for a text holding CR or LF, which would go out as lines of its own (a body may). */
ZYN_EXPORT int ZYN_CALL zyn_http_setopt_string(uint32_t id, int option, const char* value);
/* Adds one whole header line ("Name: value"); only lines added before the first step are sent.
 * A line holding CR or LF is refused with error 5 and not kept. */
ZYN_EXPORT int ZYN_CALL zyn_http_add_header(uint32_t id, const char* line);
/* Advances the transfer by one step: 1 while it runs, 0 once finished (error 0) or on failure. */
ZYN_EXPORT int ZYN_CALL zyn_http_request(uint32_t id);
/* Bytes of the body received so far. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_http_get_buffersize(uint32_t id);
/* Copies up to `capacity` bytes of the body from its start; returns the count. No terminator. */
ZYN_EXPORT uint32_t ZYN_CALL zyn_http_get_bufferdata(uint32_t id, void* destination, uint32_t capacity);
/* Transfer figure while not finished: 1 bytes received, 2 announced length, 3 bytes per second, 4 status code. */
ZYN_EXPORT int32_t ZYN_CALL zyn_http_getinfo(uint32_t id, int item);

/* ---------------------------------------------------------------------------
 * TCP sockets
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

/* Starts the socket layer (Winsock 2.2). Error 4 when started; 2 with the startup result. */
ZYN_EXPORT int ZYN_CALL zyn_socket_load(void);
/* 1 while the socket layer is started. No frame. */
ZYN_EXPORT int ZYN_CALL zyn_socket_isloaded(void);
/* Stops the socket layer; 1 also when it was not started. Sockets still held stay open. */
ZYN_EXPORT int ZYN_CALL zyn_socket_unload(void);
/* Resolves host and port and connects a blocking TCP socket into *sock, trying each address in turn
 * (one whose family has no socket is passed over). Error 2 with the resolver code, or -1 when no
 * address connected: *sock is then ZYN_INVALID_SOCKET and zyn_socket_geterror is the last address's error. */
ZYN_EXPORT int ZYN_CALL zyn_socket_connect(const char* host, const char* port, zyn_socket* sock);
/* Closes *sock, leaving the variable as it is. Error 2 with -1 when the value is not an open socket. */
ZYN_EXPORT int ZYN_CALL zyn_socket_close(zyn_socket* sock);
/* Applies a control command (ZYN_FIONBIO, ZYN_FIONREAD) to *sock. Error 2 with -1. */
ZYN_EXPORT int ZYN_CALL zyn_socket_io(zyn_socket* sock, int32_t command, uint32_t* argument);
/* The calling thread's last socket error, a Winsock number on every platform. No frame. */
ZYN_EXPORT int ZYN_CALL zyn_socket_geterror(void);
/* Receives up to length bytes: the count, 0 when the peer closed, or -1 with error 2 and the socket error. */
ZYN_EXPORT int ZYN_CALL zyn_socket_recv(zyn_socket* sock, void* buffer, int32_t length);
/* Sends up to length bytes: the count sent, or -1 with error 2 and the socket error. */
ZYN_EXPORT int ZYN_CALL zyn_socket_send(zyn_socket* sock, const void* buffer, int32_t length);

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
/* Uniform draw from min to max inclusive (wrapping when max < min); -1 when not loaded. */
ZYN_EXPORT int32_t ZYN_CALL zyn_random_int32(int32_t min, int32_t max);
/* Uniform 64-bit draw from min to max inclusive (wrapping when max < min); -1 when not loaded. */
ZYN_EXPORT int64_t ZYN_CALL zyn_random_int64(int64_t min, int64_t max);
/* zyn_random_int64 with the bounds truncated toward zero from doubles. */
ZYN_EXPORT double ZYN_CALL zyn_random_int64_bgt_compatibility(double min, double max);
/* 1 when a draw from 0 to 100 is at most chance, else 0; -1 when not loaded. */
ZYN_EXPORT int ZYN_CALL zyn_getlucky(int32_t chance);
/* Rounds to at most 15 decimal places (half up; negative fractions toward zero). */
ZYN_EXPORT double ZYN_CALL zyn_round(double value, uint32_t places);
/* percent of number, for percent above 0 up to 100; -1.0 with error 5 otherwise. */
ZYN_EXPORT float ZYN_CALL zyn_percent_to_number(float number, float percent);
/* part as a percentage of total; -1.0 with error 5 when total is 0 or part exceeds it. */
ZYN_EXPORT float ZYN_CALL zyn_number_to_percent(float total, float part);

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
/* Lines "name;*id\n" for every running process, cut to length units, zero-filled behind. Error 12.
 * A control character or the '*' of ";*" in a name is listed as '?': no name adds a line or an id. */
ZYN_EXPORT int ZYN_CALL zyn_wget_listprocesses(zyn_wchar* out, uint32_t length);
/* Narrow twin of zyn_wget_listprocesses (low byte of each unit; '?' beyond U+00FF where that
 * byte is zero, a control character, ';' or '*'). */
ZYN_EXPORT int ZYN_CALL zyn_get_listprocesses(char* out, uint32_t length);
/* Lines "modulename:..\nexecutable:..\n" for each module of a process (0: this one), names and
 * paths listed as in zyn_wget_listprocesses. Error 12. */
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
/* Shows the open-file dialog; the chosen paths land in buffer as UTF-8 joined by "\r\n", each whole
 * (a line feed in a name stays in its path). No frame.
 * filter ("Name|*.a;*.b|...") is read, never changed; cancel leaves buffer untouched. */
ZYN_EXPORT void ZYN_CALL zyn_OpenFileDialog(int multiple, const char* filter, char* buffer, uint32_t capacity);
/* Shows the folder picker, optionally opening in initial_folder (UTF-8). No frame. */
ZYN_EXPORT void ZYN_CALL zyn_OpenFolderDialog(int multiple, const char* initial_folder, char* buffer, uint32_t capacity);

#if defined(__clang__)
#pragma clang diagnostic pop
#endif

#endif /* ZYN_ZYN_H */
