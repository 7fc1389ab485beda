// The printed step-response page: title, the plot windows drawn by
// themselves into their bands, the "Test Parameters" and "Axis
// Configuration" columns and a two-line footer. The job state (cancel flag
// and cancel dialog) is module-level: one job runs at a time.
#include "printing.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "settings.h"
#include "tavro_binding.h"
#include "tuning_data.h"
#include "vistrel.h"
#include "window_utils.h"

namespace {

int g_printCancelled = 0;
HWND g_cancelDialog = nullptr;

const char FOOTER_LINE_1[] = "Korvane Servo Tuning Program Version " TUNING_PROGRAM_VERSION;
const char FOOTER_LINE_2[] = "www.korvane.com";

struct PageFonts {
    HFONT heading;
    HFONT body;
    double y0;      // first row
    double rowStep;
};

HFONT CreateArialFont(int height, int weight, bool underline)
{
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfUnderline = underline ? TRUE : FALSE;
    snprintf(font.lfFaceName, sizeof(font.lfFaceName), "Arial");
    return CreateFontIndirectA(&font);
}

void PutText(HDC dc, int x, int y, const char* text)
{
    TextOutA(dc, x, y, text, static_cast<int>(strlen(text)));
}

// One column: its heading, then (row, label, value) entries at row n of
// about y0 + n x rowStep.
struct ColumnRow {
    int row;
    const char* label;
    const char* value;
};

void DrawColumn(HDC dc, const PageFonts& fonts, int x, int valueX, int headingY,
                const char* heading, const ColumnRow* rows, int count)
{
    SelectObject(dc, fonts.heading);
    PutText(dc, x, headingY, heading);
    SelectObject(dc, fonts.body);
    double y = fonts.y0;
    int previous = 0;
    for (int i = 0; i < count; ++i) {
        y += (rows[i].row - previous) * fonts.rowStep;
        previous = rows[i].row;
        PutText(dc, x, static_cast<int>(y), rows[i].label);
        PutText(dc, valueX, static_cast<int>(y), rows[i].value);
    }
}

void DrawTitle(HDC dc, HFONT entryFont, int width, int ascent)
{
    HFONT title = CreateArialFont(static_cast<int>(2.0 * ascent), 700, false);
    SelectObject(dc, title);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    PutText(dc, width / 2 - 7 * metrics.tmAveCharWidth, 2 * metrics.tmAscent,
             "Step Response Plot");
    SelectObject(dc, entryFont);
    DeleteObject(title);
}

void DrawTestParameters(HDC dc, const PageFonts& fonts, int averageWidth, int width, int height,
                        TuningWindowData* data, const TavroControllerConfig& controller,
                        const TavroAxisConfig& axis)
{
    char date[256] = "";
    char timeText[256] = "";
    time_t now = time(nullptr);
    if (const tm* local = localtime(&now)) {
        strftime(date, sizeof(date), "%d-%b-%Y", local);
        strftime(timeText, sizeof(timeText), "%I:%M:%S %p", local);
    }
    char controllerType[256] = "";
    g_tavro.TavroDLG_ControllerDescEx(controller.controllerType, 1, controllerType,
                                      sizeof(controllerType));
    controllerType[sizeof(controllerType) - 1] = '\0';
    char axisType[256] = "";
    g_tavro.TavroDLG_ModuleDescEx(axis.moduleType, 1, axisType, sizeof(axisType));
    axisType[sizeof(axisType) - 1] = '\0';

    // The test that made the shown axis's series; a file gives no distance,
    // cycle or dwell.
    const CaptureTiming& timing = GetSeriesTiming(data, 0);
    char axisNumber[256], distance[256] = "", delay[256], record[256], points[256],
        period[256], dwell[256] = "";
    snprintf(axisNumber, sizeof(axisNumber), "%-2d", data->Axis);
    if (!timing.fromFile) {
        snprintf(distance, sizeof(distance), "%-10.10g", timing.Distance);
        snprintf(dwell, sizeof(dwell), "%-10.10g sec", timing.Dwell);
    }
    snprintf(delay, sizeof(delay), "%-10.10g sec", timing.Delay);
    snprintf(record, sizeof(record), "%-10.10g sec", timing.RecordTime);
    snprintf(points, sizeof(points), "%d", timing.points);
    snprintf(period, sizeof(period), "%-10.10g sec", timing.period);

    const ColumnRow rows[] = {
        {0, "Test Date", date},
        {1, "Test Time", timeText},
        {3, "Controller Type", controllerType},
        {4, "Axis Type", axisType},
        {5, "Axis Number", axisNumber},
        {7, "Move Distance", distance},
        {8, "Delay Before Capture", delay},
        {9, "Capture Time", record},
        {10, "    Capture Points", points},
        {11, "    Capture Interval", period},
        {12, "Cycle Mode", timing.fromFile ? "" : timing.Cycle ? "yes" : "no"},
        {13, "Cycle Dwell", dwell},
    };
    DrawColumn(dc, fonts, static_cast<int>(0.2 * width),
               static_cast<int>(24.0 * averageWidth + 0.2 * width), static_cast<int>(0.68 * height),
               "Test Parameters", rows, sizeof(rows) / sizeof(rows[0]));
}

void FormatLoopRate(char* buffer, size_t size, const TavroMotionConfig& motion,
                    const TavroAxisConfig& axis)
{
    switch (motion.updateRate) {
    case TAVRO_RATE_LOW:
        snprintf(buffer, size, "%-10g sec (Low)", axis.samplePeriodLow);
        break;
    case TAVRO_RATE_MED:
        snprintf(buffer, size, "%-10g sec (Med)", axis.samplePeriodMed);
        break;
    case TAVRO_RATE_HIGH:
        snprintf(buffer, size, "%-10g sec (High)", axis.samplePeriodHigh);
        break;
    default:
        snprintf(buffer, size, "Unknown");
        break;
    }
}

const char* ProfileName(short profile)
{
    switch (profile) {
    case TAVRO_PROFILE_TRAPEZOIDAL:
        return "Trapezoidal";
    case TAVRO_PROFILE_SCURVE:
        return "S-Curve";
    case TAVRO_PROFILE_PARABOLIC:
        return "Parabolic";
    }
    return "Unknown";
}

void DrawAxisConfiguration(HDC dc, const PageFonts& fonts, int averageWidth, int width, int height,
                           TuningWindowData* data, const TavroAxisConfig& axis)
{
    short axisNumber = static_cast<short>(data->Axis);
    TavroMotionConfig motion = {};
    g_tavro.TavroGetMotionConfig(data->controller, axisNumber, &motion);
    TavroFilterConfig filter = {};
    g_tavro.TavroGetFilterConfig(data->controller, axisNumber, &filter);
    short profile = 0;
    g_tavro.TavroGetProfile(data->controller, axisNumber, &profile);

    char proportional[256], integral[256], derivative[256], limit[256], sample[256],
        velocityGain[256], loopRate[256], finalPosition[256] = "", velocity[256],
        acceleration[256], deceleration[256], torque[256], followingError[256];
    snprintf(proportional, sizeof(proportional), "%-10g", motion.proportionalGain);
    snprintf(integral, sizeof(integral), "%-10g", filter.integralGain);
    snprintf(derivative, sizeof(derivative), "%-10g", filter.derivativeGain);
    snprintf(limit, sizeof(limit), "%-10g", filter.integrationLimit);
    snprintf(sample, sizeof(sample), "%-10g sec", filter.derivativePeriod);
    snprintf(velocityGain, sizeof(velocityGain), "%-10g", filter.velocityGain);
    FormatLoopRate(loopRate, sizeof(loopRate), motion, axis);
    const CaptureSeries& actual = GetActualSeries(data, 0);
    if (!actual.empty()) {
        snprintf(finalPosition, sizeof(finalPosition), "%-10g", actual.back());
    }
    snprintf(velocity, sizeof(velocity), "%-10g", motion.velocity);
    snprintf(acceleration, sizeof(acceleration), "%-10g", motion.acceleration);
    snprintf(deceleration, sizeof(deceleration), "%-10g", motion.deceleration);
    snprintf(torque, sizeof(torque), "%-10g", motion.maxTorque);
    snprintf(followingError, sizeof(followingError), "%-10g", filter.maxFollowingError);

    const ColumnRow rows[] = {
        {0, "Proportional Gain", proportional},
        {1, "Integral Gain", integral},
        {2, "Derivative Gain", derivative},
        {3, "Integration Limit", limit},
        {4, "Derivative Sample", sample},
        {5, "Velocity Gain", velocityGain},
        {6, "Loop Rate", loopRate},
        {8, "Final Position", finalPosition},
        {9, "Velocity", velocity},
        {10, "Acceleration", acceleration},
        {11, "Deceleration", deceleration},
        {12, "Profile", ProfileName(profile)},
        {13, "Maximum Torque", torque},
        {14, "Max. Following Error", followingError},
    };
    DrawColumn(dc, fonts, static_cast<int>(0.55 * width),
               static_cast<int>(24.0 * averageWidth + 0.55 * width),
               static_cast<int>(0.68 * height), "Axis Configuration", rows,
               sizeof(rows) / sizeof(rows[0]));
}

// a0 of the page: the ascent of the device's default font (selected on
// entry). Some printer drivers' default font is too large for the page: the
// text columns would run off the page and the title into the plots.
int PageAscent(HDC dc, int height)
{
    TEXTMETRICA entry = {};
    GetTextMetricsA(dc, &entry);
    return entry.tmAscent > height / 120 ? height / 120 : entry.tmAscent;
}

// Height of the body text, in device units.
int BodyHeight(int ascent)
{
    return static_cast<int>(1.25 * ascent);
}

void DrawFooter(HDC dc, HFONT entryFont, int width, int height, int entryAscent)
{
    HFONT footer = CreateArialFont(static_cast<int>(0.75 * entryAscent), 400, false);
    SelectObject(dc, footer);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int ascent = metrics.tmAscent;
    int average = metrics.tmAveCharWidth;
    int length1 = static_cast<int>(strlen(FOOTER_LINE_1));
    int length2 = static_cast<int>(strlen(FOOTER_LINE_2));
    PutText(dc, width / 2 - (length1 / 2) * average, static_cast<int>(height - 4.0 * ascent),
             FOOTER_LINE_1);
    PutText(dc, width / 2 - (length2 / 2) * average, static_cast<int>(height - 2.0 * ascent),
             FOOTER_LINE_2);
    SelectObject(dc, entryFont);
    DeleteObject(footer);
}

// Places a plot window's picture into a band of the page and lets it draw,
// with a font whose height in the plot's logical units comes out as
// `textHeight` device units: the plot sizes its texts and layout from it.
void PrintPlot(HDC dc, HWND plot, int textHeight, double extentX, double extentY, double originX,
               double originY)
{
    if (!plot) {
        return;
    }
    int bandHeight = abs(static_cast<int>(extentY));
    if (bandHeight == 0) {
        return;
    }
    SetViewportExtEx(dc, static_cast<int>(extentX), static_cast<int>(extentY), nullptr);
    SetViewportOrgEx(dc, static_cast<int>(originX), static_cast<int>(originY), nullptr);
    SetWindowExtEx(dc, PLOT_LOGICAL_EXTENT, PLOT_LOGICAL_EXTENT, nullptr);
    HFONT font = CreateArialFont(
        static_cast<int>(static_cast<double>(textHeight) * PLOT_LOGICAL_EXTENT / bandHeight), 400,
        false);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    SendMessageA(plot, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
    if (previous) {
        SelectObject(dc, previous);
    }
    if (font) {
        DeleteObject(font);
    }
}

void PrintPlots(HDC dc, TuningWindowData* data, int width, int height, int textHeight)
{
    double W = width;
    double H = height;
    SetMapMode(dc, MM_ANISOTROPIC);
    switch (data->PlotStyle) {
    case PLOT_STYLE_SINGLE:
        PrintPlot(dc, data->plotWindows[0], textHeight, 0.88 * W, -0.55 * H, 0.05 * W, 0.65 * H);
        break;
    case PLOT_STYLE_MULTI: {
        double l = data->PlotTorque ? 0.15 : 0.2;
        PrintPlot(dc, data->plotWindows[0], textHeight, 0.88 * W, -2 * l * H, 0.05 * W,
                  (2 * l + 0.05) * H);
        PrintPlot(dc, data->plotWindows[1], textHeight, 0.88 * W, -l * H, 0.05 * W,
                  (3 * l + 0.05) * H);
        if (data->PlotTorque) {
            PrintPlot(dc, data->plotWindows[2], textHeight, 0.88 * W, -l * H, 0.05 * W,
                      (4 * l + 0.05) * H);
        }
        break;
    }
    case PLOT_STYLE_SEPARATE: {
        int n = CountPlotWindows(data);
        if (n > PLOT_WINDOW_COUNT) {
            n = PLOT_WINDOW_COUNT;
        }
        double l = 0.6 / n;
        for (int i = 0; i < n; ++i) {
            PrintPlot(dc, data->plotWindows[i], textHeight, 0.88 * W, -l * H, 0.05 * W,
                      (0.05 + (i + 1) * l) * H);
        }
        break;
    }
    }
}

// The error of a failed print call: the user's cancel when the job was
// cancelled (the failing call's own code is then stale), never 0.
int FailedPrintCall()
{
    DWORD error = GetLastError();
    if (g_printCancelled) {
        error = ERROR_CANCELLED;
    } else if (error == 0) {
        error = ERROR_GEN_FAILURE;
    }
    return static_cast<int>(error);
}

// StartDoc to EndDoc; a job that fails once started is aborted.
int RunPrintJob(HDC dc, TuningWindowData* data)
{
    DOCINFOA document = {};
    document.cbSize = sizeof(DOCINFOA);
    document.lpszDocName = "Servo Tuning Graph";
    if (StartDocA(dc, &document) <= 0) {
        return FailedPrintCall();
    }
    if (StartPage(dc) <= 0) {
        int error = FailedPrintCall();
        AbortDoc(dc);
        return error;
    }
    RenderStepResponsePage(dc, data);
    if (EndPage(dc) <= 0) {
        int error = FailedPrintCall();
        AbortDoc(dc);
        return error;
    }
    if (EndDoc(dc) <= 0) {
        int error = FailedPrintCall();
        AbortDoc(dc);
        return error;
    }
    return 0;
}

} // namespace

void DrawPrintPage(HDC dc, TuningWindowData* data)
{
    int width = GetDeviceCaps(dc, HORZRES);
    int height = GetDeviceCaps(dc, VERTRES);
    HFONT entryFont = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    int a0 = PageAscent(dc, height);

    DrawTitle(dc, entryFont, width, a0);

    PageFonts fonts = {};
    fonts.heading = CreateArialFont(static_cast<int>(1.75 * a0), 500, true);
    fonts.body = CreateArialFont(BodyHeight(a0), 400, false);
    SelectObject(dc, fonts.body);
    TEXTMETRICA body = {};
    GetTextMetricsA(dc, &body);
    fonts.rowStep = 1.25 * body.tmAscent;
    fonts.y0 = 0.68 * height + 2.0 * fonts.rowStep;

    short axis = static_cast<short>(data->Axis);
    TavroAxisConfig axisConfig = {};
    axisConfig.size = sizeof(axisConfig);
    g_tavro.TavroGetAxisConfiguration(data->controller, axis, &axisConfig);
    TavroControllerConfig controllerConfig = {};
    controllerConfig.size = 124;
    g_tavro.TavroGetConfigurationEx(data->controller, &controllerConfig);

    DrawTestParameters(dc, fonts, body.tmAveCharWidth, width, height, data, controllerConfig,
                       axisConfig);
    DrawAxisConfiguration(dc, fonts, body.tmAveCharWidth, width, height, data, axisConfig);

    DrawFooter(dc, entryFont, width, height, a0);
    DeleteObject(fonts.heading);
    DeleteObject(fonts.body);
}

void RenderStepResponsePage(HDC dc, TuningWindowData* data)
{
    int width = GetDeviceCaps(dc, HORZRES);
    int height = GetDeviceCaps(dc, VERTRES);
    // The plots' text matches the body text of the columns.
    int textHeight = BodyHeight(PageAscent(dc, height));
    DrawPrintPage(dc, data);
    PrintPlots(dc, data, width, height, textHeight);
}

int PrintStepResponse(HWND mainWindow)
{
    TuningWindowData* data = GetTuningData(mainWindow);
    if (!data) {
        return 0;
    }
    PRINTDLGA printer = {};
    printer.lStructSize = sizeof(PRINTDLGA);
    printer.hwndOwner = mainWindow;
    printer.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    if (!PrintDlgA(&printer)) {
        return 0;
    }
    int result = ERROR_INVALID_HANDLE;
    if (printer.hDC) {
        HINSTANCE instance =
            reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
        EnableWindow(mainWindow, FALSE);
        g_printCancelled = 0;
        g_cancelDialog = CreateDialogA(instance, "PrintDialog", mainWindow, PrintCancelDlgProc);
        SetAbortProc(printer.hDC, PrintAbortProc);

        result = RunPrintJob(printer.hDC, data);

        if (!g_printCancelled) {
            EnableWindow(mainWindow, TRUE);
            if (g_cancelDialog) {
                DestroyWindow(g_cancelDialog);
            }
            g_cancelDialog = nullptr;
        }
        DeleteDC(printer.hDC);
    }
    if (printer.hDevMode) {
        GlobalFree(printer.hDevMode);
    }
    if (printer.hDevNames) {
        GlobalFree(printer.hDevNames);
    }
    return result;
}

BOOL CALLBACK PrintAbortProc(HDC, int)
{
    if (g_printCancelled) {
        return FALSE;
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!g_cancelDialog || !IsDialogMessageA(g_cancelDialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (g_printCancelled) {
            return FALSE;
        }
    }
    return TRUE;
}

INT_PTR CALLBACK PrintCancelDlgProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        // A new dialog belongs to a new job: nothing cancelled yet.
        g_printCancelled = 0;
        g_cancelDialog = dialog;
        EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_GRAYED);
        CenterWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        g_printCancelled = 1;
        EnableWindow(GetWindow(dialog, GW_OWNER), TRUE);
        DestroyWindow(dialog);
        g_cancelDialog = nullptr;
        return TRUE;
    }
    return FALSE;
}
