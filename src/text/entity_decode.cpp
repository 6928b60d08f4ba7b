// Decoding HTML character references into UTF-8 within a sized destination.
#include "text/entity_decode.h"

#include "base/ascii.h"
#include "text/entity_table.h"
#include "base/utf8_write.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace zyn::text {

namespace {

constexpr uint32_t kCodePointEnd = 0x110000;

int digit_value(char c, int base) noexcept
{
    int v = 99;
    if (base::is_ascii_digit(c))
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// The number of a numeric reference, read as strtoul reads it in the given
// base (white space, a sign, "0x" in base 16), accepted only when the whole
// text up to the ';' is used, nothing overflows and the value is a code
// point. A reference without digits ("&#;") converts to 0 and is accepted.
bool read_reference_number(std::string_view digits, int base, uint32_t& value) noexcept
{
    if (digits.empty()) {
        value = 0;
        return true;
    }
    size_t i = 0;
    while (i < digits.size() && base::is_ascii_space(digits[i]))
        ++i;
    bool negative = false;
    if (i < digits.size() && (digits[i] == '+' || digits[i] == '-'))
        negative = digits[i++] == '-';
    if (base == 16 && i + 2 < digits.size() && digits[i] == '0' && (digits[i + 1] == 'x' || digits[i + 1] == 'X')
        && digit_value(digits[i + 2], 16) >= 0)
        i += 2;
    const size_t first_digit = i;
    uint32_t v = 0;
    for (; i < digits.size(); ++i) {
        const int d = digit_value(digits[i], base);
        if (d < 0)
            return false; // the conversion would stop before the ';'
        v = v * base + static_cast<uint32_t>(d);
        if (v >= kCodePointEnd)
            return false; // too large, or past what the conversion can hold
    }
    if (i == first_digit)
        return false; // no digits after white space or a sign: nothing converted
    if (negative && v != 0)
        return false; // a negated value wraps far past the last code point
    value = v;
    return true;
}

// Writes into destination while it has room, keeping one byte for the zero.
struct BoundedOut {
    char* data;
    size_t limit; // bytes available before the terminating zero
    size_t used = 0;

    // Copies as much of [from, from + n) as fits; false when it was cut.
    bool copy(const char* from, size_t n) noexcept
    {
        const size_t room = limit - used;
        const size_t take = n < room ? n : room;
        std::memmove(data + used, from, take);
        used += take;
        return take == n;
    }
    // Writes all n bytes or none of them.
    bool whole(const char* from, size_t n) noexcept
    {
        if (limit - used < n)
            return false;
        std::memmove(data + used, from, n);
        used += n;
        return true;
    }
};

} // namespace

size_t decode_entities(const char* source, size_t n, char* destination, size_t capacity) noexcept
{
    BoundedOut out{destination, capacity - 1};
    size_t r = 0;
    size_t semicolon = 0;     // the next ';' after the last '&' looked at, or n for none
    bool semicolon_known = false;
    while (r < n) {
        const void* found = std::memchr(source + r, '&', n - r);
        if (!found) {
            out.copy(source + r, n - r);
            break;
        }
        const size_t amp = static_cast<size_t>(static_cast<const char*>(found) - source);
        if (!out.copy(source + r, amp - r))
            break;
        if (!semicolon_known || (semicolon != n && semicolon <= amp)) {
            const void* s = std::memchr(source + amp + 1, ';', n - amp - 1);
            semicolon = s ? static_cast<size_t>(static_cast<const char*>(s) - source) : n;
            semicolon_known = true;
        }

        char bytes[4];
        size_t length = 0;
        if (semicolon != n) {
            if (source[amp + 1] != '#') {
                if (const Entity* e = find_entity(std::string_view(source + amp + 1, semicolon - amp))) {
                    std::memcpy(bytes, e->bytes, e->length);
                    length = e->length;
                }
            } else {
                size_t start = amp + 2;
                int base = 10;
                if (start < semicolon && (source[start] == 'x' || source[start] == 'X')) {
                    ++start;
                    base = 16;
                }
                uint32_t cp = 0;
                if (read_reference_number(std::string_view(source + start, semicolon - start), base, cp))
                    length = base::write_utf8(cp, bytes);
            }
        }
        if (length > 0) {
            if (!out.whole(bytes, length))
                break;
            r = semicolon + 1;
        } else {
            if (!out.whole("&", 1))
                break;
            r = amp + 1;
        }
    }
    destination[out.used] = '\0';
    return out.used;
}

} // namespace zyn::text
