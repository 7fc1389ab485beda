// Typed registry readers take a value only with the expected type and size.
#include <gtest/gtest.h>

#include "registry_values.h"
#include "test_support.h"

namespace {

const char kKey[] = "Software\\Korvane\\Drevalon\\Tests\\RegistryValues";

class RegistryValues : public ::testing::Test {
protected:
    void SetUp() override { RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr); }
    void TearDown() override { RegCloseKey(key); }
    testing_support::RegistryKeyReset reset{kKey};
    HKEY key = nullptr;
};

TEST_F(RegistryValues, DwordNeedsTypeAndSize)
{
    RegWriteDword(key, "d", 42);
    DWORD value = 7;
    EXPECT_TRUE(RegReadDword(key, "d", &value));
    EXPECT_EQ(value, 42u);

    const unsigned long long wide = 5;
    RegWriteExact(key, "wide", REG_BINARY, &wide, sizeof wide);
    RegWriteString(key, "text", "42");
    value = 7;
    EXPECT_FALSE(RegReadDword(key, "wide", &value));
    EXPECT_FALSE(RegReadDword(key, "text", &value));
    EXPECT_FALSE(RegReadDword(key, "missing", &value));
    EXPECT_EQ(value, 7u);
}

TEST_F(RegistryValues, ExactSizeBinary)
{
    const double stored = 2.5;
    RegWriteExact(key, "b", REG_BINARY, &stored, sizeof stored);
    double value = 0;
    EXPECT_TRUE(RegReadExact(key, "b", REG_BINARY, &value, sizeof value));
    EXPECT_EQ(value, 2.5);
    float narrow = 0;
    EXPECT_FALSE(RegReadExact(key, "b", REG_BINARY, &narrow, sizeof narrow));
    EXPECT_FALSE(RegReadExact(key, "b", REG_DWORD, &value, sizeof value));
}

TEST_F(RegistryValues, StringIsTerminatedOrRefused)
{
    RegWriteString(key, "s", "12.5");
    char text[8] = "xxxxxxx";
    EXPECT_TRUE(RegReadString(key, "s", text, sizeof text));
    EXPECT_STREQ(text, "12.5");

    // Stored without its terminator: still read as a terminated text.
    RegSetValueExA(key, "raw", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    EXPECT_TRUE(RegReadString(key, "raw", text, sizeof text));
    EXPECT_STREQ(text, "abc");

    RegWriteString(key, "long", "0123456789");
    strcpy(text, "keep");
    EXPECT_FALSE(RegReadString(key, "long", text, sizeof text));
    EXPECT_STREQ(text, "keep");
    RegWriteDword(key, "n", 1);
    EXPECT_FALSE(RegReadString(key, "n", text, sizeof text));
}

} // namespace
