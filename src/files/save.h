// Saving a whole file by a narrow path, in one step: the new content is
// written beside the file and then put in its place, so a failure part-way
// (a full disk, a size limit) leaves the previous file exactly as it was.
#pragma once

#include <string_view>

namespace zyn::files {

enum class SaveOutcome { not_opened, failed, written };

// The path follows the narrow rules of the whole-file exports (the bytes go to
// the platform as they are; a backslash separates where the slash does).
// not_opened: no new file could be made there; failed: something was made
// but not every byte reached the disk, and the file is as it was.
SaveOutcome save_narrow(const char* path, std::string_view bytes);

} // namespace zyn::files
