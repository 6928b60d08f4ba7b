// The log on real files: the default file, opening, closing, narrow and wide text; it works unloaded.
#include "support/files_support.h"

using test::file_bytes;
using test::lines;

namespace {

struct Log : ::testing::Test {
    void SetUp() override { log_close(), zyn_unload(), fs::current_path(dir.path()); }
    void TearDown() override { log_close(), fs::current_path(previous); } // before the directory goes
    const fs::path previous = fs::current_path();
    test::TempDir dir;
};

TEST_F(Log, WithoutAnOpenLogLinesGoToTheDefaultFileAndTheFirstOpenedFileStaysInUse)
{
    const std::string fallback = dir.join("default logfile.txt"), a = dir.join("a.log"), b = dir.join("b.log");
    zyn_seterror(7, -3);
    wlog_fwrite(ZW("n=%d"), 5);
    EXPECT_EQ(file_bytes(fallback), lines({"n=5"})); // flushed at once, before zyn_init
    log_close();
    log_close(); // closing twice is silent
    log_fwrite("m=%d", 6); // after a close the default file starts over
    wlog_write(ZW("w"));
    EXPECT_EQ(file_bytes(fallback), lines({"m=6", "w"}));
    std::vector<std::string> unopened = {dir.join("nodir/game.log")}; // the next line goes to the default file
#if !defined(_WIN32)
    ASSERT_EQ(mkfifo(dir.join("pipe").c_str(), 0600), 0); // a pipe as the log never blocks
    unopened.push_back(dir.join("pipe"));
#endif
    for (const std::string& path : unopened) {
        log_close();
        log_open(path);
        log_write(path);
        EXPECT_EQ(file_bytes(fallback), lines({path}));
    }
    EXPECT_TRUE(zyn_geterror() == 7 && zyn_get_extendederror() == -3 && !fs::exists(dir.join("nodir")));
    log_close();
    log_open(a);
    log_open(b); // the first opened file stays in use
    log_write("x");
    EXPECT_TRUE(file_bytes(a) == lines({"x"}) && !fs::exists(b));
    log_close();
    log_open(a); // each open empties its file
    EXPECT_EQ(file_bytes(a), "");
    log_write("fresh");
    log_close();
    wlog_open(test::wide_path(b));
    log_open(a);
    wlog_write(ZW("wide name"));
    ASSERT_EQ(zyn_init(""), 1); // the log keeps its file across init and unload
    zyn_unload();
    log_write("still here");
    EXPECT_TRUE(file_bytes(b) == lines({"wide name", "still here"}) && file_bytes(a) == lines({"fresh"}));
}

TEST_F(Log, BytesPassUnchangedWideCharactersAbove255BecomeMarksAndLongLinesAreCutOrEmptied)
{
    const std::string path = dir.join("lines.log");
    wlog_open(test::wide_path(path));
    log_write("caf\xc3\xa9 \xe6\x96\x87"); // UTF-8 passes byte for byte
    log_write(std::string("nul\0in", 6));
    wlog_write(ZW("caf\u00e9 a\u0100b\u6587c")); // U+00E9 is the byte 233; no byte holds the others
    wlog_write(ZW("pair \U0001F600 end") + zyn_wstring(1, zyn_wchar(0xD800))); // a pair is one mark, a lone half too
    log_fwrite("%d-%s-%05.1f-%x", 42, "narrow", 3.14159, 255u);
    log_fwrite("%s", std::string(3000, 'n').c_str());
    log_fwrite("%s", std::string(2047, 'm').c_str());
    wlog_fwrite(ZW("%d %s %hs %ls|%-4c|%5.2s|%%"), -7, ZW("wide\u00e9"), "narrow", ZW("l"), ZW('c'), ZW("xyz"));
    wlog_fwrite(ZW("%lld %u %zu %.3e %*d"), -9000000000LL, 4000000000u, size_t(12), 1234.5, 4, 7);
    wlog_fwrite(ZW("%s"), zyn_wstring(3000, ZW('w')).c_str());
    wlog_fwrite(ZW("%s"), zyn_wstring(2047, ZW('v')).c_str());
    wlog_fwrite(ZW("%s"), zyn_wstring(2048, ZW('v')).c_str());
    wlog_fwrite(ZW("%n"), nullptr); // never writes through an argument
    wlog_fwrite(ZW("%.*f|%.*s"), 2000000000, 1.5, 2000000000, ZW("p")); // a huge precision is no huge line
    wlog_fwrite(nullptr);
#if !defined(_WIN32)
    log_fwrite("a%lsb", L"\u00e9"); // no narrow form in the classic locale
#else
    log_fwrite(nullptr);
#endif
    log_fwrite(nullptr);
    wlog_fwrite(ZW("end"));
    EXPECT_EQ(file_bytes(path), lines({"caf\xc3\xa9 \xe6\x96\x87", std::string("nul\0in", 6), "caf\xe9 a?b?c",
        "pair ? end?", "42-narrow-003.1-ff", std::string(2047, 'n'), std::string(2047, 'm'),
        "-7 wide\xe9 narrow l|c   |   xy|%", "-9000000000 4000000000 12 1.234e+03    7", "", std::string(2047, 'v'),
        "", "", "", "", "", "", "end"}));
}

} // namespace
