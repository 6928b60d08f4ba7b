// The platform's file and folder chooser, shown modally.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zyn::system::sys {

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

} // namespace zyn::system::sys
