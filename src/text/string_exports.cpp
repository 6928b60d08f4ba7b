// The narrow string exports: bytes of std::string, one byte one character.
#include "text/string_framed.h"

namespace f = zyn::text::framed;

ZYN_EXPORT uint32_t ZYN_CALL zyn_string_contains(const std::string& text, const std::string& search, uint32_t start)
{
    return f::contains<char>(text, search, start);
}

ZYN_EXPORT std::string ZYN_CALL zyn_string_reverse(const std::string& text)
{
    return f::reverse<char>(text);
}

ZYN_EXPORT std::string ZYN_CALL zyn_string_extract(const std::string& text, uint32_t start, uint32_t count)
{
    return f::extract<char>(text, start, count);
}

ZYN_EXPORT int ZYN_CALL zyn_string_is_digits(const std::string& text)
{
    return f::is_class<char>(text, zyn::base::is_ascii_digit<char>);
}

ZYN_EXPORT std::string ZYN_CALL zyn_string_replace(const std::string& text, const std::string& search,
                                                   const std::string& replacement, zyn_bool all)
{
    return f::replace<char>(text, search, replacement, all);
}

ZYN_EXPORT int ZYN_CALL zyn_string_split(const std::string& text, const std::string& delimiter, zyn_bool whole,
                                         zyn_string_list& list)
{
    return f::split<char>(text, delimiter, whole, list);
}

ZYN_EXPORT std::string ZYN_CALL zyn_string_smash(const std::string& text, const std::string& characters)
{
    return f::smash<char>(text, characters);
}

ZYN_EXPORT int ZYN_CALL zyn_string_is_upper_case(const std::string& text)
{
    return f::is_class<char>(text, zyn::base::is_ascii_upper<char>);
}

ZYN_EXPORT int ZYN_CALL zyn_string_is_lower_case(const std::string& text)
{
    return f::is_class<char>(text, zyn::base::is_ascii_lower<char>);
}

ZYN_EXPORT std::string ZYN_CALL zyn_string_to_upper_case(const std::string& text)
{
    return f::map_case<char>(text, zyn::base::ascii_to_upper<char>);
}

ZYN_EXPORT std::string ZYN_CALL zyn_string_to_lower_case(const std::string& text)
{
    return f::map_case<char>(text, zyn::base::ascii_to_lower<char>);
}

ZYN_EXPORT double ZYN_CALL zyn_string_to_number(const std::string& text)
{
    return f::to_number<char>(text);
}
