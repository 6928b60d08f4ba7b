// zyn_string_sort: split delimited text, sort the pieces in natural order and
// append them, each followed by the delimiter, to the caller's buffer. The
// split's checks come first, so its errors decide the outcome of bad text.
#include "text/natural_order.h"
#include "text/string_framed.h"

#include <algorithm>
#include <cstring>

using namespace zyn;

ZYN_EXPORT int ZYN_CALL zyn_string_sort(const char* text, const char* delimiter, char* output)
{
    return frame::full(0, [&] {
        // A missing text or delimiter is an empty one, which the split rejects.
        const std::string whole_text = text ? text : "";
        const std::string delim = delimiter ? delimiter : "";
        zyn_string_list pieces;
        if (!text::framed::split_unframed<char>(whole_text, delim, 1, pieces))
            return 0;
        if (!output)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);

        std::sort(pieces.begin(), pieces.end(),
                  [](const std::string& a, const std::string& b) { return text::natural_less(a, b); });

        char* end = output + std::strlen(output);
        for (const std::string& piece : pieces) {
            std::memcpy(end, piece.data(), piece.size());
            end += piece.size();
            std::memcpy(end, delim.data(), delim.size());
            end += delim.size();
        }
        *end = '\0';
        return 1;
    });
}
