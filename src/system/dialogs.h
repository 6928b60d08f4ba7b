// File and folder dialogs, the portable half: the filter text and the joining
// of the chooser's answer into the caller's buffer.
#pragma once

#include <zyn/zyn.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zyn::system {

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

} // namespace zyn::system
