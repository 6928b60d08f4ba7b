// Windows: a game folder that holds zyn.dll but no libcurl (the program runs
// from such a folder: support/run_without_libcurl.sh). zyn.dll still loads and
// every family but HTTP works; the HTTP layer fails to initialise with error
// 2, extended error 2 (CURLE_FAILED_INIT), as often as it is asked.
#include "support/http_fixture.h"

#include <windows.h>

namespace {

using test::gives;

class HttpWithoutLibcurl : public test::LoadedLibrary {};

TEST_F(HttpWithoutLibcurl, InitialisationFailsAndNothingElse)
{
    for (const wchar_t* name : {L"libcurl-x64.dll", L"libcurl.dll"})
        ASSERT_EQ(LoadLibraryW(name), nullptr) << "this folder must not see a libcurl DLL";
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_TRUE(gives(zyn_http_init(), 0, ZYN_ERR_CALL_FAILED, 2));
        EXPECT_EQ(zyn_http_isloaded(), 0);
    }
    // The one-shot transfers try to load the layer and leave its error, the
    // body untouched; a header line with a line end is refused first.
    std::string body = "abc";
    EXPECT_TRUE(gives(zyn_http_url_get("http://127.0.0.1:9/", body), 0, ZYN_ERR_CALL_FAILED, 2));
    EXPECT_TRUE(gives(zyn_http_url_post("http://127.0.0.1:9/", "data", {"X-A: b"}, body), 0, ZYN_ERR_CALL_FAILED, 2));
    EXPECT_TRUE(gives(zyn_http_url_post("http://127.0.0.1:9/", "data", {"X-A: b\nX-B: c"}, body), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_EQ(body, "abc");
    EXPECT_EQ(zyn_http_isloaded(), 0);
    // Everything else sees a layer that is simply not loaded.
    EXPECT_TRUE(gives(zyn_http_create("http://127.0.0.1:9/"), 0, ZYN_ERR_HTTP_NOT_LOADED));
    EXPECT_TRUE(gives(zyn_http_unload(), 1));
    // The rest of the library works as ever.
    TimerRecord timer{};
    EXPECT_EQ(zyn_timer_restart(&timer) + zyn_wait(1), 2);
    EXPECT_EQ(zyn_string_base64_encode("zyn"), "enlu");
    EXPECT_EQ(zyn_unload(), 1);
    EXPECT_EQ(zyn_init(""), 1);
    EXPECT_TRUE(gives(zyn_http_init(), 0, ZYN_ERR_CALL_FAILED, 2));
}

} // namespace
