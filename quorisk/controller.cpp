#include "controller.h"

#include "plot_refresh.h"
#include "resource.h"
#include "settings.h"
#include "tavro_binding.h"
#include "tuning_data.h"

#include <cmath>
#include <cstring>

namespace {

// Record sizes the program announces to the library.
const uint32_t CONTROLLER_CONFIG_SIZE = 124;
const uint32_t AXIS_CONFIG_SIZE = 104;

const int CONTROLLER_TYPE_8 = 8;

bool ReadAxisConfig(short controller, short axis, TavroAxisConfig* config)
{
    memset(config, 0, sizeof(*config));
    config->size = AXIS_CONFIG_SIZE;
    return g_tavro.TavroGetAxisConfiguration(controller, axis, config) == TAVRO_OK;
}

// x + 0.999999 truncated toward zero, in doubles (x may be large).
double RoundUp(double x)
{
    return std::trunc(x + 0.999999);
}

bool IsAutoInitChecked(HWND mainWindow)
{
    HMENU menu = mainWindow ? GetMenu(mainWindow) : nullptr;
    return menu && (GetMenuState(menu, IDM_AUTO_INIT, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

} // namespace

bool ReadControllerConfig(short controller, TavroControllerConfig* config)
{
    memset(config, 0, sizeof(*config));
    config->size = CONTROLLER_CONFIG_SIZE;
    return g_tavro.TavroGetConfigurationEx(controller, config) == TAVRO_OK;
}

short OpenController(TuningWindowData* data)
{
    // No test of the controller before belongs to the one opened now.
    ForgetAllSeries(data);
    data->axisCount = 0;
    data->controller = g_tavro.TavroOpen(static_cast<short>(data->ControllerID), TAVRO_OPEN_SHARED, "");
    if (data->controller <= 0)
        return data->controller;

    TavroControllerConfig config;
    ReadControllerConfig(data->controller, &config);
    if (config.axisCount <= 0) {
        MessageBoxA(data->mainWindow,
                    "No motor modules are installed on this controller. Tuning\n"
                    "requires that at least one servo or stepper module be installed.",
                    "Servo Tuning", MB_ICONWARNING);
        g_tavro.TavroClose(data->controller);
        data->controller = 0;
        return 0;
    }
    data->axisCount = config.axisCount;

    if (IsAutoInitChecked(data->mainWindow))
        g_tavro.TavroDLG_RestoreAxis(data->controller, 0, 1, nullptr);

    SelectAxis(data, static_cast<unsigned short>(data->Axis));
    LoadAxisSettings(data->mainWindow);
    ShareGantrySettings(data);

    double longest = ComputeCaptureTiming(&data->testSettings, data->controller,
                                          static_cast<short>(data->Axis), data->hasAdvancedCapture);
    if (longest > 0.0) {
        MessageBoxA(data->mainWindow,
                    "The current data capture settings are out of range for this\n"
                    "controller type. Select OK to correct the settings and continue.",
                    "Controller Setttings Error", MB_ICONWARNING | MB_OK);
        data->testSettings.RecordTime = longest;
    }
    ResetPlotFormats(data);
    data->testDone = 0;
    g_tavro.TavroErrorNotify(data->mainWindow, data->controller, 0xFFFFFFFE);
    return data->controller;
}

int HighestAxis(const TuningWindowData* data)
{
    if (data->controller > 0 && data->axisCount > 0 && data->axisCount < MAX_SERIES_AXES)
        return data->axisCount;
    return MAX_SERIES_AXES;
}

void SelectAxis(TuningWindowData* data, int axis)
{
    if (axis < 1 || axis > HighestAxis(data))
        axis = 1;
    data->Axis = axis;
    if (data->controller <= 0)
        return;

    TavroAxisConfig axisConfig;
    ReadAxisConfig(data->controller, static_cast<short>(axis), &axisConfig);
    int flags = axisConfig.captureFlags;
    data->hasTorqueCapture = (flags & TAVRO_CAPTURE_TORQUE) ? 1 : 0;
    if (!data->hasTorqueCapture)
        data->PlotTorque = 0;
    data->hasAuxEncoder = (flags & TAVRO_CAPTURE_AUX) ? 1 : 0;
    data->hasAdvancedCapture = flags & TAVRO_CAPTURE_ADVANCED;
    if (!(flags & TAVRO_CAPTURE_ADVANCED)) {
        TavroControllerConfig config;
        ReadControllerConfig(data->controller, &config);
        int type = config.controllerType;
        data->hasAdvancedCapture = (type == 6 || type == 7 || type == 8) ? 1 : 0;
    }
}

unsigned short GetGantryPartner(const TuningWindowData* data)
{
    if (!data->Gantry)
        return 0;
    int partner = 0;
    if (data->Axis == data->GantryMaster)
        partner = static_cast<unsigned short>(data->GantrySlave);
    else if (data->Axis == data->GantrySlave)
        partner = data->GantryMaster;
    // An axis is no partner of itself, and a partner must exist.
    if (partner == data->Axis || partner < 1 || partner > HighestAxis(data))
        return 0;
    return static_cast<unsigned short>(partner);
}

int ShareGantrySettings(TuningWindowData* data)
{
    unsigned short partner = GetGantryPartner(data);
    if (!data->GantryShare || partner == 0)
        return 0;
    short h = data->controller;
    short axis = static_cast<short>(data->Axis);
    short to = static_cast<short>(partner);

    TavroScale scale = {};
    if (g_tavro.TavroGetScale(h, axis, &scale) == TAVRO_OK)
        g_tavro.TavroSetScale(h, to, &scale);
    TavroMotionConfig motion = {};
    if (g_tavro.TavroGetMotionConfig(h, axis, &motion) == TAVRO_OK)
        g_tavro.TavroSetMotionConfig(h, to, &motion);
    TavroFilterConfig filter = {};
    if (g_tavro.TavroGetFilterConfig(h, axis, &filter) == TAVRO_OK)
        g_tavro.TavroSetFilterConfig(h, to, &filter);
    double position = 0.0;
    if (g_tavro.TavroGetPositionEx(h, axis, &position) == TAVRO_OK)
        g_tavro.TavroSetPosition(h, to, position);
    short value = 0;
    if (g_tavro.TavroGetProfile(h, axis, &value) == TAVRO_OK)
        g_tavro.TavroSetProfile(h, to, value);
    value = 0;
    if (g_tavro.TavroGetServoOutputPhase(h, axis, &value) == TAVRO_OK)
        g_tavro.TavroSetServoOutputPhase(h, to, value);
    value = 0;
    if (g_tavro.TavroGetModuleOutputMode(h, axis, &value) == TAVRO_OK)
        g_tavro.TavroSetModuleOutputMode(h, to, value);
    return 0;
}

void SetGainFullScale(TuningWindowData* data)
{
    TavroControllerConfig config;
    ReadControllerConfig(data->controller, &config);
    double fullScale = ((config.flags & TAVRO_CTRL_FRACTIONAL_GAINS) &&
                        config.controllerType != CONTROLLER_TYPE_8) ? 20.0 : 32767.0;
    data->derGain.fullScale = fullScale;
    data->intGain.fullScale = fullScale;
    data->propGain.fullScale = fullScale;
}

short GetServoPeriod(short controller, short axis, double* period)
{
    TavroControllerConfig config;
    ReadControllerConfig(controller, &config);
    if (config.controllerType == CONTROLLER_TYPE_8) {
        // The axis-count field of this type holds the servo period in ms.
        *period = config.axisCount * 0.001;
        return 0;
    }
    TavroAxisConfig axisConfig;
    ReadAxisConfig(controller, axis, &axisConfig);
    TavroMotionConfig motion = {};
    g_tavro.TavroGetMotionConfig(controller, axis, &motion);
    switch (motion.updateRate) {
    case TAVRO_RATE_LOW:
        *period = axisConfig.samplePeriodLow;
        return 0;
    case TAVRO_RATE_MED:
        *period = axisConfig.samplePeriodMed;
        return 0;
    case TAVRO_RATE_HIGH:
        *period = axisConfig.samplePeriodHigh;
        return 0;
    default:
        return -1;
    }
}

double ComputeCaptureTiming(TestSettings* settings, short controller, short axis, int advanced)
{
    TavroAxisConfig axisConfig;
    ReadAxisConfig(controller, axis, &axisConfig);
    double capacity = axisConfig.captureBufferSize;
    double servo = 0.0;
    GetServoPeriod(controller, axis, &servo);
    double recordTime = settings->RecordTime;
    if (!(servo > 0.0) || !std::isfinite(servo) || !(capacity > 0.0) || !std::isfinite(recordTime))
        return CAPTURE_TIMING_UNKNOWN;

    double n = RoundUp(recordTime / servo);
    if (n < 0.0)
        n = 0.0;
    if (advanced) {
        if (n > capacity) {
            double m = RoundUp(recordTime / capacity / servo);
            settings->period = m * servo;
            settings->points = static_cast<int32_t>(RoundUp(recordTime / settings->period) + 1.0);
        } else {
            settings->period = servo;
            settings->points = static_cast<int32_t>(n + 1.0);
        }
        return 0.0;
    }
    settings->period = servo;
    settings->points = static_cast<int32_t>(capacity + 1.0);
    return n > capacity ? capacity * servo : 0.0;
}

int32_t PointsWithinRecordTime(const TestSettings* settings)
{
    if (!(settings->period > 0.0))
        return settings->points;
    double within = RoundUp(settings->RecordTime / settings->period) + 1.0;
    if (!std::isfinite(within) || within >= settings->points)
        return settings->points;
    return within < 1.0 ? 1 : static_cast<int32_t>(within);
}
