// printf-style formatting of wide text, the same on every platform: the
// runtime's own wide printf differs between platforms in what %s takes and
// cannot take 16-bit strings where wchar_t is 32 bits wide.
#pragma once

#include <zyn/zyn.h>

#include <cstdarg>
#include <cstddef>

namespace zyn::files {

enum class FormatOutcome { ok, too_long, failed };

// Formats into out. Conversions: d i u o x X e E f F g G a A p with the C
// flags, width, precision (* included) and length modifiers; %s, %ls, %ws take
// a zyn_wchar string and %hs, %S a narrow one widened byte for byte; %c, %lc,
// %wc take a zyn_wchar and %hc, %C a narrow character; %% is a percent sign.
// too_long once the text would reach limit units; failed on %n or a conversion
// it does not know.
FormatOutcome format_wide(zyn_wstring& out, std::size_t limit, const zyn_wchar* format, va_list args);

} // namespace zyn::files
