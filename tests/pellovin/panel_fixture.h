// The analog panel's main window against the simulated controller: start-up,
// the pages and records it shows, and the simulator's view of its calls.
#ifndef PANEL_FIXTURE_H
#define PANEL_FIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "app_data.h"
#include "tavrosim_control.h"

class AnalogPanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // First simulated controller that opens and matches; false when none does.
    static bool FindController(const std::function<bool(const TavroSimControllerInfo&)>& match,
                               TavroSimControllerInfo* info);
    // The modular controller with one analog module, the analog-only one and
    // one with no analog channel at all.
    static TavroSimControllerInfo ModularController();
    static TavroSimControllerInfo AnalogOnlyController();

    // Starts the panel with this command line; null when start-up was abandoned.
    HWND Start(const std::string& commandLine);
    // Starts on controller `id` and expects the window.
    HWND StartOn(short id, const std::string& extra = "");
    void Close();

    AppData* App() const;
    HWND Tab() const;
    int TabCount() const;
    int CurrentTab() const;
    std::string TabText(int index) const;
    HWND Page(int index) const;
    ChannelGroup* Group(int index) const;
    // Switches tabs as a click on the tab control does.
    void SelectTab(int index);
    // The settings file beside the test executable.
    std::string IniPath() const;
    std::string IniValue(const std::string& section, const std::string& key) const;
    void WriteIni(const std::string& text) const;
    // Chooses controller `id` in the controller selection dialog.
    static void ChooseController(HWND dialog, short id);

    HWND window = nullptr;
};

#endif
