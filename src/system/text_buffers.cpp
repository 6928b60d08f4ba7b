// Widening and narrowing the narrow twins' text.
#include "system/text_buffers.h"

namespace zyn::system {

zyn_wstring wide_text(const zyn_wchar* text) { return text != nullptr ? zyn_wstring(text) : zyn_wstring(); }

zyn_wstring widen_bytes(const char* text)
{
    zyn_wstring wide;
    if (text == nullptr)
        return wide;
    for (; *text != '\0'; ++text)
        wide += zyn_wchar(uint16_t(int16_t(static_cast<signed char>(*text))));
    return wide;
}

std::string narrow_low_bytes(const zyn_wchar* units, size_t count)
{
    std::string narrow;
    for (size_t n = 0; n < count; ++n) {
        const uint16_t unit = uint16_t(units[n]);
        if (unit == 0)
            break;
        // A character beyond U+00FF whose low byte would end the text (U+4E00)
        // or pose as a separator of the lists (U+010A as a line feed, U+013B and
        // U+012A as ";*") becomes '?', so that no line is lost or added.
        const char byte = char(unit & 0xFF);
        const bool posing = uint8_t(byte) < 0x20 || byte == ';' || byte == '*';
        narrow += unit > 0xFF && posing ? '?' : byte;
    }
    return narrow;
}

} // namespace zyn::system
