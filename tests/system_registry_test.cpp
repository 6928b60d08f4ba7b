// Registry reads: root-key codes, value types and missing values. Under Wine
// the test makes its own key under HKEY_CURRENT_USER and removes it after.
#include <zyn/zyn.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#if defined(_WIN32)
#  include <windows.h>
#endif

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        zyn_unload();
        ASSERT_EQ(zyn_init(""), 1);
#if defined(_WIN32)
        subkey_ = "Software\\zyn-registry-test-" + std::to_string(GetCurrentProcessId());
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD number = 0xDEADBEEF;
        RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        const char text[] = "hello registry";
        RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("default"), 8);
        RegCloseKey(key);
#endif
    }
    void TearDown() override
    {
#if defined(_WIN32)
        RegDeleteTreeA(HKEY_CURRENT_USER, subkey_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, subkey_.c_str());
#endif
        zyn_unload();
    }
    std::string subkey_ = "Software\\zyn-registry-test";
};

TEST_F(Registry, RootKeyCodes)
{
    uint32_t value = 7;
    char text[32] = "untouched";
    // The predefined key's own value, and other numbers, are not codes.
    for (uint32_t code : {0x80000001u, 0u, 80000006u, 80000051u}) {
        EXPECT_EQ(zyn_reg_getdword(code, subkey_.c_str(), "Number", &value), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
        EXPECT_EQ(zyn_get_extendederror(), 0);
        EXPECT_EQ(zyn_reg_getstring(code, subkey_.c_str(), "Text", text), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_OPERATION_FAILED);
    }
    EXPECT_EQ(value, 7u);
    EXPECT_STREQ(text, "untouched");

    // A missing output is refused before the registry is touched.
    EXPECT_EQ(zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), "Number", nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), "Text", nullptr), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_INVALID_ARGUMENT);
}

TEST_F(Registry, ReadsValuesOfTheirOwnType)
{
    uint32_t value = 7;
    char text[64] = "untouched";
#if defined(_WIN32)
    ASSERT_EQ(zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), "Number", &value), 1);
    EXPECT_EQ(zyn_geterror(), 0);
    EXPECT_EQ(value, 0xDEADBEEFu);
    ASSERT_EQ(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), "Text", text), 1);
    EXPECT_STREQ(text, "hello registry");
    ASSERT_EQ(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), nullptr, text), 1);
    EXPECT_STREQ(text, "default"); // a null name reads the key's default value

    // The wrong type and a missing value carry the registry's own status.
    value = 7;
    std::strcpy(text, "untouched");
    EXPECT_EQ(zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), "Text", &value), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), int32_t(ERROR_UNSUPPORTED_TYPE));
    EXPECT_EQ(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), "Number", text), 0);
    EXPECT_EQ(zyn_get_extendederror(), int32_t(ERROR_UNSUPPORTED_TYPE));
    EXPECT_EQ(zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), "Missing", &value), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), int32_t(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, (subkey_ + "\\Missing").c_str(), "Text", text), 0);
    EXPECT_EQ(zyn_get_extendederror(), int32_t(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(value, 7u);
    EXPECT_STREQ(text, "untouched");
#else
    // No registry: every known root answers "not found".
    for (uint32_t code : {ZYN_HKEY_CLASSES_ROOT, ZYN_HKEY_CURRENT_USER, ZYN_HKEY_LOCAL_MACHINE, ZYN_HKEY_USERS,
                          ZYN_HKEY_PERFORMANCE_DATA, ZYN_HKEY_CURRENT_CONFIG, ZYN_HKEY_PERFORMANCE_TEXT,
                          ZYN_HKEY_PERFORMANCE_NLSTEXT}) {
        EXPECT_EQ(zyn_reg_getdword(code, subkey_.c_str(), "Number", &value), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
        EXPECT_EQ(zyn_get_extendederror(), 2);
        EXPECT_EQ(zyn_reg_getstring(code, nullptr, nullptr, text), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
        EXPECT_EQ(zyn_get_extendederror(), 2);
    }
    EXPECT_EQ(value, 7u);
    EXPECT_STREQ(text, "untouched");
#endif
}

TEST_F(Registry, NeedsTheLibraryLoaded)
{
    zyn_unload();
    uint32_t value = 7;
    char text[16] = "untouched";
    EXPECT_EQ(zyn_reg_getdword(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), "Number", &value), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_reg_getstring(ZYN_HKEY_CURRENT_USER, subkey_.c_str(), "Text", text), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(value, 7u);
    EXPECT_STREQ(text, "untouched");
}

} // namespace
