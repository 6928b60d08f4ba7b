// Latin-1/UTF-8 conversion of arbitrary bytes into buffers of exactly the documented size, held byte for
// byte to a reference on UTF8-CPP; re-encoding, decoding the encoded text and decoding in place agree.
#include <zyn/zyn.h>

#include <utf8.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

// Converts into exactly room bytes, over 0x00 and over 0x01 fills: where the two first
// differ is the written length, and an overrun is caught.
static std::string convert(int (*fn)(const char*, uint32_t, char*), const std::string& in, size_t room)
{
    std::vector<char> a(room, 0), b(room, 1);
    if (!fn(in.data(), uint32_t(in.size()), a.data()) || !fn(in.data(), uint32_t(in.size()), b.data())) std::abort();
    return std::string(a.begin(), std::mismatch(a.begin(), a.end(), b.begin()).first);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    [[maybe_unused]] static const int loaded = zyn_init("fuzz");
    const std::string in(reinterpret_cast<const char*>(data), size);
    const bool valid = utf8::is_valid(in.begin(), in.end());
    std::string encoded = valid ? in : "", decoded = valid ? "" : in;
    for (auto it = in.begin(); it != in.end() && !valid; ++it)
        utf8::append(uint32_t(static_cast<unsigned char>(*it)), std::back_inserter(encoded));
    for (auto it = in.begin(); it != in.end() && valid;)
        if (const uint32_t cp = utf8::next(it, in.end()); cp < 256) decoded += char(cp);
    const std::string utf8 = convert(zyn_utf8_encode, in, 2 * size), latin1 = convert(zyn_utf8_decode, in, size);
    std::string in_place = in;
    if (utf8 != encoded || latin1 != decoded || convert(zyn_utf8_encode, utf8, 2 * utf8.size()) != utf8 ||
        (utf8 != in && convert(zyn_utf8_decode, utf8, utf8.size()) != in) ||
        (size > 0 && (!zyn_utf8_decode(in_place.data(), uint32_t(size), in_place.data()) || in_place.compare(0, latin1.size(), latin1))))
        std::abort();
    return 0;
}
