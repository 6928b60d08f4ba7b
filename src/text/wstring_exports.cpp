// The wide string exports: 16-bit units of zyn_wstring, one unit one character.
#include "text/string_framed.h"

namespace f = zyn::text::framed;

ZYN_EXPORT uint32_t ZYN_CALL zyn_wstring_contains(const zyn_wstring& text, const zyn_wstring& search, uint32_t start)
{
    return f::contains<zyn_wchar>(text, search, start);
}

ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_reverse(const zyn_wstring& text)
{
    return f::reverse<zyn_wchar>(text);
}

ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_extract(const zyn_wstring& text, uint32_t start, uint32_t count)
{
    return f::extract<zyn_wchar>(text, start, count);
}

ZYN_EXPORT int ZYN_CALL zyn_wstring_is_digits(const zyn_wstring& text)
{
    return f::is_class<zyn_wchar>(text, zyn::base::is_ascii_digit<zyn_wchar>);
}

ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_replace(const zyn_wstring& text, const zyn_wstring& search,
                                                   const zyn_wstring& replacement, zyn_bool all)
{
    return f::replace<zyn_wchar>(text, search, replacement, all);
}

ZYN_EXPORT int ZYN_CALL zyn_wstring_split(const zyn_wstring& text, const zyn_wstring& delimiter, zyn_bool whole,
                                         wstring_list& list)
{
    return f::split<zyn_wchar>(text, delimiter, whole, list);
}

ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_smash(const zyn_wstring& text, const zyn_wstring& characters)
{
    return f::smash<zyn_wchar>(text, characters);
}

ZYN_EXPORT int ZYN_CALL zyn_wstring_is_upper_case(const zyn_wstring& text)
{
    return f::is_class<zyn_wchar>(text, zyn::base::is_ascii_upper<zyn_wchar>);
}

ZYN_EXPORT int ZYN_CALL zyn_wstring_is_lower_case(const zyn_wstring& text)
{
    return f::is_class<zyn_wchar>(text, zyn::base::is_ascii_lower<zyn_wchar>);
}

ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_to_upper_case(const zyn_wstring& text)
{
    return f::map_case<zyn_wchar>(text, zyn::base::ascii_to_upper<zyn_wchar>);
}

ZYN_EXPORT zyn_wstring ZYN_CALL zyn_wstring_to_lower_case(const zyn_wstring& text)
{
    return f::map_case<zyn_wchar>(text, zyn::base::ascii_to_lower<zyn_wchar>);
}

ZYN_EXPORT double ZYN_CALL zyn_wstring_to_number(const zyn_wstring& text)
{
    return f::to_number<zyn_wchar>(text);
}
