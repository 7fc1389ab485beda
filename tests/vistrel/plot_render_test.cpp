// What a plot window draws, read back from a metafile and from pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "plot_fixture.h"

namespace {

const int kWidth = 600;
const int kHeight = 400;

bool IsHorizontal(const DrawnLine& line) { return line.from.y == line.to.y; }
bool IsVertical(const DrawnLine& line) { return line.from.x == line.to.x; }

size_t CountIf(const std::vector<DrawnLine>& lines, bool (*test)(const DrawnLine&))
{
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), test));
}

// Plot area edges, from the Y axis line (the one solid vertical hairline).
struct Area {
    LONG left = -1, bottom = -1, top = -1;
};

Area AreaOf(const Drawing& drawing)
{
    Area area;
    for (const DrawnLine& line : drawing.LinesOf(PS_SOLID))
        if (line.penWidth == 0 && IsVertical(line)) {
            area.left = line.from.x;
            area.bottom = line.from.y;
            area.top = line.to.y;
        }
    return area;
}

// Solid horizontal hairlines: the zero line, when drawn.
std::vector<DrawnLine> ZeroLines(const Drawing& drawing)
{
    std::vector<DrawnLine> found;
    for (const DrawnLine& line : drawing.LinesOf(PS_SOLID))
        if (line.penWidth == 0 && IsHorizontal(line))
            found.push_back(line);
    return found;
}

std::vector<DrawnLine> TraceLines(const Drawing& drawing)
{
    std::vector<DrawnLine> found;
    for (const DrawnLine& line : drawing.lines)
        if (line.penWidth != 0)
            found.push_back(line);
    return found;
}

TEST(PlotRender, NewWindowPrintsGridLabelsAndZeroLineInBlack)
{
    HWND plot = MakePlot();
    Drawing drawing = RecordPrint(plot, kWidth, kHeight);
    std::vector<DrawnLine> dotted = drawing.LinesOf(PS_DOT);
    EXPECT_EQ(CountIf(dotted, IsHorizontal), 11u);
    EXPECT_EQ(CountIf(dotted, IsVertical), 11u);
    for (const DrawnLine& line : drawing.lines)
        EXPECT_EQ(line.penColor, 0x02000000u);
    Area area = AreaOf(drawing);
    ASSERT_GT(area.left, 0);
    ASSERT_EQ(ZeroLines(drawing).size(), 1u);
    EXPECT_EQ(ZeroLines(drawing)[0].from.y, area.bottom);
    EXPECT_TRUE(TraceLines(drawing).empty());
    for (int value = 0; value <= 100; value += 10) {
        std::string label = std::to_string(value);
        int count = 0;
        for (const DrawnText& text : drawing.texts)
            if (text.text == label) {
                ++count;
                EXPECT_EQ(text.color, 0x02000000u);
            }
        EXPECT_EQ(count, 2) << label;
    }
    EXPECT_EQ(drawing.texts.size(), 22u);
    DestroyWindow(plot);
}

TEST(PlotRender, TitlesMoveThePlotArea)
{
    HWND plot = MakePlot();
    Area plain = AreaOf(RecordPrint(plot, kWidth, kHeight));
    SendMessageA(plot, PLM_SETYTITLE, 0, reinterpret_cast<LPARAM>("Position"));
    Drawing withY = RecordPrint(plot, kWidth, kHeight);
    EXPECT_EQ(AreaOf(withY).left * 12, plain.left * 14);
    EXPECT_EQ(AreaOf(withY).bottom, plain.bottom);
    ASSERT_NE(withY.FindText("Position"), nullptr);
    ASSERT_FALSE(withY.fonts.empty());
    EXPECT_EQ(withY.fonts.back().lfEscapement, -900);
    EXPECT_EQ(withY.fonts.back().lfOrientation, -900);
    EXPECT_EQ(std::wstring(withY.fonts.back().lfFaceName), L"Arial");

    SendMessageA(plot, PLM_SETXTITLE, 0, reinterpret_cast<LPARAM>("Time"));
    Drawing withBoth = RecordPrint(plot, kWidth, kHeight);
    // Bottom margin 3.0 instead of 2.5 character heights.
    double charHeight = plain.bottom / 2.5;
    EXPECT_NEAR(AreaOf(withBoth).bottom, 3.0 * charHeight, 3.0);
    const DrawnText* title = withBoth.FindText("Time");
    ASSERT_NE(title, nullptr);
    EXPECT_LT(title->at.y, withBoth.FindText("50")->at.y);
    DestroyWindow(plot);
}

TEST(PlotRender, TraceSpansThePlotWidthAndIsClampedToTheRange)
{
    HWND plot = MakePlot();
    SetDouble(plot, PLM_SETXMIN, -7);
    SetDouble(plot, PLM_SETXMAX, 3);
    double samples[2] = {-50, 150};
    EXPECT_EQ(SendMessageA(plot, PLM_SETTRACEDATA, MAKEWPARAM(3, 2), reinterpret_cast<LPARAM>(samples)), 3);
    // The window keeps its own copy.
    samples[0] = samples[1] = 50;
    Drawing drawing = RecordPrint(plot, kWidth, kHeight);
    Area area = AreaOf(drawing);
    std::vector<DrawnLine> trace = TraceLines(drawing);
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].penWidth, 25);
    EXPECT_EQ(trace[0].penColor, 0x0200ff00u);
    EXPECT_EQ(trace[0].from.x, area.left);
    EXPECT_EQ(trace[0].from.y, area.bottom);
    EXPECT_EQ(trace[0].to.y, area.top);
    EXPECT_EQ(trace[0].to.x, 32767 - 4 * (area.left / 12));
    // No count: the trace is emptied and returned.
    EXPECT_EQ(SendMessageA(plot, PLM_SETTRACEDATA, MAKEWPARAM(3, 0), 0), 3);
    EXPECT_TRUE(TraceLines(RecordPrint(plot, kWidth, kHeight)).empty());
    DestroyWindow(plot);
}

TEST(PlotRender, EmptyRangesAreWidenedByThePaintWithoutAZeroLine)
{
    HWND plot = MakePlot();
    SetDouble(plot, PLM_SETYMIN, 0);
    SetDouble(plot, PLM_SETYMAX, 0);
    SetDouble(plot, PLM_SETXMIN, 2);
    SetDouble(plot, PLM_SETXMAX, 2);
    EXPECT_TRUE(ZeroLines(RecordPrint(plot, kWidth, kHeight)).empty());
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 1.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETXMAX), 3.0);
    EXPECT_EQ(ZeroLines(RecordPrint(plot, kWidth, kHeight)).size(), 1u);

    SetDouble(plot, PLM_SETYMIN, 5);
    SetDouble(plot, PLM_SETYMAX, 5);
    EXPECT_TRUE(ZeroLines(RecordPrint(plot, kWidth, kHeight)).empty());
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 6.0);
    SetDouble(plot, PLM_SETYMIN, -9);
    SetDouble(plot, PLM_SETYMAX, -1);
    EXPECT_TRUE(ZeroLines(RecordPrint(plot, kWidth, kHeight)).empty());
    DestroyWindow(plot);
}

TEST(PlotRender, FlagsTurnOffGridAndZeroLine)
{
    HWND plot = MakePlot();
    SetDouble(plot, PLM_SETYMIN, -50);
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOGRID);
    Drawing noGrid = RecordPrint(plot, kWidth, kHeight);
    EXPECT_TRUE(noGrid.LinesOf(PS_DOT).empty());
    Area area = AreaOf(noGrid);
    EXPECT_GT(area.left, 0);
    ASSERT_EQ(ZeroLines(noGrid).size(), 1u);
    EXPECT_EQ(ZeroLines(noGrid)[0].from.y, area.bottom + (area.top - area.bottom) / 3);
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOZEROLINE);
    Drawing noZero = RecordPrint(plot, kWidth, kHeight);
    EXPECT_TRUE(ZeroLines(noZero).empty());
    EXPECT_EQ(noZero.LinesOf(PS_DOT).size(), 22u);
    DestroyWindow(plot);
}

TEST(PlotRender, LegendListsOnlyDrawnLabelledTracesOneRowApartInPrint)
{
    HWND plot = MakePlot();
    const char* labels[4] = {"Actual", "Optimal", "Error", ""};
    for (int trace = 0; trace < 4; ++trace)
        SendMessageA(plot, PLM_SETTRACELABEL, trace, reinterpret_cast<LPARAM>(labels[trace]));
    SetTrace(plot, 0, {1, 2});
    SetTrace(plot, 1, {1});
    SetTrace(plot, 2, {1, 2, 3});
    SetTrace(plot, 3, {4, 5});
    Drawing drawing = RecordPrint(plot, kWidth, kHeight);
    EXPECT_EQ(drawing.FindText("Optimal"), nullptr);
    const DrawnText* actual = drawing.FindText("Actual");
    const DrawnText* error = drawing.FindText("Error");
    ASSERT_TRUE(actual && error);
    std::vector<DrawnLine> dotted = drawing.LinesOf(PS_DOT);
    LONG yStep = dotted[1].from.y - dotted[0].from.y;
    EXPECT_EQ(actual->at.y - error->at.y, yStep);
    EXPECT_EQ(actual->at.x, error->at.x);
    EXPECT_EQ(actual->color, 0x02ff8000u);
    EXPECT_EQ(error->color, 0x020000ffu);
    EXPECT_EQ(TraceLines(drawing).size(), 1u + 2u + 1u);
    DestroyWindow(plot);
}

TEST(PlotRender, TickLabelsUseOnlyFormatsOfOneDouble)
{
    HWND plot = MakePlot();
    SendMessageA(plot, PLM_SETXFORMAT, 0, reinterpret_cast<LPARAM>("%7.3lf"));
    SendMessageA(plot, PLM_SETYFORMAT, 0, reinterpret_cast<LPARAM>("%.1f%%"));
    Drawing good = RecordPrint(plot, kWidth, kHeight);
    EXPECT_NE(good.FindText(" 10.000"), nullptr);
    EXPECT_NE(good.FindText("10.0%"), nullptr);
    for (const char* bad : {"%s", "%d", "%g %g", "%*g", "%lg%n", "%Lg", "volts"}) {
        SendMessageA(plot, PLM_SETYFORMAT, 0, reinterpret_cast<LPARAM>(bad));
        Drawing drawing = RecordPrint(plot, kWidth, kHeight);
        EXPECT_NE(drawing.FindText("100"), nullptr) << bad;
    }
    SendMessageA(plot, PLM_SETYFORMAT, 0, reinterpret_cast<LPARAM>("%300.1f"));
    Drawing wide = RecordPrint(plot, kWidth, kHeight);
    int wideLabels = 0;
    for (const DrawnText& text : wide.texts)
        if (text.align == (TA_RIGHT | TA_TOP)) {
            ++wideLabels;
            EXPECT_EQ(text.text.size(), 23u);
        }
    EXPECT_EQ(wideLabels, 11);
    DestroyWindow(plot);
}

TEST(PlotRender, EmptyClientAreaDrawsNothing)
{
    HWND plot = MakePlot(0, 0);
    SetTrace(plot, 0, {1, 2});
    Drawing drawing = RecordPrint(plot, kWidth, kHeight);
    EXPECT_TRUE(drawing.lines.empty());
    EXPECT_TRUE(drawing.texts.empty());
    DestroyWindow(plot);
}

// Prints a white horizontal trace across the middle into a DIB of `bits` per
// pixel and tells whether the middle row of the plot came out black there.
bool MiddleRowIsBlack(int bits)
{
    HWND plot = MakePlot(kWidth, kHeight);
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOGRID | PLF_NOZEROLINE);
    SendMessageA(plot, PLM_SETYDIVISIONS, 0, 3);
    SetTrace(plot, 7, {50, 50});
    Area area = AreaOf(RecordPrint(plot, kWidth, kHeight));

    struct { BITMAPINFOHEADER header; RGBQUAD colors[2]; } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = kWidth;
    info.header.biHeight = -kHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.colors[1] = {255, 255, 255, 0};
    void* pixels = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &pixels, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportExtEx(dc, kWidth, -kHeight, nullptr);
    SetViewportOrgEx(dc, 0, kHeight, nullptr);
    SendMessageA(plot, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    int row = kHeight - kHeight * (area.bottom + (area.top - area.bottom) / 2) / 32767;
    int blackRows = 0;
    for (int y = row - 2; y <= row + 2; ++y) {
        int x = kWidth / 2;
        bool black;
        if (bits == 1) {
            const BYTE* line = static_cast<const BYTE*>(pixels) + y * ((kWidth + 31) / 32 * 4);
            black = !(line[x / 8] & (0x80 >> (x % 8)));
        } else {
            const DWORD* line = static_cast<const DWORD*>(pixels) + y * kWidth;
            black = (line[x] & 0xFFFFFF) == 0;
        }
        blackRows += black ? 1 : 0;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyWindow(plot);
    return blackRows > 0;
}

TEST(PlotRender, TracesAreBlackOnDevicesUnderEightBitsPerPixel)
{
    EXPECT_TRUE(MiddleRowIsBlack(1));
    EXPECT_FALSE(MiddleRowIsBlack(32));
}

COLORREF PixelAt(HDC dc, int x, int y)
{
    return GetPixel(dc, x, y) & 0xFFFFFF;
}

TEST(PlotRender, ScreenPaintFillsMarginAndPlotAreaInTheirColours)
{
    HWND plot = MakePlot(kWidth, kHeight, true);
    SendMessageA(plot, PLM_SETMARGINCOLOR, 0, RGB(200, 0, 0));
    SendMessageA(plot, PLM_SETBACKCOLOR, 0, RGB(0, 0, 200));
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOGRID);
    SendMessageA(plot, PLM_REDRAW, 0, 0);
    UpdateWindow(plot);
    HDC window = GetDC(plot);
    HDC copy = CreateCompatibleDC(window);
    HBITMAP bitmap = CreateCompatibleBitmap(window, kWidth, kHeight);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, kWidth, kHeight, window, 0, 0, SRCCOPY);
    EXPECT_EQ(PixelAt(copy, 2, 2), RGB(200, 0, 0));
    EXPECT_EQ(PixelAt(copy, kWidth - 2, kHeight - 2), RGB(200, 0, 0));
    EXPECT_EQ(PixelAt(copy, kWidth / 2, kHeight / 3), RGB(0, 0, 200));
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(plot, window);
    DestroyWindow(plot);
}

} // namespace
