// The plot window's message protocol: defaults, setters and getters, refusals.
#include <gtest/gtest.h>

#include "plot_fixture.h"

namespace {

LRESULT Send(HWND plot, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(plot, message, wParam, lParam);
}

bool HasUpdateRegion(HWND window)
{
    return GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

TEST(PlotProtocol, NewWindowHasTheBuiltInSettings)
{
    HWND plot = MakePlot();
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(Send(plot, PLM_GETCOLORSTYLE), 1);
    EXPECT_EQ(Send(plot, PLM_GETFLAGS), 0);
    EXPECT_EQ(Send(plot, PLM_GETBACKCOLOR), 0x02002000);
    EXPECT_EQ(Send(plot, PLM_GETMARGINCOLOR), 0x02002000);
    EXPECT_EQ(Send(plot, PLM_GETGRIDCOLOR), 0x02008020);
    EXPECT_EQ(Send(plot, PLM_GETTEXTCOLOR), 0x02008020);
    const COLORREF lines[8] = {0x02ff8000, 0x0200c0c0, 0x020000ff, 0x0200ff00,
                               0x02ff00ff, 0x02ffff00, 0x02808080, 0x02ffffff};
    for (int trace = 0; trace < 8; ++trace) {
        EXPECT_EQ(Send(plot, PLM_GETLINECOLOR, trace), static_cast<LRESULT>(lines[trace]));
        EXPECT_EQ(Send(plot, PLM_GETLINESTYLE, trace), PS_SOLID);
    }
    EXPECT_EQ(Send(plot, PLM_GETXDIVISIONS), 10);
    EXPECT_EQ(Send(plot, PLM_GETYDIVISIONS), 10);
    EXPECT_EQ(GetDouble(plot, PLM_GETXMIN), 0.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETXMAX), 100.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), 0.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 100.0);
    DestroyWindow(plot);
}

TEST(PlotProtocol, SettersStoreAndReturnThePreviousValue)
{
    HWND plot = MakePlot();
    EXPECT_EQ(Send(plot, PLM_SETBACKCOLOR, 0, 0x00123456), 0x02002000);
    EXPECT_EQ(Send(plot, PLM_GETBACKCOLOR), 0x00123456);
    EXPECT_EQ(Send(plot, PLM_SETGRIDCOLOR, 0, 0x1), 0x02008020);
    EXPECT_EQ(Send(plot, PLM_SETMARGINCOLOR, 0, 0x2), 0x02002000);
    EXPECT_EQ(Send(plot, PLM_SETTEXTCOLOR, 0, 0x3), 0x02008020);
    EXPECT_EQ(Send(plot, PLM_SETLINECOLOR, 2, 0x4), 0x020000ff);
    EXPECT_EQ(Send(plot, PLM_GETLINECOLOR, 2), 0x4);
    EXPECT_EQ(Send(plot, PLM_SETLINESTYLE, 6, PS_DASH), PS_SOLID);
    EXPECT_EQ(Send(plot, PLM_SETLINESTYLE, 6, PS_DOT), PS_DASH);
    // Only the low 32 bits of an integer argument count; -1 stays -1.
    EXPECT_EQ(Send(plot, PLM_SETCOLORSTYLE, 0, 0xFFFFFFFF), 0);
    EXPECT_EQ(Send(plot, PLM_GETCOLORSTYLE), -1);
    Send(plot, PLM_SETFLAGS, 0, PLF_NOGRID | 0x40);
    EXPECT_EQ(Send(plot, PLM_GETFLAGS), PLF_NOGRID | 0x40);
    EXPECT_EQ(Send(plot, PLM_SETXDIVISIONS, 0, 4), 0);
    EXPECT_EQ(Send(plot, PLM_SETYDIVISIONS, 0, 7), 0);
    EXPECT_EQ(Send(plot, PLM_GETXDIVISIONS), 4);
    EXPECT_EQ(Send(plot, PLM_GETYDIVISIONS), 7);
    SetDouble(plot, PLM_SETXMIN, -1.5);
    SetDouble(plot, PLM_SETXMAX, 2.5);
    SetDouble(plot, PLM_SETYMIN, -3.25);
    SetDouble(plot, PLM_SETYMAX, 1e6);
    EXPECT_EQ(GetDouble(plot, PLM_GETXMIN), -1.5);
    EXPECT_EQ(GetDouble(plot, PLM_GETXMAX), 2.5);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), -3.25);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 1e6);
    DestroyWindow(plot);
}

TEST(PlotProtocol, OutOfRangeTracesNullPointersAndZeroDivisionsAreRefused)
{
    HWND plot = MakePlot();
    for (int trace : {-1, 8, 0x10000}) {
        EXPECT_EQ(Send(plot, PLM_SETLINECOLOR, static_cast<WPARAM>(trace), 0x5), -1);
        EXPECT_EQ(Send(plot, PLM_SETLINESTYLE, static_cast<WPARAM>(trace), PS_DOT), -1);
        EXPECT_EQ(Send(plot, PLM_GETLINECOLOR, static_cast<WPARAM>(trace)), -1);
        EXPECT_EQ(Send(plot, PLM_GETLINESTYLE, static_cast<WPARAM>(trace)), -1);
        EXPECT_EQ(Send(plot, PLM_SETTRACELABEL, static_cast<WPARAM>(trace),
                       reinterpret_cast<LPARAM>("x")), -1);
    }
    double values[2] = {1, 2};
    EXPECT_EQ(Send(plot, PLM_SETTRACEDATA, MAKEWPARAM(8, 2), reinterpret_cast<LPARAM>(values)), -1);
    EXPECT_EQ(Send(plot, PLM_SETTRACEDATA, MAKEWPARAM(3, 2), 0), -1);
    for (UINT message : {PLM_SETXFORMAT, PLM_SETYFORMAT, PLM_SETXTITLE, PLM_SETYTITLE,
                         PLM_SETXMIN, PLM_SETXMAX, PLM_SETYMIN, PLM_SETYMAX, PLM_GETXMIN,
                         PLM_GETYMAX})
        EXPECT_EQ(Send(plot, message, 0, 0), -1) << std::hex << message;
    for (LPARAM count : {0, -2})
        for (UINT message : {PLM_SETXDIVISIONS, PLM_SETYDIVISIONS})
            EXPECT_EQ(Send(plot, message, 0, count), -1);
    EXPECT_EQ(Send(plot, PLM_GETXDIVISIONS), 10);
    EXPECT_EQ(Send(plot, PLM_GETYDIVISIONS), 10);
    EXPECT_EQ(GetDouble(plot, PLM_GETXMAX), 100.0);
    for (int trace = 0; trace < 8; ++trace)
        EXPECT_EQ(Send(plot, PLM_GETLINESTYLE, trace), PS_SOLID);
    // An id the protocol leaves out is the default procedure's.
    EXPECT_EQ(Send(plot, 0x3D05, 1, 2), 0);
    DestroyWindow(plot);
}

TEST(PlotProtocol, PlotMessagesToAWindowWithoutARecordGoToTheDefaultProcedure)
{
    MakePlot();
    WNDCLASSEXA plotClass = {};
    plotClass.cbSize = sizeof plotClass;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), PLOT_WINDOW_CLASS, &plotClass));
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    double value = 7.0;
    EXPECT_EQ(CallWindowProcA(plotClass.lpfnWndProc, other, PLM_GETXMAX, 0,
                              reinterpret_cast<LPARAM>(&value)), 0);
    EXPECT_EQ(CallWindowProcA(plotClass.lpfnWndProc, other, PLM_SETYMIN, 0,
                              reinterpret_cast<LPARAM>(&value)), 0);
    EXPECT_EQ(value, 7.0);
    DestroyWindow(other);
}

TEST(PlotProtocol, ExtendYRangeCollectsBoundsAfterAReset)
{
    HWND plot = MakePlot();
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, 0, 12345), 0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), 1e300);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 1e-300);
    double negatives[3] = {-5, -2, -1};
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, 3, reinterpret_cast<LPARAM>(negatives)), 1);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), -5.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 1e-300);
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, 1, reinterpret_cast<LPARAM>(negatives)), 0);
    double wider[2] = {4, -6};
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wider)), 0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 1e-300);
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, 2, reinterpret_cast<LPARAM>(wider)), 1);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), -6.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 4.0);
    // The first value after a reset moves both bounds.
    Send(plot, PLM_EXTENDYRANGE, 0, 0);
    double one = 3.0;
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, 1, reinterpret_cast<LPARAM>(&one)), 1);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), 3.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 3.0);
    DestroyWindow(plot);
}

TEST(PlotProtocol, OnlyClearTraceWithFlagAndRedrawInvalidate)
{
    HWND plot = MakePlot(300, 200, true);
    ValidateRect(plot, nullptr);
    SetTrace(plot, 1, {1, 2, 3});
    SetDouble(plot, PLM_SETYMAX, 5);
    Send(plot, PLM_SETBACKCOLOR, 0, 0xFF);
    EXPECT_FALSE(HasUpdateRegion(plot));
    EXPECT_EQ(Send(plot, PLM_CLEARTRACE, 0, static_cast<LPARAM>(-1)), 0);
    EXPECT_FALSE(HasUpdateRegion(plot));
    Send(plot, PLM_CLEARTRACE, 1, 8);
    EXPECT_TRUE(HasUpdateRegion(plot));
    ValidateRect(plot, nullptr);
    Send(plot, PLM_REDRAW);
    EXPECT_TRUE(HasUpdateRegion(plot));
    DestroyWindow(plot);
}

} // namespace
