// What a plot window draws, read back from a metafile and from pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "plot_fixture.h"

namespace {

const int kWidth = 600, kHeight = 400;

size_t Count(const std::vector<DrawnLine>& lines, bool horizontal)
{
    size_t n = 0;
    for (const DrawnLine& line : lines)
        n += (horizontal ? line.from.y == line.to.y : line.from.x == line.to.x) ? 1 : 0;
    return n;
}

// The Y axis line, the one solid vertical hairline: left, bottom and top of the plot area.
RECT AreaOf(const Drawing& drawing)
{
    RECT area = {-1, -1, -1, -1};
    for (const DrawnLine& line : drawing.LinesOf(PS_SOLID, 0))
        if (line.from.x == line.to.x)
            area = {line.from.x, line.to.y, -1, line.from.y};
    return area;
}

// Solid horizontal hairlines: the zero line, when drawn.
std::vector<LONG> ZeroLines(const Drawing& drawing)
{
    std::vector<LONG> ys;
    for (const DrawnLine& line : drawing.LinesOf(PS_SOLID, 0))
        if (line.from.y == line.to.y)
            ys.push_back(line.from.y);
    return ys;
}

TEST(PlotRender, NewWindowPrintsBlackGridLabelsAndZeroLine)
{
    HWND plot = MakePlot();
    Drawing drawing = RecordPrint(plot);
    std::vector<DrawnLine> dotted = drawing.LinesOf(PS_DOT, 0);
    EXPECT_EQ(Count(dotted, true), 11u);
    EXPECT_EQ(Count(dotted, false), 11u);
    for (const DrawnLine& line : drawing.lines)
        EXPECT_EQ(line.penColor, 0x02000000u);
    EXPECT_EQ(ZeroLines(drawing), std::vector<LONG>{AreaOf(drawing).bottom});
    EXPECT_EQ(drawing.lines.size(), 22u + 2u);
    ASSERT_EQ(drawing.texts.size(), 22u);
    for (size_t i = 0; i < 22; ++i) {
        EXPECT_EQ(drawing.texts[i].text, std::to_string(i % 11 * 10));
        EXPECT_EQ(drawing.texts[i].color, 0x02000000u);
    }
    DestroyWindow(plot);
}

TEST(PlotRender, TitlesMoveThePlotArea)
{
    HWND plot = MakePlot();
    RECT plain = AreaOf(RecordPrint(plot));
    char title[16] = "Position";
    SetText(plot, PLM_SETYTITLE, title);
    SetText(plot, PLM_SETXTITLE, "Time");
    title[0] = '\0'; // the window keeps its own copy
    Drawing titled = RecordPrint(plot);
    EXPECT_EQ(AreaOf(titled).left * 12, plain.left * 14);
    double charHeight = plain.bottom / 2.5;
    EXPECT_NEAR(AreaOf(titled).bottom, 3.0 * charHeight, 3.0);
    ASSERT_TRUE(titled.FindText("Position") && titled.FindText("Time"));
    EXPECT_LT(titled.FindText("Time")->at.y, titled.FindText("50")->at.y);
    ASSERT_EQ(titled.fonts.size(), 1u);
    EXPECT_EQ(titled.fonts[0].lfEscapement, 900);
    DestroyWindow(plot);
}

TEST(PlotRender, TraceSpansThePlotWidthClampedToTheRange)
{
    HWND plot = MakePlot();
    SetDouble(plot, PLM_SETXMIN, -7);
    SetDouble(plot, PLM_SETXMAX, 3);
    double samples[2] = {-50, 150};
    EXPECT_EQ(SendMessageA(plot, PLM_SETTRACEDATA, MAKEWPARAM(3, 2), reinterpret_cast<LPARAM>(samples)), 3);
    samples[0] = samples[1] = 50; // the window keeps its own copy
    Drawing drawing = RecordPrint(plot);
    RECT area = AreaOf(drawing);
    std::vector<DrawnLine> trace = drawing.LinesOf(PS_SOLID, 25);
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].penColor, 0x0200ff00u);
    EXPECT_EQ(trace[0].from.x, area.left);
    EXPECT_EQ(trace[0].from.y, area.bottom);
    EXPECT_EQ(trace[0].to.x, 32767 - 4 * (area.left / 12));
    EXPECT_EQ(trace[0].to.y, area.top);
    // A sample that is not a number stays inside the plot area too.
    SetTrace(plot, 3, {std::nan(""), 50});
    trace = RecordPrint(plot).LinesOf(PS_SOLID, 25);
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].from.y, area.bottom);
    SendMessageA(plot, PLM_CLEARTRACE, 0, static_cast<LPARAM>(-1));
    EXPECT_TRUE(RecordPrint(plot).LinesOf(PS_SOLID, 25).empty());
    DestroyWindow(plot);
}

TEST(PlotRender, ZeroLineFollowsRangeAndFlagsAndEmptyRangesWiden)
{
    HWND plot = MakePlot();
    SetDouble(plot, PLM_SETYMAX, 0);
    SetDouble(plot, PLM_SETXMIN, 100);
    EXPECT_TRUE(ZeroLines(RecordPrint(plot)).empty());
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 1.0);
    EXPECT_EQ(GetDouble(plot, PLM_GETXMAX), 101.0);
    SetDouble(plot, PLM_SETYMIN, 5);
    SetDouble(plot, PLM_SETYMAX, 5);
    EXPECT_TRUE(ZeroLines(RecordPrint(plot)).empty());
    EXPECT_EQ(GetDouble(plot, PLM_GETYMAX), 6.0);
    SetDouble(plot, PLM_SETYMIN, -50);
    SetDouble(plot, PLM_SETYMAX, 100);
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOGRID);
    Drawing noGrid = RecordPrint(plot);
    RECT area = AreaOf(noGrid);
    EXPECT_TRUE(noGrid.LinesOf(PS_DOT, 0).empty());
    EXPECT_EQ(ZeroLines(noGrid), std::vector<LONG>{area.bottom + (area.top - area.bottom) / 3});
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOZEROLINE);
    EXPECT_TRUE(ZeroLines(RecordPrint(plot)).empty());
    DestroyWindow(plot);
}

TEST(PlotRender, LegendListsDrawnLabelledTracesOneGridRowApart)
{
    HWND plot = MakePlot();
    const char* labels[3] = {"Actual", "Optimal", "Error"};
    for (int trace = 0; trace < 3; ++trace)
        SetText(plot, PLM_SETTRACELABEL, labels[trace], trace);
    SetTrace(plot, 0, {1, 2});
    SetTrace(plot, 1, {1});
    SetTrace(plot, 2, {1, 2, 3});
    SetTrace(plot, 3, {4, 5});
    Drawing drawing = RecordPrint(plot);
    EXPECT_EQ(drawing.FindText("Optimal"), nullptr);
    const DrawnText* actual = drawing.FindText("Actual");
    const DrawnText* error = drawing.FindText("Error");
    ASSERT_TRUE(actual && error);
    std::vector<DrawnLine> dotted = drawing.LinesOf(PS_DOT, 0);
    EXPECT_EQ(actual->at.y - error->at.y, dotted[1].from.y - dotted[0].from.y);
    EXPECT_EQ(error->color, 0x020000ffu);
    EXPECT_EQ(drawing.LinesOf(PS_SOLID, 25).size(), 1u + 2u + 1u);
    DestroyWindow(plot);
}

TEST(PlotRender, TickLabelsUseOnlyFormatsOfOneDoubleAndStayInTheirBuffer)
{
    HWND plot = MakePlot();
    SetText(plot, PLM_SETXFORMAT, "%7.3lf");
    SetText(plot, PLM_SETYFORMAT, "%.1f%%");
    Drawing good = RecordPrint(plot);
    EXPECT_TRUE(good.FindText(" 10.000") && good.FindText("10.0%"));
    for (const char* bad : {"%s", "%d", "%g %g", "%*g", "%lg%n", "%Lg", "volts"}) {
        SetText(plot, PLM_SETXFORMAT, bad);
        EXPECT_EQ(RecordPrint(plot).texts[10].text, "100") << bad;
    }
    SetText(plot, PLM_SETXFORMAT, "%300.1f");
    EXPECT_EQ(RecordPrint(plot).texts[10].text.size(), 23u);
    // Widths and precisions too long to format in one paint.
    for (const char* endless : {"%2147483647f", "%.2147483647e", "%99999999f", "%1000.1f"}) {
        SetText(plot, PLM_SETXFORMAT, endless);
        EXPECT_EQ(RecordPrint(plot).texts[10].text, "100") << endless;
    }
    DestroyWindow(plot);
}

TEST(PlotRender, TickLabelsFollowRangeAndDivisionsBetweenPaints)
{
    HWND plot = MakePlot();
    EXPECT_EQ(RecordPrint(plot).texts[5].text, "50");
    SetDouble(plot, PLM_SETXMIN, -50);
    SendMessageA(plot, PLM_SETYDIVISIONS, 0, 4);
    Drawing changed = RecordPrint(plot);
    ASSERT_EQ(changed.texts.size(), 11u + 5u);
    EXPECT_EQ(changed.texts[0].text, "-50");
    EXPECT_EQ(changed.texts[5].text, "25");
    EXPECT_EQ(changed.texts[12].text, "25");
    SetDouble(plot, PLM_SETYMAX, 1000);
    EXPECT_EQ(RecordPrint(plot).texts[12].text, "250");
    // More divisions than the labels kept between paints.
    SendMessageA(plot, PLM_SETXDIVISIONS, 0, 150);
    Drawing fine = RecordPrint(plot);
    ASSERT_EQ(fine.texts.size(), 151u + 5u);
    EXPECT_EQ(fine.texts[3].text, "-47");
    EXPECT_EQ(fine.texts[150].text, "100");
    SendMessageA(plot, PLM_SETXDIVISIONS, 0, 2);
    EXPECT_EQ(RecordPrint(plot).texts[1].text, "25");
    DestroyWindow(plot);
}

TEST(PlotRender, EverySampleIsPlacedAndClampedWhateverItsPositionInTheTrace)
{
    HWND plot = MakePlot();
    SetTrace(plot, 0, {INFINITY, std::nan(""), -INFINITY, 50, 1e300});
    Drawing drawing = RecordPrint(plot);
    RECT area = AreaOf(drawing);
    LONG right = 32767 - 4 * (area.left / 12);
    LONG middle = area.bottom + (area.top - area.bottom) / 2;
    const LONG ys[5] = {area.top, area.bottom, area.bottom, middle, area.top};
    std::vector<DrawnLine> trace = drawing.LinesOf(PS_SOLID, 25);
    ASSERT_EQ(trace.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(trace[i].from.x, static_cast<LONG>(i * (right - area.left) / 4.0 + area.left));
        EXPECT_EQ(trace[i].from.y, ys[i]) << i;
        EXPECT_EQ(trace[i].to.y, ys[i + 1]) << i;
    }
    EXPECT_EQ(trace[3].to.x, right);
    DestroyWindow(plot);
}

TEST(PlotRender, SamplesDenserThanTheCoordinatesDropRepeatedPoints)
{
    HWND plot = MakePlot();
    SetTrace(plot, 2, std::vector<double>(65535, 50.0));
    Drawing drawing = RecordPrint(plot);
    RECT area = AreaOf(drawing);
    LONG middle = area.bottom + (area.top - area.bottom) / 2;
    std::vector<DrawnLine> trace = drawing.LinesOf(PS_SOLID, 25);
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.front().from.x, area.left);
    EXPECT_EQ(trace.back().to.x, 32767 - 4 * (area.left / 12));
    for (const DrawnLine& line : trace) {
        EXPECT_GT(line.to.x, line.from.x);
        EXPECT_TRUE(line.from.y == middle && line.to.y == middle);
        if (line.to.x <= line.from.x || line.from.y != middle)
            break;
    }
    DestroyWindow(plot);
}

TEST(PlotRender, EmptyClientAreaDrawsNothing)
{
    HWND plot = MakePlot(0, 0);
    SetTrace(plot, 0, {1, 2});
    Drawing drawing = RecordPrint(plot);
    EXPECT_TRUE(drawing.lines.empty() && drawing.texts.empty());
    DestroyWindow(plot);
}

// Prints the white trace 7 across the middle into a DIB of `bits` per pixel;
// true when it came out black.
bool MiddleTraceIsBlack(WORD bits)
{
    HWND plot = MakePlot();
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOGRID | PLF_NOZEROLINE);
    SetTrace(plot, 7, {50, 50});
    RECT area = AreaOf(RecordPrint(plot));
    struct { BITMAPINFOHEADER header; RGBQUAD colors[2]; } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = kWidth;
    info.header.biHeight = -kHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = bits;
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
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    int row = kHeight - kHeight * (area.bottom + (area.top - area.bottom) / 2) / 32767;
    bool black = false;
    for (int y = row - 2; y <= row + 2; ++y)
        black = black || (GetPixel(dc, kWidth / 2, y) & 0xFFFFFF) == 0;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyWindow(plot);
    return black;
}

TEST(PlotRender, TracesAreBlackOnDevicesUnderEightBitsPerPixel)
{
    EXPECT_TRUE(MiddleTraceIsBlack(1));
    EXPECT_FALSE(MiddleTraceIsBlack(32));
}

TEST(PlotRender, ScreenPaintFillsMarginAndPlotAreaInTheirColours)
{
    HWND plot = MakePlot(kWidth, kHeight, true);
    SendMessageA(plot, PLM_SETMARGINCOLOR, 0, RGB(200, 0, 0));
    SendMessageA(plot, PLM_SETBACKCOLOR, 0, RGB(0, 0, 200));
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOGRID);
    SendMessageA(plot, PLM_REDRAW, 0, 0);
    UpdateWindow(plot);
    HDC dc = GetDC(plot);
    EXPECT_EQ(GetPixel(dc, 2, 2) & 0xFFFFFF, RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(dc, kWidth - 2, kHeight - 2) & 0xFFFFFF, RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(dc, kWidth / 2, kHeight / 3) & 0xFFFFFF, RGB(0, 0, 200));
    ReleaseDC(plot, dc);
    DestroyWindow(plot);
}

// Rows spanned by the Y title on screen: text pixels in the strip left of
// the tick labels.
int YTitleRows(int width, int height)
{
    HWND plot = MakePlot(width, height, true);
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOGRID | PLF_NOZEROLINE);
    SendMessageA(plot, PLM_SETMARGINCOLOR, 0, RGB(0, 0, 0));
    SendMessageA(plot, PLM_SETTEXTCOLOR, 0, RGB(255, 255, 255));
    SetText(plot, PLM_SETYTITLE, "Distance");
    SendMessageA(plot, PLM_REDRAW, 0, 0);
    UpdateWindow(plot);
    HDC dc = GetDC(plot);
    int first = -1, last = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 24; ++x)
            if ((GetPixel(dc, x, y) & 0xFFFFFF) != 0) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
    ReleaseDC(plot, dc);
    DestroyWindow(plot);
    return first < 0 ? 0 : last - first + 1;
}

TEST(PlotRender, YTitleKeepsItsLengthInEveryPlotShape)
{
    int square = YTitleRows(400, 400);
    EXPECT_GT(square, 30);
    EXPECT_NEAR(YTitleRows(600, 100), square, 2);
    EXPECT_NEAR(YTitleRows(200, 500), square, 2);
}

TEST(PlotRender, DashedTraceLeavesTheTraceBeneathItVisible)
{
    HWND plot = MakePlot(kWidth, kHeight, true);
    SendMessageA(plot, PLM_SETFLAGS, 0, PLF_NOGRID | PLF_NOZEROLINE);
    SendMessageA(plot, PLM_SETCOLORSTYLE, 0, -1);
    SendMessageA(plot, PLM_SETBACKCOLOR, 0, RGB(0, 0, 0));
    SendMessageA(plot, PLM_SETLINECOLOR, 0, RGB(0, 200, 0));
    SendMessageA(plot, PLM_SETLINECOLOR, 6, RGB(128, 128, 128));
    SendMessageA(plot, PLM_SETLINESTYLE, 6, PS_DASH);
    SetTrace(plot, 0, {0.5, 0.5});
    SetTrace(plot, 6, {0.5, 0.5});
    SendMessageA(plot, PLM_REDRAW, 0, 0);
    UpdateWindow(plot);
    HDC dc = GetDC(plot);
    int green = 0, grey = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; x += 2) {
            COLORREF pixel = GetPixel(dc, x, y) & 0xFFFFFF;
            green += pixel == RGB(0, 200, 0) ? 1 : 0;
            grey += pixel == RGB(128, 128, 128) ? 1 : 0;
        }
    ReleaseDC(plot, dc);
    DestroyWindow(plot);
    EXPECT_GT(grey, 20);
    EXPECT_GT(green, 20);
}

} // namespace
