// Linux has no window of the game's to hook: the capture never starts.
#include "core/capture.h"

namespace zyn::capture {

bool hook_window(const std::string& /*title*/) noexcept { return false; }

void unhook_window() noexcept {}

} // namespace zyn::capture
