// "PlotWindowClass": the window procedure and its message protocol.
#include "plot_window.h"

#include <new>

namespace {

const COLORREF kDefaultLineColors[PLOT_TRACE_COUNT] = {
    0x02ff8000, 0x0200c0c0, 0x020000ff, 0x0200ff00,
    0x02ff00ff, 0x02ffff00, 0x02808080, 0x02ffffff};

// Answer of the messages whose result can say "refused": trace data, a
// trace's colour and style, and a copy that cannot be made.
const LRESULT kRefused = -1;

// Trace argument of a message: the low 32 bits read as a signed number.
int TraceArg(WPARAM param)
{
    return static_cast<int>(static_cast<DWORD>(param));
}

int IntArg(LPARAM param)
{
    return static_cast<int>(static_cast<DWORD>(param));
}

bool IsTrace(int trace)
{
    return trace >= 0 && trace < PLOT_TRACE_COUNT;
}

// Previous 32-bit value as the signed result of a setter.
LRESULT Previous(DWORD value)
{
    return static_cast<LRESULT>(static_cast<int>(value));
}

LRESULT OnCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlotWindowData* data = new (std::nothrow) PlotWindowData;
    if (!data)
        return -1;
    InitPlotWindowData(data);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlotWindowData* data = PlotDataOf(window);
    if (data) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyPlotWindowData(data);
        delete data;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc)
        PaintPlot(window, dc, PAINT_SCREEN);
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnPrint(HWND window, WPARAM wParam)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (dc)
        PaintPlot(window, dc, PAINT_PRINT);
    return 0;
}

LRESULT ExtendYRange(PlotWindowData* data, WPARAM wParam, LPARAM lParam)
{
    int count = static_cast<int>(static_cast<DWORD>(wParam));
    const double* values = reinterpret_cast<const double*>(lParam);
    if (count == 0 || !values) {
        data->yMin = 1e300;
        data->yMax = 1e-300;
        return 0;
    }
    if (count < 0)
        return 0;
    LRESULT changed = 0;
    for (int i = 0; i < count; ++i) {
        double v = values[i];
        if (v < data->yMin) {
            data->yMin = v;
            changed = 1;
        }
        if (v > data->yMax) {
            data->yMax = v;
            changed = 1;
        }
    }
    return changed;
}

LRESULT ClearTrace(HWND window, PlotWindowData* data, WPARAM wParam, LPARAM lParam)
{
    int trace = IntArg(lParam);
    if (trace == -1) {
        for (std::vector<double>& samples : data->traceSamples)
            samples.clear();
    } else if (IsTrace(trace)) {
        data->traceSamples[trace].clear();
    }
    if (wParam)
        InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT SetTraceData(PlotWindowData* data, WPARAM wParam, LPARAM lParam)
{
    int trace = LOWORD(wParam);
    int count = HIWORD(wParam);
    const double* values = reinterpret_cast<const double*>(lParam);
    if (!IsTrace(trace) || (count > 0 && !values))
        return kRefused;
    try {
        std::vector<double>(values, values + count).swap(data->traceSamples[trace]);
    } catch (const std::bad_alloc&) {
        return kRefused;
    }
    return trace;
}

// Text setters answer 0 whether they take the text or refuse a null pointer;
// -1 only when the copy cannot be made.
LRESULT SetText(std::string* field, LPARAM lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    if (!text)
        return 0;
    try {
        field->assign(text);
    } catch (const std::bad_alloc&) {
        return kRefused;
    }
    return 0;
}

LRESULT SetTraceLabel(PlotWindowData* data, WPARAM wParam, LPARAM lParam)
{
    int trace = TraceArg(wParam);
    if (!IsTrace(trace))
        return 0;
    return SetText(&data->traceLabels[trace], lParam);
}

LRESULT GetDouble(double value, LPARAM lParam)
{
    double* target = reinterpret_cast<double*>(lParam);
    if (target)
        *target = value;
    return 0;
}

LRESULT SetDouble(double* field, LPARAM lParam)
{
    const double* source = reinterpret_cast<const double*>(lParam);
    if (source)
        *field = *source;
    return 0;
}

LRESULT SetColor(COLORREF* field, LPARAM lParam)
{
    COLORREF previous = *field;
    *field = static_cast<COLORREF>(lParam);
    return Previous(previous);
}

LRESULT SetDivisions(int* field, LPARAM lParam)
{
    int count = IntArg(lParam);
    if (count >= 1 && count <= PLOT_MAX_DIVISIONS)
        *field = count;
    return 0;
}

LRESULT GetLineColor(PlotWindowData* data, WPARAM wParam)
{
    int trace = TraceArg(wParam);
    return IsTrace(trace) ? Previous(data->lineColors[trace]) : kRefused;
}

LRESULT GetLineStyle(PlotWindowData* data, WPARAM wParam)
{
    int trace = TraceArg(wParam);
    return IsTrace(trace) ? data->lineStyles[trace] : kRefused;
}

LRESULT SetLineColor(PlotWindowData* data, WPARAM wParam, LPARAM lParam)
{
    int trace = TraceArg(wParam);
    if (!IsTrace(trace))
        return kRefused;
    return SetColor(&data->lineColors[trace], lParam);
}

LRESULT SetLineStyle(PlotWindowData* data, WPARAM wParam, LPARAM lParam)
{
    int trace = TraceArg(wParam);
    if (!IsTrace(trace))
        return kRefused;
    int previous = data->lineStyles[trace];
    data->lineStyles[trace] = IntArg(lParam);
    return previous;
}

LRESULT OnRedraw(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    InvalidateRect(window, nullptr, FALSE);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool IsPlotMessage(UINT message)
{
    return message >= PLM_EXTENDYRANGE && message <= PLM_REDRAW;
}

// One plot message for a window that has its record; `handled` is false for
// ids the protocol does not use.
LRESULT OnPlotMessage(HWND window, PlotWindowData* data, UINT message, WPARAM wParam,
                      LPARAM lParam, bool* handled)
{
    *handled = true;
    switch (message) {
    case PLM_EXTENDYRANGE:   return ExtendYRange(data, wParam, lParam);
    case PLM_CLEARTRACE:     return ClearTrace(window, data, wParam, lParam);
    case PLM_SETTRACEDATA:   return SetTraceData(data, wParam, lParam);
    case PLM_GETBACKCOLOR:   return Previous(data->backColor);
    case PLM_GETCOLORSTYLE:  return data->colorStyle;
    case PLM_GETFLAGS:       return data->flags;
    case PLM_GETGRIDCOLOR:   return Previous(data->gridColor);
    case PLM_GETLINECOLOR:   return GetLineColor(data, wParam);
    case PLM_GETLINESTYLE:   return GetLineStyle(data, wParam);
    case PLM_GETMARGINCOLOR: return Previous(data->marginColor);
    case PLM_GETTEXTCOLOR:   return Previous(data->textColor);
    case PLM_GETXDIVISIONS:  return data->xDivisions;
    case PLM_GETXMIN:        return GetDouble(data->xMin, lParam);
    case PLM_GETXMAX:        return GetDouble(data->xMax, lParam);
    case PLM_GETYDIVISIONS:  return data->yDivisions;
    case PLM_GETYMIN:        return GetDouble(data->yMin, lParam);
    case PLM_GETYMAX:        return GetDouble(data->yMax, lParam);
    case PLM_SETBACKCOLOR:   return SetColor(&data->backColor, lParam);
    case PLM_SETCOLORSTYLE:  data->colorStyle = IntArg(lParam); return 0;
    case PLM_SETTRACELABEL:  return SetTraceLabel(data, wParam, lParam);
    case PLM_SETFLAGS:       data->flags = IntArg(lParam); return 0;
    case PLM_SETGRIDCOLOR:   return SetColor(&data->gridColor, lParam);
    case PLM_SETLINECOLOR:   return SetLineColor(data, wParam, lParam);
    case PLM_SETLINESTYLE:   return SetLineStyle(data, wParam, lParam);
    case PLM_SETMARGINCOLOR: return SetColor(&data->marginColor, lParam);
    case PLM_SETTEXTCOLOR:   return SetColor(&data->textColor, lParam);
    case PLM_SETXDIVISIONS:  return SetDivisions(&data->xDivisions, lParam);
    case PLM_SETXFORMAT:     return SetText(&data->xFormat, lParam);
    case PLM_SETXTITLE:      return SetText(&data->xTitle, lParam);
    case PLM_SETXMIN:        return SetDouble(&data->xMin, lParam);
    case PLM_SETXMAX:        return SetDouble(&data->xMax, lParam);
    case PLM_SETYDIVISIONS:  return SetDivisions(&data->yDivisions, lParam);
    case PLM_SETYFORMAT:     return SetText(&data->yFormat, lParam);
    case PLM_SETYTITLE:      return SetText(&data->yTitle, lParam);
    case PLM_SETYMIN:        return SetDouble(&data->yMin, lParam);
    case PLM_SETYMAX:        return SetDouble(&data->yMax, lParam);
    case PLM_REDRAW:         return OnRedraw(window, message, wParam, lParam);
    }
    *handled = false;
    return 0;
}

} // namespace

PlotWindowData* PlotDataOf(HWND window)
{
    return reinterpret_cast<PlotWindowData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void InitPlotWindowData(PlotWindowData* data)
{
    data->backColor = 0x02002000;
    data->colorStyle = 1;
    for (int i = 0; i < PLOT_TRACE_COUNT; ++i) {
        data->traceLabels[i].clear();
        data->traceSamples[i].clear();
        data->lineStyles[i] = PS_SOLID;
        data->lineColors[i] = kDefaultLineColors[i];
    }
    data->flags = 0;
    data->gridColor = 0x02008020;
    data->marginColor = 0x02002000;
    data->textColor = 0x02008020;
    data->xDivisions = 10;
    data->yDivisions = 10;
    data->xFormat = "%lg";
    data->yFormat = "%lg";
    data->xTitle.clear();
    data->yTitle.clear();
    data->xMin = 0.0;
    data->yMin = 0.0;
    data->xMax = 100.0;
    data->yMax = 100.0;
    data->logicalWidth = PLOT_LOGICAL_EXTENT;
    data->logicalHeight = PLOT_LOGICAL_EXTENT;
}

void DestroyPlotWindowData(PlotWindowData* data)
{
    for (int i = 0; i < PLOT_TRACE_COUNT; ++i) {
        std::string().swap(data->traceLabels[i]);
        std::vector<double>().swap(data->traceSamples[i]);
    }
    std::string().swap(data->xFormat);
    std::string().swap(data->yFormat);
    std::string().swap(data->xTitle);
    std::string().swap(data->yTitle);
}

LRESULT CALLBACK PlotWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, message, wParam, lParam);
    case WM_DESTROY:
        return OnDestroy(window, message, wParam, lParam);
    case WM_PAINT:
        return OnPaint(window);
    case WM_PRINT:
    case WM_PRINTCLIENT:
        return OnPrint(window, wParam);
    }
    if (IsPlotMessage(message)) {
        PlotWindowData* data = PlotDataOf(window);
        if (data) {
            bool handled = false;
            LRESULT result = OnPlotMessage(window, data, message, wParam, lParam, &handled);
            if (handled)
                return result;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
