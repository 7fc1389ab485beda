// Drawing of a plot window on screen (WM_PAINT) and into a caller's DC (WM_PRINT).
#include "plot_window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

const COLORREF kPrintBlack = 0x02000000;
const int kPrintPenWidth = 25;

// Metrics of one paint, in logical units.
struct PlotLayout {
    int bottom;
    int charWidth;
    int charHeight;
    int left;
    int right;
    int top;
    bool colorDevice;
    int xStep;
    int yStep;
};

// Conversion toward zero that stays inside GDI's coordinate space for any input.
int Trunc(double value)
{
    const double limit = 134217727.0; // 2^27 - 1
    if (std::isnan(value))
        return 0;
    if (value > limit)
        return static_cast<int>(limit);
    if (value < -limit)
        return -static_cast<int>(limit);
    return static_cast<int>(value);
}

// At least 8 bits per pixel. A memory DC reports the screen's depth (and
// asking costs a round trip to the display), so its selected bitmap decides.
bool IsColorDevice(HDC dc)
{
    if (GetObjectType(dc) == OBJ_MEMDC) {
        BITMAP bitmap;
        HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);
        if (selected && GetObjectA(selected, sizeof bitmap, &bitmap) == sizeof bitmap)
            return bitmap.bmBitsPixel * bitmap.bmPlanes >= 8;
    }
    return GetDeviceCaps(dc, BITSPIXEL) >= 8;
}

COLORREF GridColorOf(const PlotWindowData& data, PaintMode mode)
{
    return mode == PAINT_SCREEN ? data.gridColor : kPrintBlack;
}

COLORREF TraceColorOf(const PlotWindowData& data, const PlotLayout& layout, int trace)
{
    return layout.colorDevice ? data.lineColors[trace] : kPrintBlack;
}

void FillOpaque(HDC dc, int left, int top, int right, int bottom)
{
    RECT rect = {left, top, right, bottom};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
}

void DrawOpaqueText(HDC dc, int x, int y, const RECT& cell, const char* text)
{
    ExtTextOutA(dc, x, y, ETO_OPAQUE, &cell, text, static_cast<UINT>(strlen(text)), nullptr);
}

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void MeasureLayout(HDC dc, const PlotWindowData& data, PlotLayout* layout)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, "0", 1, &size);
    layout->charWidth = size.cx;
    layout->charHeight = size.cy;
    layout->bottom = Trunc((data.xTitle.empty() ? 2.5 : 3.0) * layout->charHeight);
    layout->left = (data.yTitle.empty() ? 12 : 14) * layout->charWidth;
    layout->right = Trunc(data.logicalWidth - 4 * layout->charWidth);
    layout->top = Trunc(data.logicalHeight - layout->charHeight);
    layout->xStep = (layout->right - layout->left) / data.xDivisions;
    layout->yStep = (layout->top - layout->bottom) / data.yDivisions;
}

// Rows bottom to top, then columns left to right: in one call, or line by
// line when the buffer of end points cannot be had.
void DrawGrid(HDC dc, const PlotWindowData& data, const PlotLayout& layout)
{
    std::vector<POINT> ends;
    std::vector<DWORD> counts;
    const size_t lines = static_cast<size_t>(data.xDivisions) + data.yDivisions + 2;
    try {
        ends.reserve(2 * lines);
        counts.assign(lines, 2);
    } catch (const std::bad_alloc&) {
        for (int i = 0; i <= data.yDivisions; ++i)
            Line(dc, layout.left, layout.bottom + i * layout.yStep, layout.right,
                 layout.bottom + i * layout.yStep);
        for (int i = 0; i <= data.xDivisions; ++i)
            Line(dc, layout.left + i * layout.xStep, layout.bottom, layout.left + i * layout.xStep,
                 layout.top);
        return;
    }
    for (int i = 0; i <= data.yDivisions; ++i) {
        int y = layout.bottom + i * layout.yStep;
        ends.push_back({layout.left, y});
        ends.push_back({layout.right, y});
    }
    for (int i = 0; i <= data.xDivisions; ++i) {
        int x = layout.left + i * layout.xStep;
        ends.push_back({x, layout.bottom});
        ends.push_back({x, layout.top});
    }
    PolyPolyline(dc, ends.data(), counts.data(), static_cast<DWORD>(counts.size()));
}

void DrawZeroLine(HDC dc, const PlotWindowData& data, const PlotLayout& layout)
{
    // An empty range has no place for zero.
    if (!(data.yMin <= 0.0 && 0.0 <= data.yMax) || data.yMin == data.yMax)
        return;
    int y0 = Trunc(layout.bottom - data.yMin / (data.yMax - data.yMin) * (layout.top - layout.bottom));
    Line(dc, layout.left, y0, layout.right, y0);
}

void DrawXLabels(HDC dc, const PlotWindowData& data, const PlotLayout& layout)
{
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    int widthLimit = Trunc(data.logicalWidth);
    int k = data.xTitle.empty() ? 5 : 3;
    int cellBottom = layout.bottom - (k * layout.charHeight) / 2;
    int cellTop = cellBottom + layout.charHeight;
    for (int i = 0; i <= data.xDivisions; ++i) {
        int cellLeft = layout.left + i * layout.xStep - layout.xStep / 2;
        int cellRight = cellLeft + layout.xStep;
        if (cellRight > widthLimit)
            cellRight = widthLimit;
        char text[TICK_TEXT_SIZE];
        FormatTickLabel(text, data.xFormat, data.xMin, data.xMax, data.xDivisions, i);
        RECT cell = {cellLeft, cellTop, cellRight, cellBottom};
        DrawOpaqueText(dc, cellLeft + layout.xStep / 2, cellTop, cell, text);
    }
}

void DrawXTitle(HDC dc, const PlotWindowData& data, const PlotLayout& layout)
{
    int cellBottom = Trunc(layout.bottom - layout.charHeight * 5.25 * 0.5);
    int cellTop = cellBottom + layout.charHeight;
    RECT cell = {layout.left, cellTop, layout.right, cellBottom};
    DrawOpaqueText(dc, layout.left + (layout.right - layout.left) / 2, cellTop, cell,
                   data.xTitle.c_str());
}

void DrawYLabels(HDC dc, const PlotWindowData& data, const PlotLayout& layout)
{
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    int cellLeft = layout.left - layout.xStep - layout.charWidth;
    int cellRight = layout.left - layout.charWidth;
    for (int i = 0; i <= data.yDivisions; ++i) {
        int cellBottom = layout.bottom + i * layout.yStep - layout.charHeight / 2;
        int cellTop = cellBottom + layout.charHeight;
        char text[TICK_TEXT_SIZE];
        FormatTickLabel(text, data.yFormat, data.yMin, data.yMax, data.yDivisions, i);
        RECT cell = {cellLeft, cellTop, cellRight, cellBottom};
        DrawOpaqueText(dc, cellRight, cellTop, cell, text);
    }
}

// Device height of `height` logical units of y.
int DeviceHeightOf(HDC dc, int height)
{
    POINT ends[2] = {{0, 0}, {0, height}};
    LPtoDP(dc, ends, 2);
    return abs(ends[1].y - ends[0].y);
}

// The Y title reads bottom to top in a rotated copy of the current font. It is
// drawn in device units at the labels' device height: under a mapping whose
// two axes scale differently a rotated font comes out squeezed.
void DrawYTitle(HDC dc, const PlotWindowData& data, const PlotLayout& layout)
{
    TEXTMETRICA metrics;
    if (!GetTextMetricsA(dc, &metrics))
        return;
    int x = Trunc(0.5 * layout.charWidth);
    int height = Trunc(data.logicalHeight);
    // Anchor, then two corners of the cell.
    POINT places[3] = {{x, height / 2}, {x, height}, {x + 2 * layout.charWidth, 0}};
    LPtoDP(dc, places, 3);
    HFONT rotated = CreateFontA(DeviceHeightOf(dc, metrics.tmHeight), 0, 900, 900,
                                metrics.tmWeight, metrics.tmItalic, metrics.tmUnderlined,
                                metrics.tmStruckOut, metrics.tmCharSet, 0, 0, 0,
                                metrics.tmPitchAndFamily, "Arial");
    if (!rotated)
        return;
    int saved = SaveDC(dc);
    if (!saved) {
        DeleteObject(rotated);
        return;
    }
    SetMapMode(dc, MM_TEXT);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SelectObject(dc, rotated);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    RECT cell = {std::min(places[1].x, places[2].x), std::min(places[1].y, places[2].y),
                 std::max(places[1].x, places[2].x), std::max(places[1].y, places[2].y)};
    DrawOpaqueText(dc, places[0].x, places[0].y, cell, data.yTitle.c_str());
    RestoreDC(dc, saved);
    DeleteObject(rotated);
}

void DrawPlotFrame(HDC dc, PlotWindowData* data, PlotLayout* layout, PaintMode mode)
{
    MeasureLayout(dc, *data, layout);
    if (mode == PAINT_SCREEN)
        SetBkColor(dc, data->backColor);
    FillOpaque(dc, layout->left, layout->top, layout->right, layout->bottom);

    HPEN dotted = CreatePen(PS_DOT, 0, GridColorOf(*data, mode));
    HGDIOBJ oldPen = SelectObject(dc, dotted);
    if (!(data->flags & PLF_NOGRID))
        DrawGrid(dc, *data, *layout);

    HPEN solid = CreatePen(PS_SOLID, 0, GridColorOf(*data, mode));
    SelectObject(dc, solid);
    DeleteObject(dotted);
    if (mode == PAINT_SCREEN) {
        SetTextColor(dc, data->textColor);
        SetBkColor(dc, data->marginColor);
    } else {
        SetTextColor(dc, kPrintBlack);
    }
    if (!(data->flags & PLF_NOZEROLINE))
        DrawZeroLine(dc, *data, *layout);
    DrawXLabels(dc, *data, *layout);
    if (!data->xTitle.empty())
        DrawXTitle(dc, *data, *layout);
    Line(dc, layout->left, layout->bottom, layout->left, layout->top);
    DrawYLabels(dc, *data, *layout);
    if (!data->yTitle.empty())
        DrawYTitle(dc, *data, *layout);

    SelectObject(dc, oldPen);
    DeleteObject(solid);
}

// Where sample `i` goes: spread over the plot width, clamped to the y range.
struct SamplePlacement {
    double yMin;
    double yMax;
    double range;
    double height;
    double bottom;
    double left;
    double step;
};

SamplePlacement PlacementOf(const PlotWindowData& data, const PlotLayout& layout, size_t count)
{
    return {data.yMin,
            data.yMax,
            data.yMax - data.yMin,
            static_cast<double>(layout.top - layout.bottom),
            static_cast<double>(layout.bottom),
            static_cast<double>(layout.left),
            static_cast<double>(layout.right - layout.left) / (count - 1)};
}

POINT PlaceSample(const SamplePlacement& place, double sample, size_t i)
{
    double v = sample;
    if (!(v >= place.yMin)) // also a sample that is not a number
        v = place.yMin;
    if (v > place.yMax)
        v = place.yMax;
    return {Trunc(i * place.step + place.left),
            Trunc((v - place.yMin) / place.range * place.height + place.bottom)};
}

void AppendPoint(POINT p, POINT* out, size_t* placed)
{
    if (*placed > 0 && out[*placed - 1].x == p.x && out[*placed - 1].y == p.y)
        return; // a repeated point adds nothing
    out[(*placed)++] = p;
}

#ifdef __SSE2__
// Trunc of two values.
__m128i TruncPair(__m128d value)
{
    const __m128d limit = _mm_set1_pd(134217727.0);
    value = _mm_and_pd(value, _mm_cmpord_pd(value, value)); // not a number: 0
    value = _mm_max_pd(_mm_min_pd(value, limit), _mm_sub_pd(_mm_setzero_pd(), limit));
    return _mm_cvttpd_epi32(value);
}

// Picks `a` where `mask` is set, else `b`.
__m128d Select(__m128d mask, __m128d a, __m128d b)
{
    return _mm_or_pd(_mm_and_pd(mask, a), _mm_andnot_pd(mask, b));
}
#endif

// Places all `count` samples into `out`, dropping repeated points; returns how
// many points it wrote. Two samples at a time where the processor allows, with
// the same operations in the same order as PlaceSample, so the points are the same.
size_t PlaceSamples(const SamplePlacement& place, const double* samples, size_t count, POINT* out)
{
    size_t placed = 0;
    size_t i = 0;
#ifdef __SSE2__
    const __m128d yMin = _mm_set1_pd(place.yMin);
    const __m128d yMax = _mm_set1_pd(place.yMax);
    const __m128d range = _mm_set1_pd(place.range);
    const __m128d height = _mm_set1_pd(place.height);
    const __m128d bottom = _mm_set1_pd(place.bottom);
    const __m128d left = _mm_set1_pd(place.left);
    const __m128d step = _mm_set1_pd(place.step);
    __m128d index = _mm_set_pd(1.0, 0.0);
    for (; i + 2 <= count; i += 2) {
        __m128d v = _mm_loadu_pd(samples + i);
        v = Select(_mm_cmpge_pd(v, yMin), v, yMin);
        v = Select(_mm_cmpgt_pd(v, yMax), yMax, v);
        __m128d y = _mm_add_pd(_mm_mul_pd(_mm_div_pd(_mm_sub_pd(v, yMin), range), height), bottom);
        __m128d x = _mm_add_pd(_mm_mul_pd(index, step), left);
        index = _mm_add_pd(index, _mm_set1_pd(2.0));
        POINT pair[2];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pair),
                         _mm_unpacklo_epi32(TruncPair(x), TruncPair(y)));
        AppendPoint(pair[0], out, &placed);
        AppendPoint(pair[1], out, &placed);
    }
#endif
    for (; i < count; ++i)
        AppendPoint(PlaceSample(place, samples[i], i), out, &placed);
    return placed;
}

// One connected polyline through the samples, drawn with one call from a
// buffer of points; segment by segment when the buffer cannot be had.
void DrawTraceLine(HDC dc, const PlotWindowData& data, const PlotLayout& layout,
                   const std::vector<double>& samples, std::vector<POINT>* points)
{
    const size_t count = samples.size();
    const SamplePlacement place = PlacementOf(data, layout, count);
    try {
        if (points->size() < count)
            points->resize(count);
    } catch (const std::bad_alloc&) {
        POINT first = PlaceSample(place, samples[0], 0);
        MoveToEx(dc, first.x, first.y, nullptr);
        for (size_t i = 1; i < count; ++i) {
            POINT p = PlaceSample(place, samples[i], i);
            LineTo(dc, p.x, p.y);
        }
        return;
    }
    size_t placed = PlaceSamples(place, samples.data(), count, points->data());
    Polyline(dc, points->data(), static_cast<int>(placed));
}

void DrawPlotTraces(HDC dc, PlotWindowData* data, const PlotLayout& layout, PaintMode mode)
{
    if (data->yMin == data->yMax)
        data->yMax = data->yMin + 1;
    if (data->xMin == data->xMax)
        data->xMax = data->xMin + 1;

    int legendX = layout.left + 2 * layout.charWidth;
    int legendY = layout.top - layout.charHeight / 2;
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    if (mode == PAINT_SCREEN)
        SetBkColor(dc, data->backColor);

    std::vector<POINT> points;
    for (int trace = 0; trace < PLOT_TRACE_COUNT; ++trace) {
        const std::vector<double>& samples = data->traceSamples[trace];
        if (samples.size() < 2)
            continue;
        COLORREF color = TraceColorOf(*data, layout, trace);
        int width = mode == PAINT_PRINT ? kPrintPenWidth : 0;
        HPEN pen = CreatePen(data->lineStyles[trace], width, color);
        if (!pen)
            pen = CreatePen(PS_SOLID, width, color);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        // The gaps of a dashed trace show the traces beneath it.
        int oldBkMode = SetBkMode(dc, TRANSPARENT);
        DrawTraceLine(dc, *data, layout, samples, &points);
        SetBkMode(dc, oldBkMode);
        const std::string& label = data->traceLabels[trace];
        if (!label.empty()) {
            SetTextColor(dc, color);
            TextOutA(dc, legendX, legendY, label.c_str(), static_cast<int>(label.size()));
            legendY += mode == PAINT_PRINT ? -layout.yStep : Trunc(-1.25 * layout.charHeight);
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
}

} // namespace

void PaintPlot(HWND window, HDC dc, PaintMode mode)
{
    PlotWindowData* data = PlotDataOf(window);
    if (!data)
        return;
    RECT client;
    GetClientRect(window, &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    if (width == 0 || height == 0)
        return;
    if (mode == PAINT_SCREEN) {
        SetBkColor(dc, data->marginColor);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &client, "", 0, nullptr);
        SetMapMode(dc, MM_ANISOTROPIC);
        SetViewportExtEx(dc, width, -height, nullptr);
        SetViewportOrgEx(dc, 0, height, nullptr);
    }
    SetWindowExtEx(dc, Trunc(data->logicalWidth), Trunc(data->logicalHeight), nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);

    PlotLayout layout = {};
    layout.colorDevice = IsColorDevice(dc);
    DrawPlotFrame(dc, data, &layout, mode);
    DrawPlotTraces(dc, data, layout, mode);
}
