// Windows, a game folder with zyn.dll but no libcurl (support/run_without_libcurl.sh): all but HTTP works;
// the HTTP layer fails to initialise with error 2, extended error 2 (CURLE_FAILED_INIT), as often as asked.
#include "support/library.h"

#include <windows.h>

namespace {

using test::gives;
const std::string kNowhere = "http://127.0.0.1:9/";

class HttpWithoutLibcurl : public test::LoadedLibrary {};

TEST_F(HttpWithoutLibcurl, InitialisationFailsAndNothingElse)
{
    for (const wchar_t* name : {L"libcurl-x64.dll", L"libcurl.dll"})
        ASSERT_EQ(LoadLibraryW(name), nullptr) << "this folder must not see a libcurl DLL";
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_TRUE(gives(zyn_http_init() + zyn_http_isloaded(), 0, ZYN_ERR_CALL_FAILED, 2));
    // The one-shot transfers try to load the layer and leave its error; a line end in a header line is refused first.
    std::string body = "abc";
    EXPECT_TRUE(gives(zyn_http_url_get(kNowhere, body), 0, ZYN_ERR_CALL_FAILED, 2));
    EXPECT_TRUE(gives(zyn_http_url_post(kNowhere, "data", {"X-A: b"}, body), 0, ZYN_ERR_CALL_FAILED, 2));
    EXPECT_TRUE(gives(zyn_http_url_post(kNowhere, "d", {"X-A: b\nX-B: c"}, body), 0, ZYN_ERR_INVALID_ARGUMENT));
    EXPECT_EQ(body + std::to_string(zyn_http_isloaded()), "abc0");
    // Everything else sees a layer that is simply not loaded; the rest of the library works as ever.
    EXPECT_TRUE(gives(zyn_http_create(kNowhere.c_str()), 0, ZYN_ERR_HTTP_NOT_LOADED) && gives(zyn_http_unload(), 1));
    TimerRecord timer{};
    EXPECT_TRUE(zyn_timer_restart(&timer) + zyn_wait(1) == 2 && zyn_string_base64_encode("zyn") == "enlu");
    EXPECT_TRUE(zyn_unload() + zyn_init("") == 2 && gives(zyn_http_init(), 0, ZYN_ERR_CALL_FAILED, 2));
}

} // namespace
