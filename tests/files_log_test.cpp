// The log on real files: the default file, opening, closing, bytes of narrow
// and wide text, and formatted lines. The log has no frame and works unloaded.
#include "support/files_support.h"
#include "support/temp_dir.h"
#include "support/wide.h"

#include <filesystem>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using test::file_bytes;

namespace {

// The lines as the file holds them.
std::string lines(std::initializer_list<std::string> items)
{
    std::string out;
    for (const std::string& item : items)
        out += item + test::kEol;
    return out;
}

struct Log : ::testing::Test {
    void SetUp() override { log_close(), zyn_unload(), fs::current_path(dir.path()); }
    void TearDown() override { log_close(), fs::current_path(previous); } // before the directory goes
    std::string default_file() const { return file_bytes(dir.join("default logfile.txt")); }
    const fs::path previous = fs::current_path();
    test::TempDir dir;
};

TEST_F(Log, LinesWithoutAnOpenLogGoToTheDefaultFileInTheCurrentDirectory)
{
    zyn_seterror(7, -3);
    wlog_fwrite(ZW("n=%d"), 5);
    EXPECT_EQ(default_file(), lines({"n=5"})); // flushed at once, before zyn_init
    log_close();
    log_close(); // closing twice is silent
    log_fwrite("m=%d", 6); // after a close the default file starts over
    wlog_write(ZW("w"));
    EXPECT_EQ(default_file(), lines({"m=6", "w"}));
    log_close();
    log_open(dir.join("nodir/game.log")); // cannot be opened: the next line goes to the default file
    log_write("fallback");
    EXPECT_EQ(default_file(), lines({"fallback"}));
#if !defined(_WIN32)
    ASSERT_EQ(mkfifo(dir.join("pipe").c_str(), 0600), 0); // a pipe as the log never blocks
    for (int wide = 0; wide < 2; ++wide) {
        log_close();
        wide ? wlog_open(test::wide_path(dir.join("pipe"))) : log_open(dir.join("pipe"));
        log_write("pipe");
        EXPECT_EQ(default_file(), lines({"pipe"}));
    }
#endif
    EXPECT_TRUE(zyn_geterror() == 7 && zyn_get_extendederror() == -3 && !fs::exists(dir.join("nodir")));
}

TEST_F(Log, TheFirstOpenedFileStaysInUseAndEachOpenEmptiesItsFile)
{
    const std::string a = dir.join("a.log"), b = dir.join("b.log");
    log_open(a);
    log_open(b);
    log_write("x");
    EXPECT_TRUE(file_bytes(a) == lines({"x"}) && !fs::exists(b));
    log_close();
    log_open(a);
    EXPECT_EQ(file_bytes(a), "");
    log_write("fresh");
    log_close();
    wlog_open(test::wide_path(b));
    wlog_open(test::wide_path(a));
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
    EXPECT_EQ(file_bytes(path), lines({"caf\xc3\xa9 \xe6\x96\x87", std::string("nul\0in", 6), "caf\xe9 a?b?c", "pair ? end?",
                                       "42-narrow-003.1-ff", std::string(2047, 'n'), std::string(2047, 'm'),
                                       "-7 wide\xe9 narrow l|c   |   xy|%", "-9000000000 4000000000 12 1.234e+03    7", "",
                                       std::string(2047, 'v'), "", "", "", "", "", "", "end"}));
}

} // namespace
