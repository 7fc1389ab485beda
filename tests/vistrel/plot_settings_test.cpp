// Save and restore of plot settings in the registry.
#include <gtest/gtest.h>

#include "plot_fixture.h"
#include "test_support.h"

using testing_support::RegistryKeyReset;

namespace {

const char kTestKey[] = "Software\\Korvane\\Drevalon\\VistrelTest";

LRESULT Get(HWND plot, UINT message, WPARAM wParam = 0)
{
    return SendMessageA(plot, message, wParam, 0);
}

HKEY OpenTestKey()
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

TEST(PlotSettings, SaveThenRestoreCarriesColoursStylesAndFlagsOnly)
{
    RegistryKeyReset reset(kTestKey);
    HKEY key = OpenTestKey();
    HWND source = MakePlot();
    SendMessageA(source, PLM_SETFLAGS, 0, PLF_NOZEROLINE);
    SendMessageA(source, PLM_SETCOLORSTYLE, 0, static_cast<LPARAM>(-1));
    SendMessageA(source, PLM_SETBACKCOLOR, 0, 0x00010203);
    SendMessageA(source, PLM_SETGRIDCOLOR, 0, 0x00040506);
    SendMessageA(source, PLM_SETMARGINCOLOR, 0, 0x00070809);
    SendMessageA(source, PLM_SETTEXTCOLOR, 0, 0x000A0B0C);
    for (int n = 0; n < 8; ++n) {
        SendMessageA(source, PLM_SETLINECOLOR, n, 0x00100000 + n);
        SendMessageA(source, PLM_SETLINESTYLE, n, n % 5);
    }
    SendMessageA(source, PLM_SETXDIVISIONS, 0, 4);
    SetDouble(source, PLM_SETYMAX, 7);
    ASSERT_TRUE(LumoSaveSettings(source, key, "Plot0"));

    HKEY plotKey = nullptr;
    ASSERT_EQ(RegOpenKeyExA(key, "Plot0", 0, KEY_READ, &plotKey), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyA(plotKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(values, 22u);
    DWORD type = 0, data = 0, size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(plotKey, "Line7Style", nullptr, &type,
                               reinterpret_cast<BYTE*>(&data), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, 2u);
    size = sizeof data;
    RegQueryValueExA(plotKey, "MargColor", nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    EXPECT_EQ(data, 0x00070809u);
    RegCloseKey(plotKey);

    HWND target = MakePlot();
    ASSERT_TRUE(LumoRestoreSettings(target, key, "Plot0"));
    for (UINT message : {PLM_GETFLAGS, PLM_GETCOLORSTYLE, PLM_GETBACKCOLOR, PLM_GETGRIDCOLOR,
                         PLM_GETMARGINCOLOR, PLM_GETTEXTCOLOR})
        EXPECT_EQ(Get(target, message), Get(source, message)) << std::hex << message;
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(Get(target, PLM_GETLINECOLOR, n), 0x00100000 + n);
        EXPECT_EQ(Get(target, PLM_GETLINESTYLE, n), n % 5);
    }
    EXPECT_EQ(Get(target, PLM_GETXDIVISIONS), 10);
    EXPECT_EQ(GetDouble(target, PLM_GETYMAX), 100.0);
    DestroyWindow(source);
    DestroyWindow(target);
    RegCloseKey(key);
}

TEST(PlotSettings, RestoreTakesOnlyDwordValuesThatArePresent)
{
    RegistryKeyReset reset(kTestKey);
    HKEY key = OpenTestKey();
    HKEY plotKey = nullptr;
    RegCreateKeyExA(key, "Plot1", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &plotKey, nullptr);
    DWORD back = 0x00334455;
    RegSetValueExA(plotKey, "BackColor", 0, REG_DWORD, reinterpret_cast<BYTE*>(&back), sizeof back);
    RegSetValueExA(plotKey, "Flags", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    BYTE grid[4] = {1, 2, 3, 4};
    RegSetValueExA(plotKey, "GridColor", 0, REG_BINARY, grid, sizeof grid);
    unsigned long long wide = 0x0000000100000001ull;
    RegSetValueExA(plotKey, "TextColor", 0, REG_QWORD, reinterpret_cast<BYTE*>(&wide), sizeof wide);
    RegCloseKey(plotKey);

    HWND plot = MakePlot();
    EXPECT_TRUE(LumoRestoreSettings(plot, key, "Plot1"));
    EXPECT_EQ(Get(plot, PLM_GETBACKCOLOR), 0x00334455);
    EXPECT_EQ(Get(plot, PLM_GETFLAGS), 0);
    EXPECT_EQ(Get(plot, PLM_GETGRIDCOLOR), 0x02008020);
    EXPECT_EQ(Get(plot, PLM_GETTEXTCOLOR), 0x02008020);
    EXPECT_EQ(Get(plot, PLM_GETCOLORSTYLE), 1);
    EXPECT_EQ(Get(plot, PLM_GETLINECOLOR, 7), 0x02ffffff);
    DestroyWindow(plot);
    RegCloseKey(key);
}

TEST(PlotSettings, KeysThatCannotBeOpenedGiveFalseAndChangeNothing)
{
    RegistryKeyReset reset(kTestKey);
    HKEY key = OpenTestKey();
    HWND plot = MakePlot();
    SendMessageA(plot, PLM_SETBACKCOLOR, 0, 0x00ABCDEF);
    EXPECT_FALSE(LumoRestoreSettings(plot, key, "Missing"));
    EXPECT_EQ(Get(plot, PLM_GETBACKCOLOR), 0x00ABCDEF);
    EXPECT_FALSE(LumoSaveSettings(plot, nullptr, "Plot2"));
    HKEY missing = nullptr;
    EXPECT_NE(RegOpenKeyExA(key, "Plot2", 0, KEY_READ, &missing), ERROR_SUCCESS);
    DestroyWindow(plot);
    RegCloseKey(key);
}

} // namespace
