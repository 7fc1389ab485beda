// Sorvik's main window against the simulated controller, with its settings
// file and the dialogs' store cleared around each case.
#ifndef SORVIK_FIXTURE_H
#define SORVIK_FIXTURE_H

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "digital_app_data.h"
#include "simulated_controllers.h"

class SorvikTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // [Digital Panel] of drevalon.ini before start-up.
    void WriteSettings(int autoConfig, int controllerId, const std::string& extra = "");
    // Starts the panel; null when start-up was abandoned.
    HWND Start(const std::string& commandLine);
    void Close();

    // Answers the boxes from now on, in place of the earlier answerer; boxes
    // beyond the expected answers are cancelled.
    testing_support::DialogAnswerer& Answers();

    AppData* App() const;
    HWND Page() const;
    HWND Tabs() const;
    int TabCount() const;
    std::string TabLabel(int index) const;
    void SelectTab(int index);
    void Command(int id);
    void Click(int id);  // a click on a control of the page window
    std::string ItemText(int id) const;
    bool Enabled(int id) const;
    bool Checked(int id) const;
    UINT MenuState(int id) const;

    // First channel of `id` up to `channels` whose word has all bits of
    // `with` and none of `without`; 0 when none.
    static int FindChannel(short id, int channels, unsigned short with, unsigned short without);
    static std::string StorePath(short id);
    static std::string IniPath();

    HWND main_ = nullptr;

private:
    std::unique_ptr<testing_support::DialogAnswerer> answers_;
};

#endif
