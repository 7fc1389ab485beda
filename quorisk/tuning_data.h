// The tuning program's central record: plot windows, gain sliders, test
// settings, program settings, the current axis's abilities, the controller
// handle and the captured samples of every axis.
#ifndef QUORISK_TUNING_DATA_H
#define QUORISK_TUNING_DATA_H

#include <windows.h>

#include <cstdint>
#include <vector>

// Number of axes whose captured samples the record keeps (axes 1..16).
enum { MAX_SERIES_AXES = 16 };

// Plot layouts: the radio button ids of the plot settings page.
enum { PLOT_STYLE_SINGLE = 1220, PLOT_STYLE_MULTI = 1221, PLOT_STYLE_SEPARATE = 1222 };

enum { PLOT_WINDOW_COUNT = 5 };

// Reads the gain of `axis` and, when `newGain` is given, writes it to the axis
// and to `partner` (0 = none). Returns the gain as read before any write.
typedef double (*GainAccessFunction)(short controller, short axis, short partner,
                                     const double* newGain);

struct GainSlider {
    double percent = 0.0;        // gain = percent / 100 x fullScale
    double upperPercent = 100.0; // visible span of the slider
    double lowerPercent = 0.0;
    double fullScale = 10.0;     // gain at 100 percent
    GainAccessFunction access = nullptr;
};

// Times in seconds.
struct TestSettings {
    int32_t Count = 1;           // repetitions in repeat mode
    uint8_t Cycle = 0;           // move back after Dwell
    double Delay = 0.0;          // capture delay
    double Distance = 100.0;     // step size, position units
    double Dwell = 0.0;          // dwell before the return move
    int32_t points = 512;        // capture points, start point included
    double RDwell = 0.0;         // dwell between repetitions
    double period = 0.0;         // capture period
    double RecordTime = 0.5;
    uint8_t Repeat = 0;
    int32_t Sampling = 1;        // keep every 1st, 2nd or 4th point
    uint8_t Trajectory = 0;      // trajectory generator on (mode 2)
};

typedef std::vector<double> CaptureSeries;

// The test an axis's series were recorded or imported with; times in seconds.
struct CaptureTiming {
    int32_t points = 0;          // capture points, start point included
    double period = 0.0;
    double Delay = 0.0;
    int32_t Sampling = 1;
    double RecordTime = 0.5;
    uint8_t tested = 0;          // the series hold a test or an imported file
    uint8_t fromFile = 0;        // imported: distance, cycle and dwell are not known
    double Distance = 0.0;
    uint8_t Cycle = 0;
    double Dwell = 0.0;
};

struct TuningWindowData {
    HWND plotWindows[PLOT_WINDOW_COUNT] = {};
    GainSlider propGain;
    GainSlider intGain;
    GainSlider derGain;
    TestSettings lastTest;       // settings of the last test run or CSV file imported
    TestSettings testSettings;   // live settings for the next test
    int32_t AutoInit = 0;
    int32_t Axis = 1;            // current axis, from 1
    double AuxiliaryScale = 1.0;
    int32_t hasAuxEncoder = 0;
    int32_t hasAdvancedCapture = 0;
    int32_t hasTorqueCapture = 0;
    uint8_t Gantry = 0;
    int32_t GantryMaster = 1;
    int32_t GantrySlave = 2;
    uint8_t GantryShare = 1;
    int16_t controller = 0;      // > 0 open, 0 none, < 0 error of the last open
    HWND panelWindow = nullptr;
    HWND mainWindow = nullptr;
    int32_t ControllerID = 0;
    int32_t sliderSetupMask = 0; // 1 P, 2 I, 4 D
    uint8_t PlotActual = 1;
    uint8_t PlotAuxiliary = 0;
    uint8_t PlotOptimal = 1;
    uint8_t PlotError = 1;
    uint8_t PlotTarget = 1;
    uint8_t PlotTorque = 0;
    uint8_t modified = 0;
    int32_t PlotStyle = PLOT_STYLE_MULTI;
    int32_t testDone = 0;
    CaptureSeries actualSeries[MAX_SERIES_AXES];
    CaptureSeries auxiliarySeries[MAX_SERIES_AXES];
    CaptureSeries optimalSeries[MAX_SERIES_AXES];
    CaptureSeries errorSeries[MAX_SERIES_AXES];
    CaptureSeries torqueSeries[MAX_SERIES_AXES];
    CaptureSeries noSeries;      // handed out for an axis outside 1..16, always emptied
    CaptureTiming seriesTiming[MAX_SERIES_AXES]; // what the plots, CSV export and print show
    CaptureTiming noTiming;      // handed out for an axis outside 1..16, always reset
    int32_t axisCount = 0;       // axes of the open controller; 0 with none open
    uint8_t readoutTimerOn = 0;  // the main window's readout timer runs
    // What the readout timer showed last.
    int32_t lastAxisShown = -1;
    double lastPositionShown = -1.0;
    DWORD lastStatusWord = 0xFFFFFFFF;
    int32_t readoutDecimals = 0;
};

// Constructs the record in place with its defaults.
TuningWindowData* InitTuningWindowData(TuningWindowData* record);
// Releases the series; freeing the record is the caller's.
void DestroyTuningWindowData(TuningWindowData* record);

// Series of `axis` (1..16), or of the current axis when axis <= 0. An axis
// outside 1..16 gets an empty series that is never kept.
CaptureSeries& GetActualSeries(TuningWindowData* record, int axis);
CaptureSeries& GetAuxiliarySeries(TuningWindowData* record, int axis);
CaptureSeries& GetOptimalSeries(TuningWindowData* record, int axis);
CaptureSeries& GetErrorSeries(TuningWindowData* record, int axis);
CaptureSeries& GetTorqueSeries(TuningWindowData* record, int axis);

// Timing of the series of `axis` (1..16), or of the current axis when
// axis <= 0; an axis outside 1..16 gets a default that is never kept.
CaptureTiming& GetSeriesTiming(TuningWindowData* record, int axis);
// Gives the series of `axis` the timing, distance and cycle of `test`.
void KeepSeriesTiming(TuningWindowData* record, int axis, const TestSettings& test);
// Empties every axis's series and forgets their tests.
void ForgetAllSeries(TuningWindowData* record);
// testDone is set and the current axis's series hold a test of their own.
bool ShownAxisTested(TuningWindowData* record);

// PlotAuxiliary when the axis has an auxiliary encoder, else 0.
uint8_t AuxiliaryPlotted(const TuningWindowData* record);

// Plot windows the current style and plot flags need (at least 1).
int CountPlotWindows(const TuningWindowData* record);

// Copies all but Count, RDwell and Repeat.
TestSettings* CopyTestSettings(TestSettings* destination, const TestSettings* source);

// The record kept in the main window's user data (null before WM_CREATE).
TuningWindowData* GetTuningData(HWND mainWindow);

#endif
