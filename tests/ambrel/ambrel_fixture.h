// Shared set-up of the Ambrel tests: the real main window against the
// simulated controller in manual time, with the poll tick sent by hand.
#ifndef AMBREL_FIXTURE_H
#define AMBREL_FIXTURE_H

#include <gtest/gtest.h>

#include "axis_panel.h"
#include "main_window.h"
#include "resource.h"
#include "tavro_binding.h"
#include "tavrosim_control.h"
#include "test_support.h"

#include <commctrl.h>

#include <string>

namespace ambrel_test {

using testing_support::DialogAnswerer;

// List box of the dialog library's controller selection.
const int kSelectList = 1001;
const char* const kKey = AMBREL_REGISTRY_KEY;

inline std::string KeyOf(int controllerId, int axis)
{
    std::string key = std::string(kKey) + "\\Controller" + std::to_string(controllerId);
    if (axis > 0)
        key += "\\Axis" + std::to_string(axis);
    return key;
}

inline void SetDword(const std::string& key, const char* name, DWORD value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof value);
}

inline void SetBytes(const std::string& key, const char* name, DWORD type, const void* data,
                     DWORD size)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, type, data, size);
}

// A stored DWORD, or `missing` when there is none.
inline long GetDword(const std::string& key, const char* name, long missing = -12345)
{
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return missing;
    return static_cast<long>(static_cast<LONG>(value));
}

inline std::string GetString(const std::string& key, const char* name)
{
    char text[256] = "";
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    return text;
}

// Fills the controller selection with the given id, for DialogAnswerer.
inline std::function<void(HWND)> Choose(int id)
{
    return [id](HWND dialog) {
        HWND list = GetDlgItem(dialog, kSelectList);
        LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i)
            if (SendMessageA(list, LB_GETITEMDATA, i, 0) == id)
                SendMessageA(list, LB_SETCURSEL, i, 0);
    };
}

class AmbrelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, TavroSim_Reload(nullptr));
        TavroSim_SetManualClock(1);
        TavroSim_ResetCallCounts();
        RegisterWindowClasses(GetModuleHandleA(nullptr));
    }

    void TearDown() override
    {
        if (window_ && IsWindow(window_))
            DestroyWindow(window_);
        testing_support::PumpFor(20);
    }

    // Creates the main window; the poll tick is then sent by the test alone.
    HWND Start()
    {
        window_ = CreateMainWindow(GetModuleHandleA(nullptr));
        if (window_)
            KillTimer(window_, POLL_TIMER);
        return window_;
    }

    // Closes the main window as the user would, answering nothing.
    void Close()
    {
        SendMessageA(window_, WM_CLOSE, 0, 0);
        testing_support::PumpFor(20);
    }

    void Tick() { SendMessageA(window_, WM_TIMER, POLL_TIMER, 0); }
    void Command(int id) { SendMessageA(window_, WM_COMMAND, id, 0); }

    HWND Panel(int axis) const { return GetDlgItem(window_, IDC_PANEL_FIRST + axis - 1); }
    void PanelCommand(int axis, int id) { SendMessageA(Panel(axis), WM_COMMAND, id, 0); }
    void SetDistance(int axis, const char* text) { SetDlgItemTextA(Panel(axis), IDC_DISTANCE, text); }
    void SetSlider(int axis, int position)
    {
        SendDlgItemMessageA(Panel(axis), IDC_VELOCITY_SLIDER, TBM_SETPOS, TRUE, position);
    }
    int Slider(int axis) const
    {
        return static_cast<int>(
            SendDlgItemMessageA(Panel(axis), IDC_VELOCITY_SLIDER, TBM_GETPOS, 0, 0));
    }

    TavroSimAxisState Axis(int axis, int controllerId = 0) const
    {
        TavroSimAxisState state = {};
        TavroSim_GetAxisState(static_cast<short>(controllerId), static_cast<short>(axis), &state);
        return state;
    }

    bool AllStopped(int axes, int controllerId = 0) const
    {
        for (int axis = 1; axis <= axes; ++axis)
            if (Axis(axis, controllerId).moving)
                return false;
        return true;
    }

    // Runs simulated time until every axis has come to rest.
    void RunUntilStopped(int axes = 4, int controllerId = 0)
    {
        for (int i = 0; i < 1200 && !AllStopped(axes, controllerId); ++i)
            TavroSim_Advance(0.05);
        TavroSim_Advance(0.2);
        ASSERT_TRUE(AllStopped(axes, controllerId));
    }

    RECT WindowRect() const
    {
        RECT rect;
        GetWindowRect(window_, &rect);
        return rect;
    }

    testing_support::RegistryKeyReset registry_{AMBREL_REGISTRY_KEY};
    DialogAnswerer answerer_;
    HWND window_ = nullptr;
};

} // namespace ambrel_test

#endif
