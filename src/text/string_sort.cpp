// zyn_string_sort: split delimited text, sort the pieces in natural order and
// append them, each followed by the delimiter, to the caller's buffer. It has
// no frame of its own: zyn_string_split's frame and checks decide the outcome.
#include "core/frame.h"
#include "text/natural_order.h"

#include <algorithm>
#include <cstring>

ZYN_EXPORT int ZYN_CALL zyn_string_sort(const char* text, const char* delimiter, char* output)
{
    // A missing text or delimiter is an empty one: zyn_string_split rejects it.
    const std::string whole_text = text ? text : "";
    const std::string delim = delimiter ? delimiter : "";
    zyn_string_list pieces;
    if (!zyn_string_split(whole_text, delim, 1, pieces))
        return 0;
    if (!output)
        return zyn::frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);

    std::sort(pieces.begin(), pieces.end(), [](const std::string& a, const std::string& b) {
        return zyn::text::natural_less(a, b);
    });

    char* end = output + std::strlen(output);
    for (const std::string& piece : pieces) {
        std::memcpy(end, piece.data(), piece.size());
        end += piece.size();
        std::memcpy(end, delim.data(), delim.size());
        end += delim.size();
    }
    *end = '\0';
    return 1;
}
