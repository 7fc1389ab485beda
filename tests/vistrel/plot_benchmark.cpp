// Times a plot paint into a DIB section against the bare floor: one Polyline
// per trace of the same points, pens and context. Prints both and their ratio.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "vistrel/vistrel.h"

namespace {

const int kWidth = 1000;
const int kHeight = 600;
const int kTraces = 8;
const double kYMin = -1.5;
const double kYMax = 1.5;
const COLORREF kColors[kTraces] = {0x02ff8000, 0x0200c0c0, 0x020000ff, 0x0200ff00,
                                   0x02ff00ff, 0x02ffff00, 0x02808080, 0x02ffffff};

struct Target {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

Target MakeTarget()
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Target target;
    target.dc = CreateCompatibleDC(nullptr);
    target.bitmap = CreateDIBSection(target.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    target.old = SelectObject(target.dc, target.bitmap);
    // The mapping a printing caller sets up: y up over the whole bitmap.
    SetMapMode(target.dc, MM_ANISOTROPIC);
    SetViewportExtEx(target.dc, kWidth, -kHeight, nullptr);
    SetViewportOrgEx(target.dc, 0, kHeight, nullptr);
    SetWindowExtEx(target.dc, 32767, 32767, nullptr);
    SetWindowOrgEx(target.dc, 0, 0, nullptr);
    return target;
}

void FreeTarget(const Target& target)
{
    SelectObject(target.dc, target.old);
    DeleteObject(target.bitmap);
    DeleteDC(target.dc);
}

std::vector<double> MakeSamples(int count, int trace)
{
    std::vector<double> samples(static_cast<size_t>(count));
    unsigned seed = 12345u + static_cast<unsigned>(trace);
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        double noise = ((seed >> 16) & 0x7FFF) / 32768.0 - 0.5;
        samples[static_cast<size_t>(i)] =
            std::sin(6.2831853 * 3 * i / count + trace) * (1.0 + 0.05 * trace) + 0.1 * noise;
    }
    return samples;
}

// The plot's own placement of the samples, for the floor.
std::vector<POINT> PlotPoints(HDC dc, const std::vector<double>& samples)
{
    SIZE size;
    GetTextExtentPoint32A(dc, "0", 1, &size);
    int left = 12 * size.cx;
    int right = static_cast<int>(32767.0 - 4 * size.cx);
    int bottom = static_cast<int>(2.5 * size.cy);
    int top = static_cast<int>(32767.0 - size.cy);
    double step = static_cast<double>(right - left) / (samples.size() - 1);
    std::vector<POINT> points(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        double v = samples[i] < kYMin ? kYMin : samples[i] > kYMax ? kYMax : samples[i];
        points[i].x = static_cast<int>(i * step + left);
        points[i].y = static_cast<int>((v - kYMin) / (kYMax - kYMin) * (top - bottom) + bottom);
    }
    return points;
}

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

// Milliseconds per run of `body`: the best of seven batches of at least 80 ms
// each, so that other load on the machine counts as little as possible.
template <typename Body>
double TimePerRun(Body body)
{
    body();
    GdiFlush();
    double best = 1e30;
    for (int batch = 0; batch < 7; ++batch) {
        int runs = 0;
        double start = Now();
        double elapsed = 0;
        do {
            body();
            GdiFlush();
            ++runs;
            elapsed = Now() - start;
        } while (elapsed < 0.08 || runs < 2);
        double perRun = elapsed * 1000.0 / runs;
        if (perRun < best)
            best = perRun;
    }
    return best;
}

} // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    LumoInitialize(instance);
    HWND plot = CreateWindowExA(0, PLOT_WINDOW_CLASS, "", WS_POPUP, 0, 0, kWidth, kHeight,
                                nullptr, nullptr, instance, nullptr);
    double yMin = kYMin, yMax = kYMax;
    SendMessageA(plot, PLM_SETYMIN, 0, reinterpret_cast<LPARAM>(&yMin));
    SendMessageA(plot, PLM_SETYMAX, 0, reinterpret_cast<LPARAM>(&yMax));
    Target target = MakeTarget();
    double frame = TimePerRun([&] {
        SendMessageA(plot, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.dc), PRF_CLIENT);
    });
    printf("frame without traces: %.3f ms\n", frame);
    printf("%8s %14s %14s %7s\n", "samples", "paint ms", "floor ms", "ratio");
    for (int count : {1000, 10000, 65535}) {
        std::vector<std::vector<POINT>> points;
        for (int trace = 0; trace < kTraces; ++trace) {
            std::vector<double> samples = MakeSamples(count, trace);
            SendMessageA(plot, PLM_SETTRACEDATA, MAKEWPARAM(trace, count),
                         reinterpret_cast<LPARAM>(samples.data()));
            points.push_back(PlotPoints(target.dc, samples));
        }
        double paint = TimePerRun([&] {
            SendMessageA(plot, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.dc), PRF_CLIENT);
        });
        double floor = TimePerRun([&] {
            for (int trace = 0; trace < kTraces; ++trace) {
                HPEN pen = CreatePen(PS_SOLID, 25, kColors[trace]);
                HGDIOBJ old = SelectObject(target.dc, pen);
                Polyline(target.dc, points[trace].data(), static_cast<int>(points[trace].size()));
                SelectObject(target.dc, old);
                DeleteObject(pen);
            }
        });
        printf("%8d %14.3f %14.3f %7.2f\n", count, paint, floor, paint / floor);
    }
    FreeTarget(target);
    DestroyWindow(plot);
    return 0;
}
