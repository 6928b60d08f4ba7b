// Latin-1/UTF-8 conversion of arbitrary bytes into buffers of exactly the
// documented size (2 * length to encode, length to decode). The encoder's
// output is valid UTF-8, so encoding it again changes nothing, and decoding
// it gives the input back whenever the input was not already UTF-8. Both
// results are held byte for byte to a plain reference built on UTF8-CPP, and
// decoding in place gives the same bytes as decoding into another buffer.
#include <zyn/zyn.h>

#include <utf8.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>

namespace {

std::string convert(int (*fn)(const char*, uint32_t, char*), const std::string& in, size_t room)
{
    // Allocated exactly as large as promised, so an overrun is caught; the
    // written length is where the 0x00-then-0x01 fills first differ.
    std::unique_ptr<char[]> a(new char[room + 1]), b(new char[room + 1]);
    std::memset(a.get(), 0, room + 1);
    std::memset(b.get(), 1, room + 1);
    if (!fn(in.data(), static_cast<uint32_t>(in.size()), a.get()) ||
        !fn(in.data(), static_cast<uint32_t>(in.size()), b.get()))
        std::abort();
    size_t n = 0;
    while (n < room && (a[n] == b[n]))
        ++n;
    return std::string(a.get(), n);
}

// The reference: UTF-8 as UTF8-CPP judges it, converted one byte at a time.
std::string reference_encode(const std::string& in)
{
    if (utf8::is_valid(in.begin(), in.end()))
        return in;
    std::string out;
    for (unsigned char byte : in)
        utf8::append(byte, std::back_inserter(out));
    return out;
}

std::string reference_decode(const std::string& in)
{
    if (!utf8::is_valid(in.begin(), in.end()))
        return in;
    std::string out;
    for (auto it = in.begin(); it != in.end();) {
        const uint32_t cp = utf8::next(it, in.end());
        if (cp < 256)
            out += char(cp);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int loaded = zyn_init("fuzz");
    (void)loaded;
    const std::string in(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = convert(zyn_utf8_encode, in, 2 * size);
    if (convert(zyn_utf8_encode, utf8, 2 * utf8.size()) != utf8)
        std::abort();
    const std::string latin1 = convert(zyn_utf8_decode, in, size);
    if (latin1.size() > size)
        std::abort();
    if (utf8 != in && convert(zyn_utf8_decode, utf8, utf8.size()) != in)
        std::abort();
    if (utf8 != reference_encode(in) || latin1 != reference_decode(in))
        std::abort();
    std::string in_place = in;
    if (size > 0 && (!zyn_utf8_decode(in_place.data(), uint32_t(size), in_place.data()) ||
                     in_place.compare(0, latin1.size(), latin1) != 0))
        std::abort();
    return 0;
}
