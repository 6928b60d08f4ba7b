// printf-style formatting of wide text, the same on every platform.
#include "files/wide_format.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>

namespace zyn::files {

namespace {

enum class Length { none, hh, h, l, ll, j, z, t, L, w };

bool is_digit(zyn_wchar c) { return c >= '0' && c <= '9'; }

// Digits of a width or precision, all consumed; false past the limit, which no
// line can hold (the value then stays at the limit).
bool read_count(const zyn_wchar*& f, std::size_t limit, int& value)
{
    value = 0;
    bool within = true;
    for (; is_digit(*f); ++f) {
        if (within)
            value = value * 10 + int(*f - '0');
        if (std::size_t(value) >= limit) {
            within = false;
            value = int(limit);
        }
    }
    return within;
}

Length read_length(const zyn_wchar*& f)
{
    switch (*f) {
    case 'h': ++f; return *f == 'h' ? (++f, Length::hh) : Length::h;
    case 'l': ++f; return *f == 'l' ? (++f, Length::ll) : Length::l;
    case 'j': ++f; return Length::j;
    case 'z': ++f; return Length::z;
    case 't': ++f; return Length::t;
    case 'L': ++f; return Length::L;
    case 'w': ++f; return Length::w;
    case 'I':
        if (f[1] == '6' && f[2] == '4') { f += 3; return Length::ll; }
        if (f[1] == '3' && f[2] == '2') { f += 3; return Length::none; }
        return Length::none;
    default: return Length::none;
    }
}

// The C conversion written once: the directive with the value formatted by
// the runtime, which gives ASCII for numbers.
template <class Value>
bool append_number(zyn_wstring& out, std::size_t limit, const std::string& directive, Value value)
{
    const int needed = std::snprintf(nullptr, 0, directive.c_str(), value);
    if (needed < 0)
        return false;
    if (out.size() + std::size_t(needed) >= limit)
        return false;
    std::string text(std::size_t(needed) + 1, '\0');
    std::snprintf(&text[0], text.size(), directive.c_str(), value);
    out.append(text.begin(), text.begin() + needed);
    return true;
}

// A string or character conversion: precision counts units, width pads with spaces.
template <class Char>
void append_text(zyn_wstring& out, const Char* text, std::size_t count, int width, bool left)
{
    const std::size_t pad = width > 0 && std::size_t(width) > count ? std::size_t(width) - count : 0;
    if (!left)
        out.append(pad, zyn_wchar(' '));
    for (std::size_t i = 0; i < count; ++i)
        out += zyn_wchar(static_cast<std::make_unsigned_t<Char>>(text[i]));
    if (left)
        out.append(pad, zyn_wchar(' '));
}

template <class Char>
std::size_t bounded_length(const Char* text, int precision)
{
    std::size_t n = 0;
    while ((precision < 0 || n < std::size_t(precision)) && text[n])
        ++n;
    return n;
}

} // namespace

FormatOutcome format_wide(zyn_wstring& out, std::size_t limit, const zyn_wchar* f, va_list args)
{
    out.clear();
    if (!f)
        return FormatOutcome::failed;
    while (*f) {
        if (*f != '%') {
            out += *f++;
            if (out.size() >= limit)
                return FormatOutcome::too_long;
            continue;
        }
        ++f;
        std::string directive = "%";
        bool left = false;
        for (; *f == '-' || *f == '+' || *f == ' ' || *f == '#' || *f == '0'; ++f) {
            directive += char(*f);
            left = left || *f == '-';
        }
        int width = -1;
        if (*f == '*') {
            ++f;
            width = va_arg(args, int);
            if (width < 0) {
                directive += '-';
                left = true;
                width = width < -int(limit) ? int(limit) : -width;
            }
            if (std::size_t(width) >= limit)
                return FormatOutcome::too_long;
        } else if (is_digit(*f) && !read_count(f, limit, width)) {
            return FormatOutcome::too_long;
        }
        int precision = -1;
        if (*f == '.') {
            ++f;
            if (*f == '*') {
                ++f;
                precision = va_arg(args, int);
                if (precision < 0)
                    precision = -1;
                else if (std::size_t(precision) > limit)
                    precision = int(limit); // no line holds more; the runtime would build it all first
            } else if (!read_count(f, limit, precision)) {
                precision = int(limit); // beyond what one line can hold anyway
            }
        }
        if (width >= 0)
            directive += std::to_string(width);
        if (precision >= 0)
            directive += "." + std::to_string(precision);
        const Length length = read_length(f);
        const zyn_wchar conversion = *f;
        if (conversion == 0)
            return FormatOutcome::failed;
        ++f;
        bool fits = true;
        switch (conversion) {
        case '%':
            out += zyn_wchar('%');
            break;
        case 'd':
        case 'i': {
            long long value;
            switch (length) {
            case Length::hh: value = static_cast<signed char>(va_arg(args, int)); break;
            case Length::h: value = static_cast<short>(va_arg(args, int)); break;
            case Length::l: value = va_arg(args, long); break;
            case Length::ll: value = va_arg(args, long long); break;
            case Length::j: value = va_arg(args, intmax_t); break;
            case Length::z: value = static_cast<long long>(va_arg(args, size_t)); break;
            case Length::t: value = va_arg(args, ptrdiff_t); break;
            default: value = va_arg(args, int); break;
            }
            fits = append_number(out, limit, directive + "ll" + char(conversion), value);
            break;
        }
        case 'u':
        case 'o':
        case 'x':
        case 'X': {
            unsigned long long value;
            switch (length) {
            case Length::hh: value = static_cast<unsigned char>(va_arg(args, unsigned)); break;
            case Length::h: value = static_cast<unsigned short>(va_arg(args, unsigned)); break;
            case Length::l: value = va_arg(args, unsigned long); break;
            case Length::ll: value = va_arg(args, unsigned long long); break;
            case Length::j: value = va_arg(args, uintmax_t); break;
            case Length::z: value = va_arg(args, size_t); break;
            case Length::t: value = static_cast<unsigned long long>(va_arg(args, ptrdiff_t)); break;
            default: value = va_arg(args, unsigned); break;
            }
            fits = append_number(out, limit, directive + "ll" + char(conversion), value);
            break;
        }
        case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A':
            if (length == Length::L)
                fits = append_number(out, limit, directive + "L" + char(conversion), va_arg(args, long double));
            else
                fits = append_number(out, limit, directive + char(conversion), va_arg(args, double));
            break;
        case 'p':
            fits = append_number(out, limit, directive + "p", va_arg(args, void*));
            break;
        case 'c':
        case 'C': {
            const int value = va_arg(args, int);
            if (length == Length::h || (conversion == 'C' && length == Length::none)) {
                const char narrow = char(value);
                append_text(out, &narrow, 1, width, left);
            } else {
                const zyn_wchar wide = zyn_wchar(value);
                append_text(out, &wide, 1, width, left);
            }
            break;
        }
        case 's':
        case 'S':
            if (length == Length::h || (conversion == 'S' && length == Length::none)) {
                const char* text = va_arg(args, const char*);
                if (!text)
                    text = "(null)";
                append_text(out, text, bounded_length(text, precision), width, left);
            } else {
                static const zyn_wchar kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
                const zyn_wchar* text = va_arg(args, const zyn_wchar*);
                if (!text)
                    text = kNull;
                append_text(out, text, bounded_length(text, precision), width, left);
            }
            break;
        default:
            return FormatOutcome::failed; // %n among them: nothing is written through an argument
        }
        if (!fits || out.size() >= limit)
            return FormatOutcome::too_long;
    }
    return FormatOutcome::ok;
}

} // namespace zyn::files
