#include "quorisk_test_env.h"

#include <cstdio>
#include <cstring>

#include "tavro_binding.h"
#include "vistrel.h"

namespace quorisk_test {

FakeController g_fake;

namespace {

bool IsAxis(short handle, short axis)
{
    return handle == FAKE_HANDLE && axis >= 1 && axis <= g_fake.config.axisCount && axis <= 8;
}

// Copies a scripted record, or zeroes the caller's on a bad handle or axis.
template <typename T> short Answer(bool ok, T* out, const T& value, size_t from = 0)
{
    size_t size = sizeof(T);
    memset(reinterpret_cast<char*>(out) + from, 0, size - from);
    if (!ok) {
        return TAVRO_ERR_BAD_HANDLE;
    }
    memcpy(reinterpret_cast<char*>(out) + from, reinterpret_cast<const char*>(&value) + from,
           size - from);
    return TAVRO_OK;
}

short GetConfigurationEx(short h, TavroControllerConfig* c)
{
    return Answer(h == FAKE_HANDLE, c, g_fake.config, 4);
}
short GetAxisConfiguration(short h, short a, TavroAxisConfig* c)
{
    return Answer(IsAxis(h, a), c, g_fake.axes[IsAxis(h, a) ? a : 0].config, 4);
}
short GetMotionConfig(short h, short a, TavroMotionConfig* c)
{
    return Answer(IsAxis(h, a), c, g_fake.axes[IsAxis(h, a) ? a : 0].motion);
}
short GetFilterConfig(short h, short a, TavroFilterConfig* c)
{
    return Answer(IsAxis(h, a), c, g_fake.axes[IsAxis(h, a) ? a : 0].filter);
}
short GetProfile(short h, short a, short* p)
{
    return Answer(IsAxis(h, a), p, g_fake.axes[IsAxis(h, a) ? a : 0].profile);
}
short ControllerDescEx(long type, long, char* buffer, long size)
{
    return static_cast<short>(snprintf(buffer, size, "Fake Type %ld", type) < 0);
}
short ModuleDescEx(long type, long, char* buffer, long size)
{
    return static_cast<short>(snprintf(buffer, size, "Module %ld", type) < 0);
}
short CommandFileExt(long, long, char* buffer, long size)
{
    return static_cast<short>(snprintf(buffer, size, "tcl") < 0);
}

} // namespace

void InstallFakeController()
{
    memset(&g_fake, 0, sizeof(g_fake));
    g_fake.config.controllerType = 3;
    g_fake.config.axisCount = 3;
    g_fake.config.flags = TAVRO_CTRL_FRACTIONAL_GAINS;
    for (int i = 1; i <= 8; ++i) {
        FakeAxis& a = g_fake.axes[i];
        a.config = {104, 2, 0, TAVRO_AXIS_SERVO, TAVRO_CAPTURE_TORQUE | TAVRO_CAPTURE_AUX, 512,
                    0, 0.00025, 0.0005, 0.001, {}};
        a.motion.acceleration = 1000.0 * i;
        a.motion.deceleration = 2000.0 * i;
        a.motion.velocity = 500.0 * i;
        a.motion.proportionalGain = 1.5 * i;
        a.motion.maxTorque = 10.0;
        a.motion.updateRate = TAVRO_RATE_MED;
        a.filter = {0.25 * i, 0.002, 0.125 * i, 50.0, 0.0, {}, 1024.0}; // derivative: 4 periods
        a.profile = TAVRO_PROFILE_TRAPEZOIDAL;
    }
    g_tavro.TavroGetConfigurationEx = GetConfigurationEx;
    g_tavro.TavroGetAxisConfiguration = GetAxisConfiguration;
    g_tavro.TavroGetMotionConfig = GetMotionConfig;
    g_tavro.TavroGetFilterConfig = GetFilterConfig;
    g_tavro.TavroGetProfile = GetProfile;
    g_tavro.TavroDLG_ControllerDescEx = ControllerDescEx;
    g_tavro.TavroDLG_ModuleDescEx = ModuleDescEx;
    g_tavro.TavroDLG_CommandFileExt = CommandFileExt;
}

TuningWindow::TuningWindow()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "QuoriskFilesTestMain";
    RegisterClassA(&windowClass);
    LumoInitialize(instance);
    data_ = InitTuningWindowData(
        static_cast<TuningWindowData*>(::operator new(sizeof(TuningWindowData))));
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "Servo Tuning",
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

bool QueryValue(const std::string& key, const char* name, DWORD* type, std::string* bytes)
{
    char buffer[512];
    DWORD size = sizeof(buffer);
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, type,
                     buffer, &size) != ERROR_SUCCESS) {
        return false;
    }
    bytes->assign(buffer, size);
    return true;
}

void SetValue(const std::string& key, const char* name, DWORD type, const void* data, DWORD size)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, type, data, size);
}

} // namespace quorisk_test
