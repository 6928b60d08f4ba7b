// Machine properties: real answers from the system, the value kinds, the
// narrow twin's bounds and the failures.
#include <zyn/zyn.h>

#include "support/wide.h"

#include "support/loaded_library.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#if defined(_WIN32)
#  include <objbase.h>
#  include <windows.h>
#endif

namespace {

class MachineProperty : public test::LoadedLibrary {};

zyn_wstring wide_query(const zyn_wchar* cls, const zyn_wchar* prop, int kind, int& result)
{
    zyn_wchar out[4096] = {ZW('#'), 0};
    result = zyn_wgetmachineproperty(cls, prop, kind, out);
    return out;
}

#if !defined(_WIN32)
std::string os_release_pretty_name()
{
    std::ifstream in("/etc/os-release");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("PRETTY_NAME=", 0) == 0) {
            std::string v = line.substr(12);
            if (v.size() >= 2 && v.front() == '"')
                v = v.substr(1, v.size() - 2);
            return v;
        }
    return {};
}
#endif

TEST_F(MachineProperty, AnswersTheCommonClasses)
{
    int result = 0;
    const zyn_wstring caption = wide_query(ZW("Win32_OperatingSystem"), ZW("Caption"), ZYN_PROPERTY_TEXT, result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(zyn_geterror(), 0);
    ASSERT_NE(caption, ZW("#"));
    EXPECT_FALSE(caption.empty());

    char narrow[256];
    ASSERT_EQ(zyn_getmachineproperty("Win32_OperatingSystem", "Caption", ZYN_PROPERTY_TEXT, narrow), 1);
    EXPECT_EQ(test::widen_ascii(narrow), caption); // captions are ASCII on the systems tested
#if !defined(_WIN32)
    if (!os_release_pretty_name().empty()) {
        EXPECT_EQ(std::string(narrow), os_release_pretty_name());
    }
#endif

    ASSERT_EQ(zyn_getmachineproperty("Win32_Processor", "Name", ZYN_PROPERTY_TEXT, narrow), 1);
    EXPECT_GT(std::string(narrow).size(), 0u);

    ASSERT_EQ(zyn_getmachineproperty("Win32_OperatingSystem", "Version", ZYN_PROPERTY_TEXT, narrow), 1);
    EXPECT_GT(std::string(narrow).size(), 0u);

    // Class and property names are matched without regard to case, as WMI does.
    ASSERT_EQ(zyn_getmachineproperty("WIN32_OPERATINGSYSTEM", "caption", ZYN_PROPERTY_TEXT, narrow), 1);
    EXPECT_EQ(test::widen_ascii(narrow), caption);
}

TEST_F(MachineProperty, ValueKindsShapeTheText)
{
    int result = 0;
    EXPECT_EQ(wide_query(ZW("Win32_OperatingSystem"), ZW("Primary"), ZYN_PROPERTY_BOOLEAN, result), ZW("true"));
    EXPECT_EQ(result, 1);
    // A truth value asked for as text adds nothing: it is not a string.
    EXPECT_EQ(wide_query(ZW("Win32_OperatingSystem"), ZW("Primary"), ZYN_PROPERTY_TEXT, result), ZW("#"));
    EXPECT_EQ(result, 1);
    const zyn_wstring domain = wide_query(ZW("Win32_ComputerSystem"), ZW("PartOfDomain"), ZYN_PROPERTY_BOOLEAN, result);
    EXPECT_EQ(result, 1);
#if defined(_WIN32)
    EXPECT_TRUE(domain == ZW("true") || domain == ZW("false") || domain == ZW("#")); // Wine lacks the property
#else
    EXPECT_EQ(domain, ZW("false"));
#endif

    // A kind other than 11 and 12 succeeds with nothing: the wide export leaves
    // the buffer alone, the narrow twin writes an empty text.
    for (int kind : {0, 5}) {
        EXPECT_EQ(wide_query(ZW("Win32_OperatingSystem"), ZW("Caption"), kind, result), ZW("#"));
        EXPECT_EQ(result, 1);
        char narrow[8] = "#";
        EXPECT_EQ(zyn_getmachineproperty("Win32_OperatingSystem", "Caption", kind, narrow), 1);
        EXPECT_STREQ(narrow, "");
        EXPECT_EQ(zyn_geterror(), 0);
    }

    // A property the class does not have adds nothing.
    EXPECT_EQ(wide_query(ZW("Win32_OperatingSystem"), ZW("NoSuchProperty"), ZYN_PROPERTY_TEXT, result), ZW("#"));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(wide_query(ZW("Win32_OperatingSystem"), ZW("NoSuchProperty"), ZYN_PROPERTY_BOOLEAN, result), ZW("#"));
    EXPECT_EQ(result, 1);
}

TEST_F(MachineProperty, RefusesUnknownAndOverlongClasses)
{
    char narrow[256] = "untouched";
    // WMI's answer for a class it does not know. (Wine's WMI reports no error
    // and no objects: then the narrow twin writes an empty text.)
    const std::string longest = "Win32_" + std::string(235, 'X'); // 241: still fits the query
    for (const std::string& unknown : {std::string("Win32_NoSuchClass"), longest}) {
        std::strcpy(narrow, "untouched");
        const int result = zyn_getmachineproperty(unknown.c_str(), "Name", ZYN_PROPERTY_TEXT, narrow);
#if defined(_WIN32)
        if (result == 1) {
            EXPECT_STREQ(narrow, "");
            EXPECT_EQ(zyn_geterror(), 0);
            continue;
        }
#endif
        EXPECT_EQ(result, 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
        EXPECT_EQ(uint32_t(zyn_get_extendederror()), 0x80041010u);
        EXPECT_STREQ(narrow, "untouched");
    }

    // 242 characters are refused rather than cut.
    std::strcpy(narrow, "untouched");
    const std::string too_long = longest + "Y";
    EXPECT_EQ(zyn_getmachineproperty(too_long.c_str(), "Name", ZYN_PROPERTY_TEXT, narrow), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(uint32_t(zyn_get_extendederror()), 0x80041010u);
    const zyn_wstring wide_too_long = test::widen_ascii(too_long);
    zyn_wchar out[8] = {ZW('#'), 0};
    EXPECT_EQ(zyn_wgetmachineproperty(wide_too_long.c_str(), ZW("Name"), ZYN_PROPERTY_TEXT, out), 0);
    EXPECT_EQ(out[0], ZW('#'));
    EXPECT_STREQ(narrow, "untouched");

    // Null names are no class and no property, never a crash.
    zyn_getmachineproperty(nullptr, nullptr, ZYN_PROPERTY_TEXT, narrow);
    EXPECT_EQ(zyn_getmachineproperty("Win32_OperatingSystem", nullptr, ZYN_PROPERTY_TEXT, narrow), 1);
    EXPECT_STREQ(narrow, "");
}

TEST_F(MachineProperty, NeedsTheLibraryLoaded)
{
    zyn_unload();
    char narrow[16] = "untouched";
    zyn_wchar wide[16] = {ZW('#'), 0};
    EXPECT_EQ(zyn_getmachineproperty("Win32_OperatingSystem", "Caption", ZYN_PROPERTY_TEXT, narrow), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_wgetmachineproperty(ZW("Win32_OperatingSystem"), ZW("Caption"), ZYN_PROPERTY_TEXT, wide), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_get_extendederror(), 0);
    EXPECT_STREQ(narrow, "untouched");
    EXPECT_EQ(wide[0], ZW('#'));
}

#if defined(_WIN32)
TEST_F(MachineProperty, LeavesTheThreadsComStateAsItFoundIt)
{
    // A thread already in the multi-threaded apartment cannot join a single-threaded one.
    std::thread([] {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        char narrow[256] = "untouched";
        EXPECT_EQ(zyn_getmachineproperty("Win32_OperatingSystem", "Caption", ZYN_PROPERTY_TEXT, narrow), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
        EXPECT_EQ(zyn_get_extendederror(), int32_t(RPC_E_CHANGED_MODE));
        EXPECT_STREQ(narrow, "untouched");
        CoUninitialize();
    }).join();

    // After a call the thread is uninitialised again: it may still choose the MTA.
    char narrow[256];
    ASSERT_EQ(zyn_getmachineproperty("Win32_OperatingSystem", "Caption", ZYN_PROPERTY_TEXT, narrow), 1);
    EXPECT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    CoUninitialize();
}
#endif

} // namespace
