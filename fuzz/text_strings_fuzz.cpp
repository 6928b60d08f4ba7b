// Split, replace and the natural sort on arbitrary text cut into text, delimiter and replacement at its
// first two 0xFF bytes: joined pieces give the text back (but for a trailing delimiter), replacing the
// delimiter by itself changes nothing, the sort writes no more than its documented bound.
#include <zyn/zyn.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    [[maybe_unused]] static const int loaded = zyn_init("fuzz");
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t cut1 = input.find('\xFF'), cut2 = cut1 == std::string::npos ? cut1 : input.find('\xFF', cut1 + 1);
    const std::string text = input.substr(0, cut1), replacement = cut2 == std::string::npos ? "" : input.substr(cut2 + 1);
    const std::string delimiter = cut1 == std::string::npos ? "," : input.substr(cut1 + 1, cut2 - cut1 - 1);
    zyn_string_list pieces;
    if (zyn_string_split(text, delimiter, 1, pieces)) {
        std::string joined;
        for (size_t i = 0; i < pieces.size(); ++i) joined += (i ? delimiter : "") + pieces[i];
        if (joined != text && joined + delimiter != text) std::abort();
    }
    zyn_string_split(text, delimiter, 0, pieces);
    zyn_string_replace(text, delimiter, replacement, 0);
    if (zyn_string_replace(text, delimiter, replacement, 1) != text && !text.empty() && !delimiter.empty() && replacement == delimiter)
        std::abort();
    wstring_list wide;
    zyn_wstring_split(zyn_wstring(text.begin(), text.end()), zyn_wstring(delimiter.begin(), delimiter.end()), 1, wide);
    const std::string ztext = text.substr(0, text.find('\0')), zdelim = delimiter.substr(0, delimiter.find('\0'));
    std::vector<char> output(ztext.size() + zdelim.size() + 1, 'x'); // exactly the bound, over an empty text
    output[0] = '\0';
    zyn_string_sort(ztext.c_str(), zdelim.c_str(), output.data());
    if (!std::memchr(output.data(), '\0', output.size())) std::abort();
    return 0;
}
