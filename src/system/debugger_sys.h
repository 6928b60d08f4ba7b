// The platform's answer to "is a debugger attached to this process?".
#pragma once

namespace zyn::system::sys {

bool debugger_present() noexcept;

} // namespace zyn::system::sys
