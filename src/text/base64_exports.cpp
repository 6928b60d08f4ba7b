// The four Base64 exports: one framed template serves bytes and 16-bit units.
#include "core/frame.h"
#include "text/base64.h"

#include <string>

namespace {

namespace b64 = zyn::text::base64;
using zyn::frame::fail;

template <class C>
std::basic_string<C> encode(const std::basic_string<C>& data)
{
    using Text = std::basic_string<C>;
    return zyn::frame::full(Text(), [&] {
        // An empty input, or a wide unit that cannot stand for one byte, is refused.
        if (data.empty() || !b64::all_bytes(data.data(), data.size()))
            return fail(ZYN_ERR_INVALID_ARGUMENT, Text());
        Text out(b64::encoded_size(data.size()), C());
        b64::encode(data.data(), data.size(), &out[0]);
        return out;
    });
}

template <class C>
std::basic_string<C> decode(const std::basic_string<C>& text)
{
    using Text = std::basic_string<C>;
    return zyn::frame::full(Text(), [&] {
        if (text.empty())
            return fail(ZYN_ERR_INVALID_ARGUMENT, Text());
        Text out(b64::max_decoded_size(text.size()), C());
        const auto written = b64::decode(text.data(), text.size(), &out[0]);
        if (!written)
            return fail(ZYN_ERR_INVALID_ARGUMENT, Text());
        out.resize(*written);
        return out;
    });
}

} // namespace

ZYN_EXPORT std::string ZYN_CALL zyn_string_base64_encode(const std::string& data)
{
    return encode(data);
}

ZYN_EXPORT std::string ZYN_CALL zyn_string_base64_decode(const std::string& text)
{
    return decode(text);
}

ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_base64_encode(const zyn_wstring& data)
{
    return encode(data);
}

ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_base64_decode(const zyn_wstring& text)
{
    return decode(text);
}
