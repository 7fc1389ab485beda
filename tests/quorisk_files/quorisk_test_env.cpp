#include "quorisk_test_env.h"

#include <cstdio>
#include <cstring>

#include "tavro_binding.h"
#include "vistrel.h"

namespace quorisk_test {

FakeController g_fake;

namespace {

bool IsOpen(short handle) { return handle == FAKE_HANDLE; }

bool IsAxis(short handle, short axis)
{
    return IsOpen(handle) && axis >= 1 && axis <= g_fake.axisCount && axis <= FAKE_MAX_AXES;
}

short FakeGetConfigurationEx(short handle, TavroControllerConfig* config)
{
    uint32_t size = config->size;
    memset(reinterpret_cast<char*>(config) + 4, 0, size > 4 ? size - 4 : 0);
    if (!IsOpen(handle)) {
        return TAVRO_ERR_BAD_HANDLE;
    }
    config->controllerType = g_fake.type;
    config->axisCount = g_fake.axisCount;
    config->flags = g_fake.flags;
    return TAVRO_OK;
}

short FakeGetAxisConfiguration(short handle, short axis, TavroAxisConfig* config)
{
    memset(reinterpret_cast<char*>(config) + 4, 0, sizeof(*config) - 4);
    if (!IsAxis(handle, axis)) {
        return TAVRO_ERR_BAD_AXIS;
    }
    const FakeAxis& a = g_fake.axes[axis];
    config->moduleType = a.moduleType;
    config->axisFlags = a.axisFlags;
    config->captureFlags = a.captureFlags;
    config->captureBufferSize = a.bufferSize;
    config->samplePeriodHigh = a.periodHigh;
    config->samplePeriodMed = a.periodMed;
    config->samplePeriodLow = a.periodLow;
    return TAVRO_OK;
}

short FakeGetMotionConfig(short handle, short axis, TavroMotionConfig* config)
{
    memset(config, 0, sizeof(*config));
    if (!IsAxis(handle, axis)) {
        return TAVRO_ERR_BAD_AXIS;
    }
    *config = g_fake.axes[axis].motion;
    return TAVRO_OK;
}

short FakeGetFilterConfig(short handle, short axis, TavroFilterConfig* config)
{
    memset(config, 0, sizeof(*config));
    if (!IsAxis(handle, axis)) {
        return TAVRO_ERR_BAD_AXIS;
    }
    *config = g_fake.axes[axis].filter;
    return TAVRO_OK;
}

short FakeGetProfile(short handle, short axis, short* profile)
{
    *profile = 0;
    if (!IsAxis(handle, axis)) {
        return TAVRO_ERR_BAD_AXIS;
    }
    *profile = g_fake.axes[axis].profile;
    return TAVRO_OK;
}

short FakeControllerDescEx(long type, long, char* buffer, long size)
{
    snprintf(buffer, static_cast<size_t>(size), "Fake Type %ld", type);
    return 0;
}

short FakeModuleDescEx(long type, long, char* buffer, long size)
{
    snprintf(buffer, static_cast<size_t>(size), "Module %ld", type);
    return 0;
}

short FakeCommandFileExt(long, long, char* buffer, long size)
{
    snprintf(buffer, static_cast<size_t>(size), "tcl");
    return 0;
}

const char TEST_MAIN_CLASS[] = "QuoriskFilesTestMain";

void RegisterTestClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = TEST_MAIN_CLASS;
    RegisterClassA(&windowClass);
    LumoInitialize(instance);
}

} // namespace

void InstallFakeController()
{
    memset(&g_fake, 0, sizeof(g_fake));
    g_fake.type = 3;
    g_fake.axisCount = 3;
    g_fake.flags = TAVRO_CTRL_FRACTIONAL_GAINS;
    for (int i = 1; i <= FAKE_MAX_AXES; ++i) {
        FakeAxis& a = g_fake.axes[i];
        a.moduleType = 2;
        a.axisFlags = TAVRO_AXIS_SERVO;
        a.captureFlags = TAVRO_CAPTURE_TORQUE | TAVRO_CAPTURE_AUX;
        a.bufferSize = 512;
        a.periodHigh = 0.00025;
        a.periodMed = 0.0005;
        a.periodLow = 0.001;
        a.motion.acceleration = 1000.0 * i;
        a.motion.deceleration = 2000.0 * i;
        a.motion.velocity = 500.0 * i;
        a.motion.proportionalGain = 1.5 * i;
        a.motion.maxTorque = 10.0;
        a.motion.updateRate = TAVRO_RATE_MED;
        a.filter.derivativeGain = 0.25 * i;
        a.filter.derivativePeriod = 0.002; // four Med periods
        a.filter.integralGain = 0.125 * i;
        a.filter.integrationLimit = 50.0;
        a.filter.velocityGain = 0.0;
        a.filter.maxFollowingError = 1024.0;
        a.profile = TAVRO_PROFILE_TRAPEZOIDAL;
    }
    g_tavro.TavroGetConfigurationEx = FakeGetConfigurationEx;
    g_tavro.TavroGetAxisConfiguration = FakeGetAxisConfiguration;
    g_tavro.TavroGetMotionConfig = FakeGetMotionConfig;
    g_tavro.TavroGetFilterConfig = FakeGetFilterConfig;
    g_tavro.TavroGetProfile = FakeGetProfile;
    g_tavro.TavroDLG_ControllerDescEx = FakeControllerDescEx;
    g_tavro.TavroDLG_ModuleDescEx = FakeModuleDescEx;
    g_tavro.TavroDLG_CommandFileExt = FakeCommandFileExt;
}

TuningWindow::TuningWindow()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterTestClass(instance);
    data_ = InitTuningWindowData(
        static_cast<TuningWindowData*>(::operator new(sizeof(TuningWindowData))));
    window_ = CreateWindowExA(0, TEST_MAIN_CLASS, "Servo Tuning",
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 700, 500, nullptr,
                              nullptr, instance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data_));
    data_->mainWindow = window_;
    for (int i = 0; i < PLOT_WINDOW_COUNT; ++i) {
        data_->plotWindows[i] =
            CreateWindowExA(WS_EX_CLIENTEDGE, PLOT_WINDOW_CLASS, "", 0x54000004, 220, 100 * i, 400,
                            100, window_, nullptr, instance, nullptr);
    }
}

TuningWindow::~TuningWindow()
{
    DestroyWindow(window_);
    DestroyTuningWindowData(data_);
    ::operator delete(data_);
}

bool QueryValue(HKEY root, const std::string& key, const std::string& name, DWORD* type,
                std::string* bytes)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    char buffer[512];
    DWORD size = sizeof(buffer);
    LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) {
        return false;
    }
    bytes->assign(buffer, size);
    return true;
}

void SetValue(const std::string& key, const std::string& name, DWORD type, const void* data,
              DWORD size)
{
    HKEY handle = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                    nullptr);
    RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
}

} // namespace quorisk_test
