// Registry readers take a value of the expected size, whatever its type.
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

TEST_F(RegistryValues, DwordNeedsItsSizeWhateverItsType)
{
    RegWriteDword(key, "d", 42);
    DWORD value = 7;
    EXPECT_TRUE(RegReadDword(key, "d", &value));
    EXPECT_EQ(value, 42u);
    const DWORD binary = 43;
    RegWriteExact(key, "binary", REG_BINARY, &binary, sizeof binary);
    EXPECT_TRUE(RegReadDword(key, "binary", &value));
    EXPECT_EQ(value, 43u);

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
    EXPECT_TRUE(RegReadExact(key, "b", &value, sizeof value));
    EXPECT_EQ(value, 2.5);
    float narrow = 0;
    EXPECT_FALSE(RegReadExact(key, "b", &narrow, sizeof narrow));
    EXPECT_EQ(narrow, 0.0f);

    const double other = -1.5;
    RegWriteExact(key, "q", REG_QWORD, &other, sizeof other);
    EXPECT_TRUE(RegReadExact(key, "q", &value, sizeof value));
    EXPECT_EQ(value, -1.5);
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
    // Another type is read by its bytes, and terminated all the same.
    RegSetValueExA(key, "bin", 0, REG_BINARY, reinterpret_cast<const BYTE*>("xyz"), 3);
    EXPECT_TRUE(RegReadString(key, "bin", text, sizeof text));
    EXPECT_STREQ(text, "xyz");
    RegWriteDword(key, "n", 0x41);
    EXPECT_TRUE(RegReadString(key, "n", text, sizeof text));
    EXPECT_STREQ(text, "A");
}

} // namespace
