// Library state, handles and error codes: open, close, reopen, reset, error
// notification and error texts.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "exports.h"
#include "simulator.h"

namespace {

CRITICAL_SECTION g_lock;
Simulator* g_sim = nullptr;

struct ErrorText {
    short code;
    const char* text;
};

const ErrorText kErrorTexts[] = {
    {TAVRO_OK, "No error"},
    {TAVRO_ERR_NOT_SUPPORTED, "The function is not supported by this controller"},
    {TAVRO_ERR_BAD_HANDLE, "Invalid controller handle"},
    {TAVRO_ERR_BAD_AXIS, "Invalid axis number"},
    {TAVRO_ERR_BAD_CHANNEL, "Invalid I/O channel number"},
    {TAVRO_ERR_BAD_ARGUMENT, "Invalid parameter"},
    {TAVRO_ERR_NO_CONTROLLER, "No controller is configured with this ID"},
    {TAVRO_ERR_NOT_CAPTURED, "The requested data have not been captured"},
    {TAVRO_ERR_TIMEOUT, "Timed out waiting for the controller"},
    {TAVRO_ERR_NO_RESPONSE, "The controller does not respond"},
    {TAVRO_ERR_IN_USE, "The controller is in use by another application"},
    {TAVRO_ERR_DRIVER, "The controller's device driver could not be loaded"},
    {TAVRO_ERR_BLOCK, "Command block error"},
};

bool HandleOpen(short handle)
{
    for (const OpenHandle& h : Sim().handles) {
        if (h.handle == handle)
            return true;
    }
    return false;
}

short NextHandle()
{
    Simulator& sim = Sim();
    for (int tries = 0; tries < 32767; ++tries) {
        short next = static_cast<short>(sim.lastHandle >= 32767 ? 1 : sim.lastHandle + 1);
        sim.lastHandle = next;
        if (!HandleOpen(next))
            return next;
    }
    return 0;
}

void FirstLoad()
{
    Simulator& sim = *g_sim;
    QueryPerformanceFrequency(&sim.clockFrequency);
    QueryPerformanceCounter(&sim.clockStart);
    char value[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TAVROSIM_CLOCK", value, sizeof value);
    sim.manualClock = length > 0 && length < sizeof value && _stricmp(value, "manual") == 0;
    length = GetEnvironmentVariableA("TAVROSIM_TRACE", value, sizeof value);
    if (length > 0 && length < sizeof value)
        sim.trace.Open(value);
    LoadControllers(nullptr);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&g_lock);
        g_sim = new Simulator();
    } else if (reason == DLL_PROCESS_DETACH) {
        delete g_sim;
        g_sim = nullptr;
        DeleteCriticalSection(&g_lock);
    }
    return TRUE;
}

Simulator& Sim() { return *g_sim; }

CRITICAL_SECTION* SimLock() { return &g_lock; }

SimGuard::SimGuard()
{
    EnterCriticalSection(&g_lock);
    if (!g_sim->loaded)
        FirstLoad();
}

SimGuard::~SimGuard() { LeaveCriticalSection(&g_lock); }

Controller* ControllerById(short id)
{
    for (Controller& c : Sim().controllers) {
        if (c.hardware.id == id) {
            AdvanceController(c, ClockNow());
            return &c;
        }
    }
    return nullptr;
}

Controller* ControllerOfHandle(short handle)
{
    if (handle > 0) {
        for (const OpenHandle& h : Sim().handles) {
            if (h.handle == handle)
                return ControllerById(h.controllerId);
        }
    }
    ++Sim().deadHandleCalls;
    return nullptr;
}

AxisModel* AxisOf(Controller* c, short axis)
{
    if (!c || axis < 1 || axis > static_cast<short>(c->axes.size()))
        return nullptr;
    return &c->axes[static_cast<size_t>(axis - 1)];
}

// Status of a call that needs an axis of an open controller.
short AxisStatus(short handle, short axis, Controller** controller, AxisModel** model)
{
    Controller* c = ControllerOfHandle(handle);
    *controller = c;
    *model = nullptr;
    if (!c)
        return TAVRO_ERR_BAD_HANDLE;
    *model = AxisOf(c, axis);
    return *model ? TAVRO_OK : TAVRO_ERR_BAD_AXIS;
}

extern "C" short TavroOpen(short controllerId, short mode, const char* name)
{
    SimGuard guard;
    short result;
    Controller* c = ControllerById(controllerId);
    if (!c)
        result = TAVRO_ERR_NO_CONTROLLER;
    else if (c->hardware.openError)
        result = c->hardware.openError;
    else if ((result = NextHandle()) > 0)
        Sim().handles.push_back(OpenHandle{result, controllerId, nullptr});
    else
        result = TAVRO_ERR_IN_USE;
    EndCall("TavroOpen", result, "%d, %d, \"%s\"", controllerId, mode, name ? name : "(null)");
    return result;
}

extern "C" short TavroReopen(short handle, short mode)
{
    SimGuard guard;
    short result = ControllerOfHandle(handle) ? TAVRO_OK : TAVRO_ERR_BAD_HANDLE;
    EndCall("TavroReopen", result, "%d, %d", handle, mode);
    return result;
}

extern "C" short TavroClose(short handle)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_HANDLE;
    std::vector<OpenHandle>& handles = Sim().handles;
    for (size_t i = 0; i < handles.size(); ++i) {
        if (handle > 0 && handles[i].handle == handle) {
            handles.erase(handles.begin() + static_cast<long>(i));
            result = TAVRO_OK;
            break;
        }
    }
    if (result != TAVRO_OK)
        ++Sim().deadHandleCalls;
    EndCall("TavroClose", result, "%d", handle);
    return result;
}

// Back to power-on settings: motors off, default settings, I/O reset.
extern "C" short TavroReset(short handle, short mode)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_HANDLE;
    if (Controller* c = ControllerOfHandle(handle)) {
        PowerOnController(*c);
        result = TAVRO_OK;
    }
    EndCall("TavroReset", result, "%d, %d", handle, mode);
    return result;
}

// The window is kept; the simulated controller never raises errors on its own.
extern "C" short TavroErrorNotify(HWND window, short handle, DWORD flags)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_HANDLE;
    for (OpenHandle& h : Sim().handles) {
        if (handle > 0 && h.handle == handle) {
            h.notifyWindow = window;
            result = TAVRO_OK;
        }
    }
    if (result != TAVRO_OK)
        ++Sim().deadHandleCalls;
    EndCall("TavroErrorNotify", result, "%p, %d, 0x%lx", static_cast<void*>(window), handle,
            static_cast<unsigned long>(flags));
    return result;
}

extern "C" short TavroTranslateErrorEx(short code, char* buffer, short size)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_ARGUMENT;
    if (buffer && size > 0) {
        const char* text = nullptr;
        for (const ErrorText& e : kErrorTexts) {
            if (e.code == code)
                text = e.text;
        }
        size_t room = size > 128 ? 128 : static_cast<size_t>(size);
        if (text)
            snprintf(buffer, room, "%s", text);
        else
            snprintf(buffer, room, "Unknown error code %d", code);
        result = TAVRO_OK;
    }
    EndCall("TavroTranslateErrorEx", result, "%d, %s, %d", code, TracedText(buffer, size).text, size);
    return result;
}
