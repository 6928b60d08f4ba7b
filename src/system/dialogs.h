// File and folder dialogs: the filter text, the request to the platform's
// chooser and the joining of its answer into the caller's buffer.
#pragma once

#include <zyn/zyn.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zyn::sys {

// One file type offered by the dialog: a display name and its patterns ("*.png;*.jpg").
struct FileType {
    zyn_wstring name;
    zyn_wstring pattern;
};

// Reads a filter text "Name|patterns|Name|patterns" without changing it,
// collapsing runs of separators and ignoring them at either end, and returns
// the pairs whose name and pattern are both non-empty. A final name without a
// pattern is ignored. Null gives no types.
std::vector<FileType> parse_file_types(const char* filter);

// Empties the buffer, then joins paths with "\r\n" into it, zero-terminated,
// stopping at the last whole path that fits its capacity. A null buffer or a
// capacity of 0 is left alone.
void store_paths(const std::vector<std::string>& paths, char* buffer, uint32_t capacity);

// Reads a chooser's answer: the chosen paths joined by the separator it was
// given, ended by one line feed. Each path is taken whole between separators,
// line feeds in it included; with no separator the answer is one path. Empty
// paths are left out.
std::vector<std::string> split_chooser_answer(std::string_view answer, std::string_view separator);

struct DialogRequest {
    bool folders = false;        // pick folders rather than files
    bool multiple = false;       // allow several choices
    const char* filter = nullptr; // files: the caller's filter text, parsed by the backend
    const char* initial_folder = nullptr; // folders: where to open (UTF-8), may be null
};

// Shows the platform's chooser modally. Nothing on cancel, failure or when no
// item was chosen; otherwise the chosen items' paths in UTF-8 (an item without
// a file-system path is skipped, so the list may be empty).
std::optional<std::vector<std::string>> show_open_dialog(const DialogRequest& request);

} // namespace zyn::sys
