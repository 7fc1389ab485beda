// Ini value forms and their readers against real files.
#include <gtest/gtest.h>

#include "ini_file.h"
#include "test_support.h"

#include <string>

using testing_support::TempFolder;

namespace {

class IniFile : public ::testing::Test {
protected:
    void Store(const char* key, const char* text)
    {
        WritePrivateProfileStringA("S", key, text, path.c_str());
    }
    std::string Raw(const char* key)
    {
        char text[128] = "";
        GetPrivateProfileStringA("S", key, "", text, sizeof text, path.c_str());
        return text;
    }
    TempFolder folder;
    std::string path = folder.File("test.ini");
};

TEST_F(IniFile, BoolReadsFirstCharacter)
{
    const char* trueTexts[] = {"Yes", "true", "1", "-1", "-0", "T"};
    for (const char* text : trueTexts) {
        Store("k", text);
        EXPECT_TRUE(ReadIniBool("S", "k", false, path.c_str())) << text;
    }
    const char* falseTexts[] = {"0", "no", "off", "\" true\""};
    for (const char* text : falseTexts) {
        Store("k", text);
        EXPECT_FALSE(ReadIniBool("S", "k", true, path.c_str())) << text;
    }
}

TEST_F(IniFile, EmptyOrMissingGivesDefault)
{
    Store("empty", "");
    EXPECT_TRUE(ReadIniBool("S", "empty", true, path.c_str()));
    EXPECT_TRUE(ReadIniBool("S", "missing", true, path.c_str()));
    EXPECT_EQ(ReadIniDouble("S", "missing", 2.5, path.c_str()), 2.5);
    EXPECT_EQ(ReadIniInt("S", "missing", -7, path.c_str()), -7);
    EXPECT_EQ(ReadIniColor("S", "missing", RGB(1, 2, 3), path.c_str()), RGB(1, 2, 3));
}

TEST_F(IniFile, WritersRoundTripThroughReaders)
{
    EXPECT_EQ(WriteIniBool("S", "b", true, path.c_str()), 1);
    EXPECT_EQ(Raw("b"), "true");
    EXPECT_TRUE(ReadIniBool("S", "b", false, path.c_str()));
    WriteIniBool("S", "b", false, path.c_str());
    EXPECT_EQ(Raw("b"), "false");

    EXPECT_EQ(WriteIniDouble("S", "d", 5.0, path.c_str()), 1);
    EXPECT_EQ(ReadIniDouble("S", "d", 0.0, path.c_str()), 5.0);
    WriteIniDouble("S", "d", 0.1234567890123456, path.c_str());
    EXPECT_DOUBLE_EQ(ReadIniDouble("S", "d", 0.0, path.c_str()), 0.123456789012346);

    WriteIniInt("S", "i", -42, path.c_str());
    EXPECT_EQ(Raw("i"), "-42");
    EXPECT_EQ(ReadIniInt("S", "i", 0, path.c_str()), -42);
}

TEST_F(IniFile, ColorIsWrittenAsDecimalComponents)
{
    WriteIniColor("S", "c", RGB(10, 20, 30), path.c_str());
    EXPECT_EQ(Raw("c"), "10,20,30");
    EXPECT_EQ(ReadIniColor("S", "c", 0, path.c_str()), RGB(10, 20, 30));
    Store("c", "10, 20");
    EXPECT_EQ(ReadIniColor("S", "c", RGB(9, 9, 9), path.c_str()), RGB(9, 9, 9));
    Store("c", "266,-1,30");
    EXPECT_EQ(ReadIniColor("S", "c", 0, path.c_str()), RGB(10, 255, 30));
}

TEST_F(IniFile, PointNeedsParentheses)
{
    POINT def = {7, 8};
    POINT out = {};
    Store("p", "(3, 4)");
    EXPECT_EQ(ReadIniPoint("S", "p", &def, &out, path.c_str()), 1);
    EXPECT_EQ(out.x, 3);
    EXPECT_EQ(out.y, 4);
    Store("p", "(3,4)");
    out = {};
    EXPECT_EQ(ReadIniPoint("S", "p", &def, &out, path.c_str()), 1);
    EXPECT_EQ(out.y, 4);
    Store("p", "3, 4");
    EXPECT_EQ(ReadIniPoint("S", "p", &def, &out, path.c_str()), 0);
    EXPECT_EQ(out.x, 7);
    EXPECT_EQ(out.y, 8);

    WriteIniPoint("S", "p", POINT{-5, 6}, path.c_str());
    EXPECT_EQ(Raw("p"), "(-5,6)");
    EXPECT_EQ(ReadIniPoint("S", "p", nullptr, &out, path.c_str()), 1);
    EXPECT_EQ(out.x, -5);
}

TEST_F(IniFile, RectRoundTripsAndNeedsFourNumbers)
{
    RECT r = {1, 2, 30, 40};
    WriteIniRect("S", "r", r, path.c_str());
    EXPECT_EQ(Raw("r"), "(1,2,30,40)");
    RECT out = {};
    EXPECT_EQ(ReadIniRect("S", "r", nullptr, &out, path.c_str()), 1);
    EXPECT_TRUE(EqualRect(&out, &r));
    Store("r", "(1, 2, 3)");
    RECT def = {9, 9, 9, 9};
    EXPECT_EQ(ReadIniRect("S", "r", &def, &out, path.c_str()), 0);
    EXPECT_TRUE(EqualRect(&out, &def));
}

} // namespace
