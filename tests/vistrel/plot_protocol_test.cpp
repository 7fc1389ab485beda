// The plot window's message protocol: defaults, setters and getters, refusals.
#include <gtest/gtest.h>

#include "plot_fixture.h"

namespace {

LRESULT Send(HWND plot, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(plot, message, wParam, lParam);
}

TEST(PlotProtocol, NewWindowDefaultsAndSettersReturningThePreviousValue)
{
    HWND plot = MakePlot();
    EXPECT_EQ(Send(plot, PLM_GETCOLORSTYLE), 1);
    EXPECT_EQ(Send(plot, PLM_GETLINECOLOR, 7), 0x02ffffff);
    EXPECT_EQ(Send(plot, PLM_GETFLAGS), 0);
    EXPECT_EQ(GetDouble(plot, PLM_GETXMAX), 100.0);
    EXPECT_EQ(Send(plot, PLM_SETBACKCOLOR, 0, 0x00123456), 0x02002000);
    EXPECT_EQ(Send(plot, PLM_GETBACKCOLOR), 0x00123456);
    EXPECT_EQ(Send(plot, PLM_SETLINECOLOR, 2, 0x4), 0x020000ff);
    EXPECT_EQ(Send(plot, PLM_SETLINESTYLE, 6, PS_DASH), PS_SOLID);
    EXPECT_EQ(Send(plot, PLM_GETLINESTYLE, 6), PS_DASH);
    // Integer arguments count by their low 32 bits: -1 stays -1.
    Send(plot, PLM_SETCOLORSTYLE, 0, 0xFFFFFFFF);
    EXPECT_EQ(Send(plot, PLM_GETCOLORSTYLE), -1);
    SetDouble(plot, PLM_SETYMIN, -3.25);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), -3.25);
    DestroyWindow(plot);
}

TEST(PlotProtocol, BadTracesNullPointersAndZeroDivisionsAreRefused)
{
    HWND plot = MakePlot();
    for (WPARAM trace : {static_cast<WPARAM>(-1), WPARAM(8)}) {
        EXPECT_EQ(Send(plot, PLM_SETLINECOLOR, trace, 0x5), -1);
        EXPECT_EQ(Send(plot, PLM_SETLINESTYLE, trace, PS_DOT), -1);
        EXPECT_EQ(Send(plot, PLM_GETLINECOLOR, trace), -1);
        EXPECT_EQ(Send(plot, PLM_GETLINESTYLE, trace), -1);
        EXPECT_EQ(Send(plot, PLM_SETTRACELABEL, trace, reinterpret_cast<LPARAM>("x")), 0);
    }
    double values[2] = {1, 2};
    EXPECT_EQ(Send(plot, PLM_SETTRACEDATA, MAKEWPARAM(8, 2), reinterpret_cast<LPARAM>(values)), -1);
    EXPECT_EQ(Send(plot, PLM_SETTRACEDATA, MAKEWPARAM(3, 2), 0), -1);
    // Setters without their pointer or with too few divisions keep the usual
    // result of the message and change nothing.
    for (UINT message : {PLM_SETXFORMAT, PLM_SETYTITLE, PLM_SETXMAX, PLM_GETYMAX,
                         PLM_SETTRACELABEL})
        EXPECT_EQ(Send(plot, message, 0, 0), 0) << message;
    EXPECT_EQ(GetDouble(plot, PLM_GETXMAX), 100.0);
    EXPECT_EQ(Send(plot, PLM_SETXDIVISIONS, 0, 0), 0);
    EXPECT_EQ(Send(plot, PLM_SETYDIVISIONS, 0, -2), 0);
    // Counts no paint could draw in reasonable time.
    EXPECT_EQ(Send(plot, PLM_SETXDIVISIONS, 0, 2147483647), 0);
    EXPECT_EQ(Send(plot, PLM_SETYDIVISIONS, 0, PLOT_MAX_DIVISIONS + 1), 0);
    EXPECT_EQ(Send(plot, PLM_GETXDIVISIONS), 10);
    EXPECT_EQ(Send(plot, PLM_GETYDIVISIONS), 10);
    Send(plot, PLM_SETYDIVISIONS, 0, PLOT_MAX_DIVISIONS);
    EXPECT_EQ(Send(plot, PLM_GETYDIVISIONS), PLOT_MAX_DIVISIONS);
    EXPECT_EQ(Send(plot, PLM_GETLINESTYLE, 0), PS_SOLID);
    EXPECT_EQ(Send(plot, 0x3D05, 1, 2), 0);
    DestroyWindow(plot);

    // A window without the record: plot messages reach the default procedure.
    WNDCLASSEXA plotClass = {};
    plotClass.cbSize = sizeof plotClass;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), PLOT_WINDOW_CLASS, &plotClass));
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    double value = 7.0;
    EXPECT_EQ(CallWindowProcA(plotClass.lpfnWndProc, other, PLM_SETYMIN, 0,
                              reinterpret_cast<LPARAM>(&value)), 0);
    DestroyWindow(other);
}

TEST(PlotProtocol, ExtendYRangeCollectsBoundsAfterAReset)
{
    HWND plot = MakePlot();
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, 0, 12345), 0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), 1e300);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 1e-300);
    double values[3] = {-5, -2, -1};
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, 3, reinterpret_cast<LPARAM>(values)), 1);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), -5.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 1e-300);
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, 1, reinterpret_cast<LPARAM>(values)), 0);
    double wider[2] = {4, -6};
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wider)), 0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), -5.0);
    // The first value after a reset moves both bounds.
    Send(plot, PLM_EXTENDYRANGE, 0, 0);
    EXPECT_EQ(Send(plot, PLM_EXTENDYRANGE, 1, reinterpret_cast<LPARAM>(wider)), 1);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMIN), 4.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 4.0);
    DestroyWindow(plot);
}

TEST(PlotProtocol, OnlyClearTraceWithItsFlagAndRedrawInvalidate)
{
    HWND plot = MakePlot(300, 200, true);
    auto invalid = [plot] { return GetUpdateRect(plot, nullptr, FALSE) != FALSE; };
    ValidateRect(plot, nullptr);
    SetTrace(plot, 1, {1, 2, 3});
    Send(plot, PLM_SETBACKCOLOR, 0, 0xFF);
    Send(plot, PLM_CLEARTRACE, 0, static_cast<LPARAM>(-1));
    EXPECT_FALSE(invalid());
    Send(plot, PLM_CLEARTRACE, 1, 8);
    EXPECT_TRUE(invalid());
    ValidateRect(plot, nullptr);
    Send(plot, PLM_REDRAW);
    EXPECT_TRUE(invalid());
    DestroyWindow(plot);
}

} // namespace
