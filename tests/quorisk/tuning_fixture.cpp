#include "tuning_fixture.h"

#include "main_window.h"
#include "vistrel.h"

#include <map>

namespace {

struct PlotRecorder {
    std::map<HWND, WNDPROC> originals;
    std::map<HWND, int> index;
    std::vector<PlotCall> calls;
};

PlotRecorder& Recorder()
{
    static PlotRecorder recorder;
    return recorder;
}

LRESULT CALLBACK RecordingPlotProc(HWND plot, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlotRecorder& r = Recorder();
    if (message >= PLM_EXTENDYRANGE && message <= PLM_REDRAW) {
        PlotCall call = {r.index[plot], message, wParam, {}, {}};
        const double* values = reinterpret_cast<const double*>(lParam);
        if (message == PLM_SETTRACEDATA && values)
            call.values.assign(values, values + HIWORD(wParam));
        if (message == PLM_EXTENDYRANGE && values && static_cast<long>(wParam) > 0)
            call.values.assign(values, values + wParam);
        if ((message == PLM_SETYTITLE || message == PLM_SETTRACELABEL ||
             message == PLM_SETYFORMAT || message == PLM_SETXTITLE) && lParam)
            call.text = reinterpret_cast<const char*>(lParam);
        r.calls.push_back(call);
    }
    return CallWindowProcA(r.originals[plot], plot, message, wParam, lParam);
}

} // namespace

// A destroyed main window posts WM_QUIT, which would end the next modal loop.
static void DropQuitMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void TuningWindowTest::SetUp()
{
    registry_.reset(new testing_support::RegistryKeyReset("Software\\Korvane\\Drevalon\\Servo Tuning"));
    Fake() = FakeController();
    InstallFakeController();
    EnsureWindowClasses();
}

void EnsureWindowClasses()
{
    static bool registered = false;
    if (!registered) {
        ASSERT_NE(RegisterWindowClasses(GetModuleHandleA(nullptr)), 0);
        registered = true;
    }
}

void TuningWindowTest::TearDown()
{
    if (main_ && IsWindow(main_))
        DestroyWindow(main_);
    DropQuitMessages();
    Recorder() = PlotRecorder();
    registry_.reset();
}

HWND TuningWindowTest::Start(const char* commandLine)
{
    DropQuitMessages();
    // The libraries are bound already, with the fakes in the table.
    LumoInitialize(GetModuleHandleA(nullptr));
    main_ = StartMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL,
                            ParseTuningOptions(commandLine));
    EXPECT_NE(main_, nullptr);
    return main_;
}

void TuningWindowTest::Tick() const
{
    SendMessageA(main_, WM_TIMER, READOUT_TIMER, 0);
}

void TuningWindowTest::RecordPlots()
{
    PlotRecorder& r = Recorder();
    for (int i = 0; i < PLOT_WINDOW_COUNT; i++) {
        HWND plot = Data()->plotWindows[i];
        r.index[plot] = i;
        r.originals[plot] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            plot, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingPlotProc)));
    }
}

std::vector<PlotCall> TuningWindowTest::PlotCalls(int window, UINT message) const
{
    std::vector<PlotCall> result;
    for (const PlotCall& call : Recorder().calls)
        if ((window < 0 || call.window == window) && call.message == message)
            result.push_back(call);
    return result;
}

void TuningWindowTest::ClearPlotCalls()
{
    Recorder().calls.clear();
}

void TuningWindowTest::Resize(int width, int height) const
{
    SendMessageA(main_, WM_SIZE, 0, MAKELPARAM(width, height));
}

RECT TuningWindowTest::PlotRect(int window) const
{
    RECT rect;
    GetWindowRect(Data()->plotWindows[window], &rect);
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

double PlotYMin(HWND plot)
{
    double value = 0.0;
    SendMessageA(plot, PLM_GETYMIN, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}

double PlotYMax(HWND plot)
{
    double value = 0.0;
    SendMessageA(plot, PLM_GETYMAX, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}
