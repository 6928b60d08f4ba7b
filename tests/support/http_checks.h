// Checks shared by the HTTP tests of every platform.
#pragma once

#include <zyn/zyn.h>

#include <gtest/gtest.h>

namespace test {

inline void expect_last_error(int code, int extended = 0)
{
    EXPECT_EQ(zyn_geterror(), code);
    EXPECT_EQ(zyn_get_extendederror(), extended);
}

// Every export that takes a request id refuses `id` with `code` and a neutral
// result, before it looks at any other argument, and writes nothing.
inline void expect_id_refused(uint32_t id, int code)
{
    char buffer[4] = {'q', 'q', 'q', 'q'};
    EXPECT_EQ(zyn_http_destroy(id), 0);
    expect_last_error(code);
    EXPECT_EQ(zyn_http_setopt_long(id, 52 /* CURLOPT_FOLLOWLOCATION */, 1), 0);
    expect_last_error(code);
    EXPECT_EQ(zyn_http_setopt_string(id, 10018 /* CURLOPT_USERAGENT */, "x"), 0);
    expect_last_error(code);
    EXPECT_EQ(zyn_http_add_header(id, "A: b"), 0);
    expect_last_error(code);
    EXPECT_EQ(zyn_http_request(id), 0);
    expect_last_error(code);
    EXPECT_EQ(zyn_http_get_buffersize(id), 0u);
    expect_last_error(code);
    EXPECT_EQ(zyn_http_get_bufferdata(id, buffer, sizeof buffer), 0u);
    expect_last_error(code);
    EXPECT_EQ(zyn_http_getinfo(id, 0), 0); // an unknown item, tested after the id
    expect_last_error(code);
    EXPECT_EQ(std::string(buffer, 4), "qqqq");
}

} // namespace test
