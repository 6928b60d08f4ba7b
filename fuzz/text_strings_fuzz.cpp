// Split, replace and the natural sort on arbitrary text. The input is cut
// into text, delimiter and replacement at its first two 0xFF bytes. Splitting
// with whole delimiters and joining the pieces gives the text back (but for a
// trailing delimiter); the sort writes no more than its documented bound.
#include <zyn/zyn.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int loaded = zyn_init("fuzz");
    (void)loaded;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t cut1 = input.find('\xFF');
    const size_t cut2 = cut1 == std::string::npos ? cut1 : input.find('\xFF', cut1 + 1);
    const std::string text = input.substr(0, cut1);
    const std::string delimiter = cut1 == std::string::npos ? "," : input.substr(cut1 + 1, cut2 - cut1 - 1);
    const std::string replacement = cut2 == std::string::npos ? "" : input.substr(cut2 + 1);

    zyn_string_list pieces;
    if (zyn_string_split(text, delimiter, 1, pieces)) {
        std::string joined;
        for (size_t i = 0; i < pieces.size(); ++i)
            joined += (i ? delimiter : "") + pieces[i];
        if (joined != text && joined + delimiter != text)
            std::abort();
    }
    zyn_string_split(text, delimiter, 0, pieces);

    const std::string replaced = zyn_string_replace(text, delimiter, replacement, 1);
    if (!text.empty() && !delimiter.empty() && replacement == delimiter && replaced != text)
        std::abort();
    zyn_string_replace(text, delimiter, replacement, 0);

    wstring_list wide;
    zyn_wstring_split(zyn_wstring(text.begin(), text.end()), zyn_wstring(delimiter.begin(), delimiter.end()), 1, wide);

    // The sort takes zero-terminated strings; the output holds exactly its bound.
    const std::string ztext = text.substr(0, text.find('\0'));
    const std::string zdelim = delimiter.substr(0, delimiter.find('\0'));
    std::vector<char> output(ztext.size() + zdelim.size() + 1, 'x');
    output[0] = '\0';
    zyn_string_sort(ztext.c_str(), zdelim.c_str(), output.data());
    if (!std::memchr(output.data(), '\0', output.size()))
        std::abort();
    return 0;
}
