// Save and restore of plot settings in the registry.
#include <gtest/gtest.h>

#include "plot_fixture.h"
#include "test_support.h"

namespace {

const char kTestKey[] = "Software\\Korvane\\Drevalon\\VistrelTest";

LRESULT Get(HWND plot, UINT message, WPARAM wParam = 0)
{
    return SendMessageA(plot, message, wParam, 0);
}

struct TestKey {
    testing_support::RegistryKeyReset reset{kTestKey};
    HKEY key = nullptr;
    TestKey() { RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr); }
    ~TestKey() { RegCloseKey(key); }
};

TEST(PlotSettings, SaveThenRestoreCarriesColoursStylesAndFlagsOnly)
{
    TestKey test;
    HWND source = MakePlot(), target = MakePlot();
    SendMessageA(source, PLM_SETFLAGS, 0, PLF_NOZEROLINE);
    SendMessageA(source, PLM_SETCOLORSTYLE, 0, static_cast<LPARAM>(-1));
    SendMessageA(source, PLM_SETMARGINCOLOR, 0, 0x00070809);
    for (int n = 0; n < 8; ++n) {
        SendMessageA(source, PLM_SETLINECOLOR, n, 0x00100000 + n);
        SendMessageA(source, PLM_SETLINESTYLE, n, n % 5);
    }
    SendMessageA(source, PLM_SETXDIVISIONS, 0, 4);
    ASSERT_TRUE(LumoSaveSettings(source, test.key, "Plot0"));

    HKEY plotKey = nullptr;
    ASSERT_EQ(RegOpenKeyExA(test.key, "Plot0", 0, KEY_READ, &plotKey), ERROR_SUCCESS);
    DWORD values = 0, type = 0, data = 0, size = sizeof data;
    RegQueryInfoKeyA(plotKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(values, 22u);
    RegQueryValueExA(plotKey, "Line7Style", nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, 2u);
    RegCloseKey(plotKey);

    ASSERT_TRUE(LumoRestoreSettings(target, test.key, "Plot0"));
    for (UINT message : {PLM_GETFLAGS, PLM_GETCOLORSTYLE, PLM_GETBACKCOLOR, PLM_GETGRIDCOLOR,
                         PLM_GETMARGINCOLOR, PLM_GETTEXTCOLOR})
        EXPECT_EQ(Get(target, message), Get(source, message)) << message;
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(Get(target, PLM_GETLINECOLOR, n), 0x00100000 + n);
        EXPECT_EQ(Get(target, PLM_GETLINESTYLE, n), n % 5);
    }
    EXPECT_EQ(Get(target, PLM_GETXDIVISIONS), 10);
    DestroyWindow(source);
    DestroyWindow(target);
}

TEST(PlotSettings, RestoreTakesOnlyPresentDwordValuesAndMissingKeysChangeNothing)
{
    TestKey test;
    HKEY plotKey = nullptr;
    RegCreateKeyExA(test.key, "Plot1", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &plotKey, nullptr);
    DWORD back = 0x00334455;
    RegSetValueExA(plotKey, "BackColor", 0, REG_DWORD, reinterpret_cast<BYTE*>(&back), sizeof back);
    RegSetValueExA(plotKey, "Flags", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    unsigned long long wide = 0x0000000100000001ull;
    RegSetValueExA(plotKey, "TextColor", 0, REG_QWORD, reinterpret_cast<BYTE*>(&wide), sizeof wide);
    BYTE three[3] = {1, 2, 3};
    RegSetValueExA(plotKey, "GridColor", 0, REG_DWORD, three, sizeof three);
    DWORD margin = 0x00102030;  // four bytes of another type
    RegSetValueExA(plotKey, "MargColor", 0, REG_BINARY, reinterpret_cast<BYTE*>(&margin), sizeof margin);
    RegCloseKey(plotKey);

    HWND plot = MakePlot();
    EXPECT_TRUE(LumoRestoreSettings(plot, test.key, "Plot1"));
    EXPECT_EQ(Get(plot, PLM_GETBACKCOLOR), 0x00334455);
    EXPECT_EQ(Get(plot, PLM_GETFLAGS), 0);
    EXPECT_EQ(Get(plot, PLM_GETTEXTCOLOR), 0x02008020);
    EXPECT_EQ(Get(plot, PLM_GETGRIDCOLOR), 0x02008020);
    EXPECT_EQ(Get(plot, PLM_GETMARGINCOLOR), 0x00102030);
    EXPECT_EQ(Get(plot, PLM_GETCOLORSTYLE), 1);

    EXPECT_FALSE(LumoRestoreSettings(plot, test.key, "Missing"));
    EXPECT_EQ(Get(plot, PLM_GETBACKCOLOR), 0x00334455);
    EXPECT_FALSE(LumoSaveSettings(plot, nullptr, "Plot2"));
    DestroyWindow(plot);
}

} // namespace
