// The log on real files: the default file, opening, closing, bytes of narrow
// and wide text, and formatted lines. The log has no frame and works unloaded.
#include "support/files_support.h"
#include "support/temp_dir.h"
#include "support/wide.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using test::file_bytes;

namespace {

#if defined(_WIN32)
const std::string kEol = "\r\n";
#else
const std::string kEol = "\n";
#endif

const char kDefaultName[] = "default logfile.txt";

class Log : public ::testing::Test {
protected:
    void SetUp() override
    {
        log_close();
        zyn_unload();
    }
    void TearDown() override { log_close(); } // before the directory goes

    test::TempDir dir;
};

TEST_F(Log, LinesWithoutAnOpenLogGoToTheDefaultFileInTheCurrentDirectory)
{
    test::CurrentDirectory here(dir.path());
    zyn_seterror(7, -3);
    log_write("hello");
    EXPECT_EQ(file_bytes(dir.join(kDefaultName)), "hello" + kEol); // flushed at once, before zyn_init
    log_write("second");
    EXPECT_EQ(file_bytes(dir.join(kDefaultName)), "hello" + kEol + "second" + kEol);
    EXPECT_EQ(zyn_geterror(), 7);
    EXPECT_EQ(zyn_get_extendederror(), -3);

    // After a close, the default file starts over.
    log_close();
    log_close(); // closing twice is silent
    log_write("x");
    EXPECT_EQ(file_bytes(dir.join(kDefaultName)), "x" + kEol);

    // A named file that cannot be opened sends the next line to the default file.
    log_close();
    log_open(dir.join("nodir/game.log"));
    log_write("fallback");
    EXPECT_EQ(file_bytes(dir.join(kDefaultName)), "fallback" + kEol);
    EXPECT_FALSE(fs::exists(dir.join("nodir")));
    log_close();
    EXPECT_EQ(zyn_geterror(), 7);
}

TEST_F(Log, TheFirstOpenedFileStaysInUseAndEachOpenEmptiesItsFile)
{
    const std::string a = dir.join("a.log"), b = dir.join("b.log");
    log_open(a);
    log_open(b);
    log_write("x");
    EXPECT_EQ(file_bytes(a), "x" + kEol);
    EXPECT_FALSE(fs::exists(b));

    log_close();
    log_open(a);
    EXPECT_EQ(file_bytes(a), "");
    log_write("fresh");
    log_close();
    wlog_open(test::wide_path(b));
    wlog_write(ZW("wide name"));
    EXPECT_EQ(file_bytes(b), "wide name" + kEol);
    EXPECT_EQ(file_bytes(a), "fresh" + kEol);

    // The log keeps its file across unload and init of the library.
    ASSERT_EQ(zyn_init(""), 1);
    zyn_unload();
    log_write("still here");
    EXPECT_EQ(file_bytes(b), "wide name" + kEol + "still here" + kEol);
}

TEST_F(Log, BytesReachTheFileUnchangedAndWideCharactersAbove255BecomeQuestionMarks)
{
    const std::string path = dir.join("bytes.log");
    log_open(path);
    log_write("caf\xc3\xa9 \xe6\x96\x87"); // UTF-8 passes byte for byte
    wlog_write(ZW("caf\u00e9"));           // U+00E9 is the single byte 233
    wlog_write(ZW("a\u0100b\u6587c"));     // no byte holds these
    wlog_write(ZW("pair \U0001F600 end")); // one character, one mark
    wlog_write(ZW("after"));               // and the log goes on
    log_write(std::string("nul\0in", 6));
    EXPECT_EQ(file_bytes(path), "caf\xc3\xa9 \xe6\x96\x87" + kEol + "caf\xe9" + kEol + "a?b?c" + kEol + "pair ? end" +
                                    kEol + "after" + kEol + std::string("nul\0in", 6) + kEol);
}

TEST_F(Log, FormattedLinesAreCutOrEmptiedAtTheBufferSize)
{
    const std::string path = dir.join("format.log");
    wlog_open(test::wide_path(path));
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
    wlog_fwrite(ZW("end"));

    const std::string expected = "42-narrow-003.1-ff" + kEol + std::string(2047, 'n') + kEol +
                                 std::string(2047, 'm') + kEol + "-7 wide\xe9 narrow l|c   |   xy|%" + kEol +
                                 "-9000000000 4000000000 12 1.234e+03    7" + kEol + kEol + std::string(2047, 'v') +
                                 kEol + kEol + kEol + kEol + "end" + kEol;
    EXPECT_EQ(file_bytes(path), expected);
}

#if !defined(_WIN32)
TEST_F(Log, ANarrowLineThatCannotBeFormattedIsWrittenEmpty)
{
    const std::string path = dir.join("encoding.log");
    log_open(path);
    log_fwrite("a%lsb", L"\u00e9"); // no narrow form in the classic locale
    log_fwrite(nullptr);
    log_write("next");
    EXPECT_EQ(file_bytes(path), kEol + kEol + "next" + kEol);
}
#endif

#if !defined(_WIN32)
TEST_F(Log, APipeGivenAsTheLogNeverBlocksAndTheLinesGoToTheDefaultFile)
{
    test::CurrentDirectory here(dir.path());
    ASSERT_EQ(mkfifo(dir.join("pipe").c_str(), 0600), 0);
    log_open(dir.join("pipe"));
    log_write("narrow");
    EXPECT_EQ(file_bytes(dir.join(kDefaultName)), "narrow" + kEol);
    log_close();
    wlog_open(test::wide_path(dir.join("pipe")));
    wlog_write(ZW("wide"));
    EXPECT_EQ(file_bytes(dir.join(kDefaultName)), "wide" + kEol);
    log_close();
}
#endif

TEST_F(Log, FormattedWideLinesOpenTheDefaultFile)
{
    test::CurrentDirectory here(dir.path());
    wlog_fwrite(ZW("n=%d"), 5);
    EXPECT_EQ(file_bytes(dir.join(kDefaultName)), "n=5" + kEol);
    log_fwrite("m=%d", 6);
    EXPECT_EQ(file_bytes(dir.join(kDefaultName)), "n=5" + kEol + "m=6" + kEol);
    log_close();
}

} // namespace
