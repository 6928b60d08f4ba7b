// Text throughput on 1 MiB inputs. Base64 runs next to OpenSSL's
// EVP_EncodeBlock/EVP_DecodeBlock (writing into a buffer made beforehand, so
// OpenSSL pays no allocation while the exports return new strings); replace
// and split (narrow and wide) run next to a plain find loop doing the same
// work, the split loop refilling one vector as a caller's list is refilled.
// Latin-1/UTF-8 conversion and the natural sort of 100,000 names are reported.
#include <zyn/zyn.h>

#include <benchmark/benchmark.h>

#if defined(ZYN_BENCH_OPENSSL)
#include <openssl/evp.h>
#endif

#include <iconv.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kMiB = 1 << 20;

struct Loaded {
    Loaded() { zyn_init("bench"); }
};
const Loaded loaded;

const std::string& random_bytes()
{
    static const std::string data = [] {
        std::mt19937 rng(1);
        std::string s(kMiB, '\0');
        for (char& c : s)
            c = static_cast<char>(rng());
        return s;
    }();
    return data;
}

const std::string& base64_text()
{
    static const std::string text = zyn_string_base64_encode(random_bytes());
    return text;
}

// A game log: lines of names, scores and comma-separated tags, about 1 MiB.
const std::string& log_text()
{
    static const std::string text = [] {
        std::mt19937 rng(2);
        std::string s;
        while (s.size() < kMiB) {
            s += "player_" + std::to_string(rng() % 5000) + " scored " + std::to_string(rng() % 100000) +
                 " points, rank " + std::to_string(rng() % 100) + ", map harbour\n";
        }
        return s;
    }();
    return text;
}

void BM_Base64Encode_zyn(benchmark::State& state)
{
    const std::string& data = random_bytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_string_base64_encode(data));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}
BENCHMARK(BM_Base64Encode_zyn);

void BM_Base64Decode_zyn(benchmark::State& state)
{
    const std::string& text = base64_text();
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_string_base64_decode(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_Base64Decode_zyn);

#if defined(ZYN_BENCH_OPENSSL)
void BM_Base64Encode_OpenSSL(benchmark::State& state)
{
    const std::string& data = random_bytes();
    std::vector<unsigned char> out((data.size() + 2) / 3 * 4 + 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_EncodeBlock(out.data(), reinterpret_cast<const unsigned char*>(data.data()),
                                                 static_cast<int>(data.size())));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}
BENCHMARK(BM_Base64Encode_OpenSSL);

void BM_Base64Decode_OpenSSL(benchmark::State& state)
{
    const std::string& text = base64_text();
    std::vector<unsigned char> out(text.size() / 4 * 3 + 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                                 static_cast<int>(text.size())));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_Base64Decode_OpenSSL);
#endif

std::string find_loop_replace(const std::string& text, const std::string& search, const std::string& replacement)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    for (size_t hit; (hit = text.find(search, i)) != std::string::npos; i = hit + search.size()) {
        out.append(text, i, hit - i);
        out += replacement;
    }
    out.append(text, i, std::string::npos);
    return out;
}

void BM_ReplaceAll_zyn(benchmark::State& state)
{
    const std::string& text = log_text();
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn_string_replace(text, "points", "pts", 1));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReplaceAll_zyn);

void BM_ReplaceAll_FindLoop(benchmark::State& state)
{
    const std::string& text = log_text();
    for (auto _ : state)
        benchmark::DoNotOptimize(find_loop_replace(text, "points", "pts"));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReplaceAll_FindLoop);

// The anchor: a find loop that clears the same vector and fills it again
// (the vector keeps its capacity; its strings are made anew).
template <class Text>
void find_loop_split(const Text& text, const Text& delimiter, std::vector<Text>& pieces)
{
    pieces.clear();
    size_t i = 0;
    for (size_t hit; (hit = text.find(delimiter, i)) != Text::npos; i = hit + delimiter.size())
        pieces.emplace_back(text, i, hit - i);
    if (i < text.size())
        pieces.emplace_back(text, i, Text::npos);
}

const zyn_wstring& wide_log_text()
{
    static const zyn_wstring text(log_text().begin(), log_text().end());
    return text;
}

void BM_Split_zyn(benchmark::State& state, const char* delimiter)
{
    const std::string& text = log_text();
    const std::string delim = delimiter;
    zyn_string_list list;
    for (auto _ : state) {
        zyn_string_split(text, delim, 1, list);
        benchmark::DoNotOptimize(list.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK_CAPTURE(BM_Split_zyn, lines, "\n");
BENCHMARK_CAPTURE(BM_Split_zyn, comma_space, ", ");

void BM_Split_FindLoop(benchmark::State& state, const char* delimiter)
{
    const std::string& text = log_text();
    const std::string delim = delimiter;
    std::vector<std::string> list;
    for (auto _ : state) {
        find_loop_split(text, delim, list);
        benchmark::DoNotOptimize(list.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK_CAPTURE(BM_Split_FindLoop, lines, "\n");
BENCHMARK_CAPTURE(BM_Split_FindLoop, comma_space, ", ");

void BM_WideSplit_zyn(benchmark::State& state, const char* delimiter)
{
    const zyn_wstring& text = wide_log_text();
    const zyn_wstring delim(delimiter, delimiter + std::char_traits<char>::length(delimiter));
    wstring_list list;
    for (auto _ : state) {
        zyn_wstring_split(text, delim, 1, list);
        benchmark::DoNotOptimize(list.items);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * sizeof(zyn_wchar)));
}
BENCHMARK_CAPTURE(BM_WideSplit_zyn, lines, "\n");
BENCHMARK_CAPTURE(BM_WideSplit_zyn, comma_space, ", ");

void BM_WideSplit_FindLoop(benchmark::State& state, const char* delimiter)
{
    const zyn_wstring& text = wide_log_text();
    const zyn_wstring delim(delimiter, delimiter + std::char_traits<char>::length(delimiter));
    std::vector<zyn_wstring> list;
    for (auto _ : state) {
        find_loop_split(text, delim, list);
        benchmark::DoNotOptimize(list.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * sizeof(zyn_wchar)));
}
BENCHMARK_CAPTURE(BM_WideSplit_FindLoop, lines, "\n");
BENCHMARK_CAPTURE(BM_WideSplit_FindLoop, comma_space, ", ");

// Mostly ASCII with accented Latin-1 letters, as a player name list would be.
const std::string& latin1_text()
{
    static const std::string text = [] {
        std::mt19937 rng(3);
        std::string s(kMiB, 'a');
        for (char& c : s) {
            const unsigned r = rng() % 100;
            c = r < 8 ? static_cast<char>(0xC0 + rng() % 64) : static_cast<char>('a' + r % 26);
        }
        return s;
    }();
    return text;
}

// The same text as UTF-8, cut to about 1 MiB at the end of a whole sequence.
const std::string& utf8_text()
{
    static const std::string text = [] {
        const std::string& latin1 = latin1_text();
        std::string utf8(2 * latin1.size(), '\0');
        zyn_utf8_encode(latin1.data(), static_cast<uint32_t>(latin1.size()), &utf8[0]);
        size_t end = latin1.size();
        while ((static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            --end; // never end inside a sequence
        return utf8.substr(0, end);
    }();
    return text;
}

void run_conversion(benchmark::State& state, int (*convert)(const char*, uint32_t, char*), const std::string& text)
{
    std::vector<char> out(2 * text.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(convert(text.data(), static_cast<uint32_t>(text.size()), out.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_Utf8Encode_Latin1(benchmark::State& state) { run_conversion(state, zyn_utf8_encode, latin1_text()); }
BENCHMARK(BM_Utf8Encode_Latin1);

void BM_Utf8Encode_AlreadyUtf8(benchmark::State& state) { run_conversion(state, zyn_utf8_encode, utf8_text()); }
BENCHMARK(BM_Utf8Encode_AlreadyUtf8);

void BM_Utf8Decode(benchmark::State& state) { run_conversion(state, zyn_utf8_decode, utf8_text()); }
BENCHMARK(BM_Utf8Decode);

// Chat: words, mostly ASCII, with an accented Latin-1 letter now and then.
const std::string& chat_latin1_text()
{
    static const std::string text = [] {
        std::mt19937 rng(5);
        const char* words[] = {"gg", "wp", "anyone", "up", "for", "a", "raid", "tonight", "lol", "nice", "shot",
                               "caf\xE9", "na\xEFve", "gar\xE7on", "\xFC" "ber", "ok", "brb", "heal", "me", "pls"};
        std::string s;
        while (s.size() < kMiB)
            s += std::string(words[rng() % 20]) + (rng() % 8 == 0 ? ". " : " ");
        return s;
    }();
    return text;
}

const std::string& chat_utf8_text()
{
    static const std::string text = [] {
        std::string utf8;
        for (unsigned char c : chat_latin1_text()) {
            if (c < 0x80) {
                utf8 += char(c);
            } else {
                utf8 += char(0xC0 | c >> 6);
                utf8 += char(0x80 | (c & 0x3F));
            }
        }
        return utf8;
    }();
    return text;
}

// Every second byte above 127, as in a name list of a Latin-1 language.
const std::string& high_latin1_text()
{
    static const std::string text = [] {
        std::string s(kMiB, 'a');
        for (size_t i = 1; i < s.size(); i += 2)
            s[i] = char(0xC0 + i % 64);
        return s;
    }();
    return text;
}

void BM_Utf8Encode_Chat_zyn(benchmark::State& state) { run_conversion(state, zyn_utf8_encode, chat_latin1_text()); }
BENCHMARK(BM_Utf8Encode_Chat_zyn);

void BM_Utf8Decode_Chat_zyn(benchmark::State& state) { run_conversion(state, zyn_utf8_decode, chat_utf8_text()); }
BENCHMARK(BM_Utf8Decode_Chat_zyn);

void BM_Utf8Encode_HighBytes_zyn(benchmark::State& state) { run_conversion(state, zyn_utf8_encode, high_latin1_text()); }
BENCHMARK(BM_Utf8Encode_HighBytes_zyn);

// The anchor: glibc's iconv between ISO-8859-1 and UTF-8 on the same texts.
void run_iconv(benchmark::State& state, const char* to, const char* from, const std::string& text)
{
    iconv_t cd = iconv_open(to, from);
    std::vector<char> out(2 * text.size());
    for (auto _ : state) {
        char* in = const_cast<char*>(text.data());
        size_t in_left = text.size();
        char* at = out.data();
        size_t out_left = out.size();
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(iconv(cd, &in, &in_left, &at, &out_left));
        benchmark::ClobberMemory();
    }
    iconv_close(cd);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_Utf8Encode_Chat_iconv(benchmark::State& state) { run_iconv(state, "UTF-8", "ISO-8859-1", chat_latin1_text()); }
BENCHMARK(BM_Utf8Encode_Chat_iconv);

void BM_Utf8Decode_Chat_iconv(benchmark::State& state) { run_iconv(state, "ISO-8859-1", "UTF-8", chat_utf8_text()); }
BENCHMARK(BM_Utf8Decode_Chat_iconv);

void BM_Utf8Encode_HighBytes_iconv(benchmark::State& state)
{
    run_iconv(state, "UTF-8", "ISO-8859-1", high_latin1_text());
}
BENCHMARK(BM_Utf8Encode_HighBytes_iconv);

void BM_NaturalSort100kNames(benchmark::State& state)
{
    std::mt19937 rng(4);
    const char* stems[] = {"save", "Save", "autosave", "quick", "slot", "chapter"};
    std::string text;
    for (int n = 0; n < 100000; ++n)
        text += std::string(stems[rng() % 6]) + std::to_string(rng() % 100000) + "_" + std::to_string(rng() % 100) +
                ".dat,";
    std::vector<char> output(text.size() + 2);
    for (auto _ : state) {
        output[0] = '\0';
        benchmark::DoNotOptimize(zyn_string_sort(text.c_str(), ",", output.data()));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 100000);
}
BENCHMARK(BM_NaturalSort100kNames)->Unit(benchmark::kMillisecond);

} // namespace
