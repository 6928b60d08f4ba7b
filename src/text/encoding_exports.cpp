// The buffer exports of the encodings: Latin-1/UTF-8 conversion and HTML
// entity decoding. A missing buffer where bytes are to be read or written is
// refused with error 5 rather than dereferenced.
#include "core/frame.h"
#include "text/entity_decode.h"
#include "text/latin1_utf8.h"

#include <cstring>

namespace {

template <class Convert>
int convert(const char* text, uint32_t length, char* output, Convert work)
{
    return zyn::frame::full(0, [&] {
        if (length == 0)
            return 1;
        if (!text || !output)
            return zyn::frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        work(text, length, output);
        return 1;
    });
}

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_utf8_encode(const char* text, uint32_t length, char* output)
{
    return convert(text, length, output, zyn::text::latin1_to_utf8);
}

ZYN_EXPORT int ZYN_CALL zyn_utf8_decode(const char* text, uint32_t length, char* output)
{
    return convert(text, length, output, zyn::text::utf8_to_latin1);
}

// size is the capacity of destination: at most size bytes are written, the
// terminating zero included. With a null source the text in destination (read
// no further than size bytes) is decoded in place.
ZYN_EXPORT int ZYN_CALL zyn_decode_entite(const char* source, uint32_t size, char* destination)
{
    return zyn::frame::full(0, [&] {
        if (size == 0 || !destination)
            return zyn::frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        const char* from = source ? source : destination;
        const size_t n = source ? std::strlen(source) : strnlen(destination, size);
        zyn::text::decode_entities(from, n, destination, size);
        return 1;
    });
}
