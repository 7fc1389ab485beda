// The real main window of the tuning program against the fake controller,
// with the plot messages it sends recorded.
#ifndef QUORISK_TUNING_FIXTURE_H
#define QUORISK_TUNING_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_controller.h"
#include "test_support.h"
#include "tuning_data.h"

// One plot message as a plot window received it.
struct PlotCall {
    int window;
    UINT message;
    WPARAM wParam;
    std::vector<double> values; // doubles of PLM_SETTRACEDATA, PLM_EXTENDYRANGE
    std::string text;           // texts of the title, label and format setters
};

class TuningWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the program's start-up; fails the test when it gives no window.
    HWND Start(const char* commandLine = "");

    TuningWindowData* Data() const { return GetTuningData(main_); }
    HWND Panel() const { return Data()->panelWindow; }
    void Tick() const;

    // Records what the five plot windows receive from now on.
    void RecordPlots();
    std::vector<PlotCall> PlotCalls(int window, UINT message) const;
    void ClearPlotCalls();

    // Sends WM_SIZE with this client size.
    void Resize(int width, int height) const;
    RECT PlotRect(int window) const;

    HWND main_ = nullptr;
    std::unique_ptr<testing_support::RegistryKeyReset> registry_;
};

// Registers the program's window classes once per process.
void EnsureWindowClasses();

// A plot window's y range.
double PlotYMin(HWND plot);
double PlotYMax(HWND plot);

#endif
