// Controller command files (export, and the file choice for their import) and
// CSV files of the current axis's last captured test.
#include "tuning_files.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "controller.h"
#include "tavro_binding.h"
#include "tuning_data.h"

namespace {

// The file dialog reads these after ChooseDataFile returns.
char g_filterList[256];
char g_commandFileExtension[16];
char g_initialDirectory[MAX_PATH];

// Appends one zero-terminated string to the filter list, never writing
// into its last two bytes, which stay zero and close the list.
void AppendFilterString(size_t* position, const char* text)
{
    const size_t limit = sizeof(g_filterList) - 2;
    size_t length = strlen(text);
    if (*position >= limit) {
        return;
    }
    if (length > limit - *position) {
        length = limit - *position;
    }
    memcpy(g_filterList + *position, text, length);
    g_filterList[*position + length] = '\0';
    *position += length + 1;
}

void BuildCommandFileFilter(HWND owner)
{
    TuningWindowData* data = GetTuningData(owner);
    TavroControllerConfig config = {};
    config.size = 124;
    g_tavro.TavroGetConfigurationEx(data ? data->controller : 0, &config);
    char description[32] = {};
    g_tavro.TavroDLG_ControllerDescEx(config.controllerType, 1, description, sizeof(description));
    description[sizeof(description) - 1] = '\0';
    memset(g_commandFileExtension, 0, sizeof(g_commandFileExtension));
    g_tavro.TavroDLG_CommandFileExt(config.controllerType, 0, g_commandFileExtension,
                                    sizeof(g_commandFileExtension));
    g_commandFileExtension[sizeof(g_commandFileExtension) - 1] = '\0';

    char name[128];
    char pattern[32];
    snprintf(name, sizeof(name), "%s Files (*.%s)", description, g_commandFileExtension);
    snprintf(pattern, sizeof(pattern), "*.%s", g_commandFileExtension);
    size_t position = 0;
    AppendFilterString(&position, name);
    AppendFilterString(&position, pattern);
    AppendFilterString(&position, "All files (*.*)");
    AppendFilterString(&position, "*.*");
}

void BuildCsvFilter()
{
    size_t position = 0;
    AppendFilterString(&position, "Comma Separated Value Files (*.csv)");
    AppendFilterString(&position, "*.csv");
    AppendFilterString(&position, "All files (*.*)");
    AppendFilterString(&position, "*.*");
}

// FR value: derivative sample period in servo periods, minus one; 0 when
// the axis has no servo period to count in.
int DerivativeSamplingCode(double derivativePeriod, double servoPeriod)
{
    if (!(servoPeriod > 0.0)) {
        return 0;
    }
    // The tolerance keeps an exact multiple from truncating one short.
    double periods = derivativePeriod / servoPeriod * (1.0 + 1e-9);
    if (!std::isfinite(periods) || periods >= static_cast<double>(INT_MAX) ||
        periods <= static_cast<double>(INT_MIN)) {
        return 0;
    }
    return static_cast<int>(periods) - 1;
}

void WriteServoAxisCommands(FILE* file, short controller, short axis, int decimals,
                            const TavroMotionConfig& motion)
{
    TavroFilterConfig filter = {};
    g_tavro.TavroGetFilterConfig(controller, axis, &filter);
    double servoPeriod = 0.0;
    if (GetServoPeriod(controller, axis, &servoPeriod) != 0) {
        servoPeriod = 0.0;
    }
    fprintf(file, ";\r\n;Axis %d setup\r\n;\r\n", axis);
    fprintf(file, "%dSG%.*lf\t\t;Proportional Gain\r\n", axis, decimals, motion.proportionalGain);
    fprintf(file, "%dSI%.*lf\t\t;Integral Gain\r\n", axis, decimals, filter.integralGain);
    fprintf(file, "%dSD%.*lf\t\t;Derivative Gain\r\n", axis, decimals, filter.derivativeGain);
    fprintf(file, "%dIL%.*lf\t\t;Integration Limit\r\n", axis, decimals, filter.integrationLimit);
    fprintf(file, "%dFR%d\t\t;Derivative Sampling Period\r\n", axis,
            DerivativeSamplingCode(filter.derivativePeriod, servoPeriod));
    fprintf(file, "%dVG%.*lf\t\t;Velocity Gain (Feed Forward)\r\n", axis, decimals,
            filter.velocityGain);
    fprintf(file, "%dSE%.*lf\t\t;Stop on Error\r\n", axis, decimals, filter.maxFollowingError);
    fprintf(file, "%dSQ%.*lf\t\t;Torque\r\n", axis, decimals, motion.maxTorque);
}

double ValueAt(const CaptureSeries& series, size_t row, bool wanted)
{
    return (wanted && row < series.size()) ? series[row] : 0.0;
}

} // namespace

void ChooseDataFile(HWND owner, OPENFILENAMEA* dialog, char* path, DWORD pathSize, int csv)
{
    memset(g_filterList, 0, sizeof(g_filterList));
    if (csv) {
        BuildCsvFilter();
    } else {
        BuildCommandFileFilter(owner);
    }
    DWORD length = GetCurrentDirectoryA(sizeof(g_initialDirectory), g_initialDirectory);
    if (length == 0 || length >= sizeof(g_initialDirectory)) {
        g_initialDirectory[0] = '\0';
    }
    memset(dialog, 0, sizeof(*dialog));
    dialog->lStructSize = sizeof(OPENFILENAMEA);
    dialog->hwndOwner = owner;
    dialog->hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    dialog->lpstrFilter = g_filterList;
    dialog->nFilterIndex = 0;
    dialog->lpstrFile = path;
    dialog->nMaxFile = pathSize;
    dialog->lpstrInitialDir = g_initialDirectory[0] ? g_initialDirectory : nullptr;
    dialog->lpstrDefExt = csv ? "csv" : g_commandFileExtension;
}

int ChooseFileToOpen(HWND owner, char* path, DWORD pathSize, int csv)
{
    OPENFILENAMEA dialog;
    ChooseDataFile(owner, &dialog, path, pathSize, csv);
    dialog.Flags = OFN_HIDEREADONLY | OFN_CREATEPROMPT;
    return GetOpenFileNameA(&dialog) ? 1 : 0;
}

int ChooseFileToSave(HWND owner, char* path, DWORD pathSize, int csv)
{
    OPENFILENAMEA dialog;
    ChooseDataFile(owner, &dialog, path, pathSize, csv);
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    return GetSaveFileNameA(&dialog) ? 1 : 0;
}

void WriteTuningCommandFile(short controller, const char* path)
{
    // Read before the file is opened: without a controller an existing file
    // stays as it was.
    TavroControllerConfig config;
    if (!ReadControllerConfig(controller, &config)) {
        return;
    }
    FILE* file = fopen(path, "wb");
    if (!file) {
        return;
    }
    int decimals = (config.flags & TAVRO_CTRL_FRACTIONAL_GAINS) ? 5 : 0;
    for (int i = 1; i <= config.axisCount; ++i) {
        short axis = static_cast<short>(i);
        TavroAxisConfig axisConfig = {};
        axisConfig.size = sizeof(axisConfig);
        g_tavro.TavroGetAxisConfiguration(controller, axis, &axisConfig);
        TavroMotionConfig motion = {};
        g_tavro.TavroGetMotionConfig(controller, axis, &motion);
        if (axisConfig.axisFlags & TAVRO_AXIS_SERVO) {
            WriteServoAxisCommands(file, controller, axis, decimals, motion);
        }
        fprintf(file, "%dSV%.*lf\t\t;Velocity\r\n", i, decimals, motion.velocity);
        fprintf(file, "%dSA%.*lf\t\t;Acceleration\r\n", i, decimals, motion.acceleration);
        fprintf(file, "%dDS%.*lf\t\t;Deceleration\r\n", i, decimals, motion.deceleration);
    }
    fclose(file);
}

void ExportCaptureCsv(HWND mainWindow, const char* path)
{
    TuningWindowData* data = GetTuningData(mainWindow);
    if (!data) {
        return;
    }
    FILE* file = fopen(path, "w");
    if (!file) {
        return;
    }
    const CaptureTiming& timing = GetSeriesTiming(data, 0);
    const CaptureSeries& actual = GetActualSeries(data, 0);
    const CaptureSeries& optimal = GetOptimalSeries(data, 0);
    const CaptureSeries& error = GetErrorSeries(data, 0);
    const CaptureSeries& torque = GetTorqueSeries(data, 0);
    const CaptureSeries& auxiliary = GetAuxiliarySeries(data, 0);
    bool withAuxiliary = AuxiliaryPlotted(data) != 0;
    int step = timing.Sampling > 0 ? timing.Sampling : 1;

    fputs("Time, Actual, Optimal, Error, Torque\n", file);
    // One row per sample the axis recorded, never beyond.
    size_t row = 0;
    for (long long sample = 0; sample < timing.points && row < actual.size();
         sample += step, ++row) {
        fprintf(file, "%.6f, %g, %g, %g, %g, %g\n",
                static_cast<double>(sample) * timing.period + timing.Delay,
                ValueAt(actual, row, data->PlotActual != 0),
                ValueAt(optimal, row, data->PlotOptimal != 0),
                ValueAt(error, row, data->PlotError != 0),
                ValueAt(torque, row, data->PlotTorque != 0),
                ValueAt(auxiliary, row, withAuxiliary));
    }
    fclose(file);
}

int ImportCaptureCsv(HWND mainWindow, const char* path)
{
    TuningWindowData* data = GetTuningData(mainWindow);
    if (!data) {
        return 0;
    }
    FILE* file = fopen(path, "rb");
    if (!file) {
        return 0;
    }
    CaptureSeries& actual = GetActualSeries(data, 0);
    CaptureSeries& optimal = GetOptimalSeries(data, 0);
    CaptureSeries& error = GetErrorSeries(data, 0);
    CaptureSeries& torque = GetTorqueSeries(data, 0);
    CaptureSeries& auxiliary = GetAuxiliarySeries(data, 0);
    actual.clear();
    optimal.clear();
    error.clear();
    torque.clear();
    auxiliary.clear();

    char header[256];
    std::vector<double> times;
    if (fgets(header, sizeof(header), file)) {
        double values[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
        while (fscanf(file, "%lg, %lg, %lg, %lg, %lg, %lg\n", &values[0], &values[1], &values[2],
                      &values[3], &values[4], &values[5]) >= 5) {
            times.push_back(values[0]);
            actual.push_back(values[1]);
            optimal.push_back(values[2]);
            error.push_back(values[3]);
            torque.push_back(values[4]);
            // A five-value row keeps the previous row's auxiliary value.
            auxiliary.push_back(values[5]);
        }
    }
    fclose(file);

    TestSettings& test = data->lastTest;
    test.points = times.size() > static_cast<size_t>(INT_MAX) ? INT_MAX
                                                              : static_cast<int32_t>(times.size());
    if (times.empty()) {
        // The cleared series hold no test any more; other axes keep theirs.
        GetSeriesTiming(data, 0) = CaptureTiming();
        return 1;
    }
    double first = times.front();
    double span = times.back() - first;
    if (first >= 0.0 && std::isfinite(first)) {
        test.Delay = first;
    }
    if (span > 0.0 && std::isfinite(span)) {
        test.RecordTime = span;
    }
    // One kept sample per row at the file's mean step, so that an export
    // gives evenly spaced times back as they were read.
    if (times.size() > 1 && span >= 0.0 && std::isfinite(span)) {
        test.period = span / static_cast<double>(times.size() - 1);
    }
    test.Sampling = 1;
    KeepSeriesTiming(data, 0, test);
    GetSeriesTiming(data, 0).fromFile = 1;
    data->testDone = 1;
    return 1;
}
