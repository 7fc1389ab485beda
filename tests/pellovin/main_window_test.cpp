// The panel's main window: start-up, pages, polling, menu commands,
// controller switching and closing, against the simulated controller.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "main_window.h"
#include "panel_fixture.h"
#include "tavro_binding.h"
#include "test_support.h"

using testing_support::DialogAnswerer;
using testing_support::IsItemEnabled;
using testing_support::ItemText;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

const int IDM_DEFAULT_OUTPUTS = 1000;
const int IDM_RESET_ALL = 1001;
const int IDM_SELECT_CONTROLLER = 1002;

class AnalogMainWindowTest : public AnalogPanelTest {
protected:
    void Command(int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    bool Shown(int page) { return IsWindowVisible(Page(page)) && IsWindowEnabled(Page(page)); }
    bool Hidden(int page) { return !IsWindowVisible(Page(page)) && !IsWindowEnabled(Page(page)); }
    AnalogChannel* Output(int page, int index)
    {
        AnalogChannel* channel = Group(page)->Channels().at(index);
        EXPECT_FALSE(channel->IsInput());
        return channel;
    }
    std::string Section(const char* kind, int id, int channel)
    {
        return std::string(kind) + " " + std::to_string(id) + ":" + std::to_string(channel);
    }
};

TEST_F(AnalogMainWindowTest, ModularControllerGetsStandardAndModulePages)
{
    const TavroSimControllerInfo info = ModularController();
    ASSERT_NE(StartOn(info.id), nullptr);
    ASSERT_EQ(App()->AnalogModuleCount(), 1);
    const int inputs = info.analogInputs - 4;
    const int outputs = info.analogOutputs - 4;
    ASSERT_EQ(TabCount(), 3);
    EXPECT_EQ(TabText(0), "Standard Inputs");
    EXPECT_EQ(TabText(1), "Standard Outputs");
    EXPECT_EQ(TabText(2), "Module 1");
    EXPECT_EQ(CurrentTab(), 0);
    EXPECT_TRUE(Shown(0));
    EXPECT_TRUE(Hidden(1));
    EXPECT_TRUE(Hidden(2));

    EXPECT_EQ(static_cast<int>(Group(0)->Channels().size()), inputs);
    EXPECT_EQ(static_cast<int>(Group(1)->Channels().size()), outputs);
    EXPECT_EQ(ItemText(Page(0), 2000), "Analog Input 1");
    EXPECT_EQ(ItemText(Page(1), 2000), "Analog Output 1");
    EXPECT_NE(GetDlgItem(Page(0), 2300), nullptr);
    EXPECT_EQ(GetDlgItem(Page(0), 2303), nullptr);
    EXPECT_EQ(GetDlgItem(Page(1), 2303), nullptr);
    EXPECT_DOUBLE_EQ(Group(0)->MinimumReference(), 0.5);
    EXPECT_DOUBLE_EQ(Group(2)->MinimumReference(), 4.75);

    // The module: four inputs and four outputs numbered after the standard
    // ones, unknown type, both boxes and every block shown.
    HWND module = Page(2);
    EXPECT_EQ(ItemText(module, 2000), "Analog Input " + std::to_string(inputs + 1));
    EXPECT_EQ(ItemText(module, 2003), "Analog Input " + std::to_string(inputs + 4));
    EXPECT_EQ(ItemText(module, 2004), "Analog Output " + std::to_string(outputs + 1));
    EXPECT_EQ(ItemText(module, 2007), "Analog Output " + std::to_string(outputs + 4));
    HWND list = GetDlgItem(module, 2303);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ItemText(module, 2301), "5.0000");
    EXPECT_DOUBLE_EQ(Group(2)->Channels()[0]->VoltsPerCountValue(), 5.0 / 4095.0);
}

TEST_F(AnalogMainWindowTest, EveryAnalogModuleGetsItsOwnPage)
{
    TavroSimControllerInfo large = {};
    ASSERT_TRUE(FindController(
        [](const TavroSimControllerInfo& c) { return c.controllerType == 2; }, &large));
    ASSERT_NE(StartOn(large.id, "-p 1"), nullptr);
    ASSERT_EQ(App()->AnalogModuleCount(), 2);
    const int inputs = std::max(0, large.analogInputs - 8);
    const int outputs = std::max(0, large.analogOutputs - 8);
    const int first = (inputs > 0) + (outputs > 0);
    ASSERT_EQ(TabCount(), first + 2);
    EXPECT_EQ(TabText(first), "Module 1");
    EXPECT_EQ(TabText(first + 1), "Module 2");
    EXPECT_EQ(ItemText(Page(first + 1), 2000), "Analog Input " + std::to_string(inputs + 5));
    EXPECT_EQ(ItemText(Page(first + 1), 2007), "Analog Output " + std::to_string(outputs + 8));
    EXPECT_EQ(CurrentTab(), 1);
}

TEST_F(AnalogMainWindowTest, PageOptionChoosesTheFirstPageShown)
{
    const TavroSimControllerInfo info = ModularController();
    ASSERT_NE(StartOn(info.id, "-p 2"), nullptr);
    PumpFor(100);
    EXPECT_EQ(CurrentTab(), 2);
    EXPECT_TRUE(Shown(2));
    EXPECT_TRUE(Hidden(0));
    RECT rect;
    GetWindowRect(Page(2), &rect);
    EXPECT_GT(rect.right - rect.left, 400);
    Close();

    for (const char* page : {"--page=9", "-p -1"}) {
        ASSERT_NE(Start(std::string("-b ") + std::to_string(info.id) + " " + page), nullptr);
        EXPECT_EQ(CurrentTab(), 0) << page;
        EXPECT_TRUE(Shown(0)) << page;
        Close();
    }
}

TEST_F(AnalogMainWindowTest, BoardOptionOverridesTheStoredControllerAndIsStored)
{
    const TavroSimControllerInfo analog = AnalogOnlyController();
    const TavroSimControllerInfo modular = ModularController();
    WriteIni("[Analog Panel]\r\nControllerID=" + std::to_string(modular.id) + "\r\n");
    ASSERT_NE(Start("--board=" + std::to_string(analog.id)), nullptr);
    EXPECT_EQ(App()->ControllerID(), analog.id);
    EXPECT_EQ(TabText(0), "Standard Inputs");
    Close();
    EXPECT_EQ(IniValue("Analog Panel", "ControllerID"), std::to_string(analog.id));

    // Without an option the stored id is used; an option without a number is ignored.
    ASSERT_NE(Start("--board"), nullptr);
    EXPECT_EQ(App()->ControllerID(), analog.id);
}

TEST_F(AnalogMainWindowTest, GarbledStoredControllerIdGivesControllerZero)
{
    WriteIni("[Analog Panel]\r\nControllerID=first\r\n");
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(App()->ControllerID(), 0);
    EXPECT_GT(App()->Handle(), 0);
}

TEST_F(AnalogMainWindowTest, OnlyTheShownPageReadsItsInputs)
{
    const TavroSimControllerInfo info = ModularController();
    ASSERT_NE(StartOn(info.id), nullptr);
    const long inputs = static_cast<long>(Group(0)->Channels().size());
    TavroSim_ResetCallCounts();
    PumpFor(400);
    const long standardReads = TavroSim_CallCount("TavroGetAnalog");
    EXPECT_GE(standardReads, 2 * inputs);
    EXPECT_EQ(standardReads % inputs, 0);

    SelectTab(1);
    EXPECT_TRUE(Shown(1));
    EXPECT_TRUE(Hidden(0));
    TavroSim_ResetCallCounts();
    PumpFor(400);
    EXPECT_EQ(TavroSim_CallCount("TavroGetAnalog"), 0);
    EXPECT_EQ(TavroSim_CallCount("TavroSetAnalog"), 0);

    SelectTab(2);
    TavroSim_ResetCallCounts();
    PumpFor(400);
    const long moduleReads = TavroSim_CallCount("TavroGetAnalog");
    EXPECT_GE(moduleReads, 8);
    EXPECT_EQ(moduleReads % 4, 0);
}

TEST_F(AnalogMainWindowTest, StandardInputsShowTheSimulatedVoltage)
{
    // One model each: 12-bit and 16-bit inputs over -10 to +10 V, 10-bit over
    // 0 to 5 V. Two converter steps of the coarsest is the tolerance.
    const double tolerance = 0.012;
    for (const auto& [type, volts] : {std::pair<int, double>{1, -3.75}, {4, 6.2}, {5, 3.3}}) {
        SCOPED_TRACE("controller type " + std::to_string(type));
        TavroSimControllerInfo info = {};
        ASSERT_TRUE(FindController(
            [type = type](const TavroSimControllerInfo& c) { return c.controllerType == type; },
            &info));
        ASSERT_NE(StartOn(info.id), nullptr);
        ASSERT_EQ(TavroSim_SetAnalogInput(info.id, 1, volts), 0);
        std::string text;
        EXPECT_TRUE(PumpUntil([&] {
            text = ItemText(Page(0), 2100);
            return text.size() > 2 && text.substr(text.size() - 2) == " V" &&
                   std::abs(std::strtod(text.c_str(), nullptr) - volts) <= tolerance;
        })) << text;
        if (type == 1) {
            // The same input in counts, then in user units of ten per volt.
            AnalogChannel* input = Group(0)->Channels()[0];
            const long counts =
                static_cast<unsigned short>(g_tavro.TavroGetAnalog(App()->Handle(), 1));
            char expected[64];
            snprintf(expected, sizeof expected, "%5ld Counts", counts);
            input->SetDisplayMode(1222);
            EXPECT_TRUE(PumpUntil([&] { return ItemText(Page(0), 2100) == expected; }))
                << ItemText(Page(0), 2100);
            input->SetDisplayMode(1223);
            input->SetUserFactor(10.0);
            input->SetUserOffset(0.0);
            input->SetLabel("mm");
            EXPECT_TRUE(PumpUntil([&] {
                text = ItemText(Page(0), 2100);
                return text.find(" mm") != std::string::npos &&
                       std::abs(std::strtod(text.c_str(), nullptr) - volts * 10.0) <=
                           tolerance * 10.0;
            })) << text;
        }
        Close();
    }
}

TEST_F(AnalogMainWindowTest, SixteenBitInputsReadAsUnsignedCounts)
{
    const TavroSimControllerInfo info = AnalogOnlyController();
    ASSERT_NE(StartOn(info.id), nullptr);
    ASSERT_EQ(TavroSim_SetAnalogInput(info.id, 2, 9.0), 0);
    const long counts = static_cast<unsigned short>(g_tavro.TavroGetAnalog(App()->Handle(), 2));
    ASSERT_GT(counts, 32767);
    Group(0)->Channels()[1]->SetDisplayMode(1222);
    char expected[64];
    snprintf(expected, sizeof expected, "%5ld Counts", counts);
    EXPECT_TRUE(PumpUntil([&] { return ItemText(Page(0), 2101) == expected; }))
        << ItemText(Page(0), 2101);
}

TEST_F(AnalogMainWindowTest, ClosingLeavesEveryOutputAtMidScaleAndStoresIt)
{
    const TavroSimControllerInfo info = ModularController();
    ASSERT_NE(StartOn(info.id), nullptr);
    Output(1, 0)->Write(4000, 1233);
    Output(2, 5)->Write(100, 1233);
    Output(2, 6)->SetDisplayMode(1236);
    EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, 1), 4000);
    Close();

    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
    for (int channel = 1; channel <= info.analogOutputs; ++channel) {
        EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, channel), 2048) << channel;
        EXPECT_EQ(IniValue(Section("Analog Output", info.id, channel), "OutputCounts"), "2048")
            << channel;
    }
    const int moduleOutput = info.analogOutputs - 4 + 3;
    EXPECT_EQ(IniValue(Section("Analog Output", info.id, moduleOutput), "DisplayMode"), "1236");
    EXPECT_EQ(IniValue(Section("Analog Input", info.id, 1), "Configured"), "true");
    EXPECT_EQ(IniValue("Analog Group " + std::to_string(info.id) + ":2", "ModuleType"), "0");
    EXPECT_EQ(IniValue("Analog Panel", "ControllerID"), std::to_string(info.id));
}

TEST_F(AnalogMainWindowTest, ChannelSettingsComeBackOnTheNextStart)
{
    const TavroSimControllerInfo info = ModularController();
    ASSERT_NE(StartOn(info.id), nullptr);
    AnalogChannel* input = Group(0)->Channels()[1];
    input->SetDisplayMode(1223);
    input->SetUserFactor(2.5);
    input->SetLabel("bar");
    Output(1, 1)->SetDisplayMode(1236);
    Group(2)->SetReferenceVoltage(4.9);
    Close();

    // A stored output level is sent when the page is built.
    WritePrivateProfileStringA(Section("Analog Output", info.id, 3).c_str(), "OutputCounts",
                               "1000", IniPath().c_str());
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(App()->ControllerID(), info.id);
    input = Group(0)->Channels()[1];
    EXPECT_EQ(input->DisplayMode(), 1223);
    EXPECT_DOUBLE_EQ(input->UserFactor(), 2.5);
    EXPECT_EQ(input->Label(), "bar");
    EXPECT_EQ(Output(1, 1)->DisplayMode(), 1236);
    EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, 3), 1000);
    EXPECT_DOUBLE_EQ(Group(2)->ReferenceVoltage(), 4.9);
    EXPECT_EQ(ItemText(Page(2), 2301), "4.9000");
    EXPECT_DOUBLE_EQ(Group(2)->Channels()[0]->VoltsPerCountValue(), 4.9 / 4095.0);
}

TEST_F(AnalogMainWindowTest, DefaultOutputsAndResetAllAskFirst)
{
    const TavroSimControllerInfo info = ModularController();
    ASSERT_NE(StartOn(info.id), nullptr);
    Output(1, 0)->SetDisplayMode(1236);
    Output(1, 0)->Write(5.0, 0);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDNO);
        Command(IDM_DEFAULT_OUTPUTS);
        ASSERT_EQ(answerer.Count(), 1u);
        EXPECT_EQ(answerer.Seen()[0].caption, "Analog Outputs");
        EXPECT_NE(answerer.Seen()[0].text.find("-10V to +10V = 0.000"), std::string::npos);
    }
    EXPECT_NE(TavroSim_GetAnalogOutput(info.id, 1), 2048);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDYES);
        Command(IDM_DEFAULT_OUTPUTS);
    }
    EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, 1), 2048);
    EXPECT_EQ(Output(1, 0)->DisplayMode(), 1236);
    EXPECT_EQ(Output(2, 4)->OutputCounts(), 2048.0);

    Output(1, 0)->Write(9.0, 0);
    SelectTab(1);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDYES);
        Command(IDM_RESET_ALL);
        ASSERT_EQ(answerer.Count(), 1u);
        EXPECT_EQ(answerer.Seen()[0].caption, "Reset All");
    }
    EXPECT_EQ(CurrentTab(), 0);
    EXPECT_TRUE(Shown(0));
    EXPECT_TRUE(Hidden(1));
    EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, 1), 2048);
}

TEST_F(AnalogMainWindowTest, ControllerWithoutAnalogChannelsIsRefusedOrKept)
{
    TavroSimControllerInfo none = {};
    if (!FindController(
            [](const TavroSimControllerInfo& c) {
                return c.analogInputs == 0 && c.analogOutputs == 0 && c.controllerType != 0;
            },
            &none))
        GTEST_SKIP() << "no simulated controller without analog channels";
    const TavroSimControllerInfo modular = ModularController();
    {
        DialogAnswerer answerer;
        answerer.Expect(IDCANCEL);
        EXPECT_EQ(Start("-b " + std::to_string(none.id)), nullptr);
        ASSERT_EQ(answerer.Count(), 1u);
        EXPECT_EQ(answerer.Seen()[0].caption, "Analog");
        EXPECT_NE(answerer.Seen()[0].text.find("does not have any Analog"), std::string::npos);
    }
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
    EXPECT_EQ(FindWindowA("AnalogTestPanel", nullptr), nullptr);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDRETRY);
        answerer.Expect(IDOK, [&](HWND dialog) { ChooseController(dialog, modular.id); });
        ASSERT_NE(Start("-b " + std::to_string(none.id)), nullptr);
        EXPECT_EQ(answerer.Count(), 2u);
    }
    EXPECT_EQ(App()->ControllerID(), modular.id);
    EXPECT_EQ(TabCount(), 3);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 1);
    Close();
    {
        // Cancelling the new choice keeps the controller, with no page.
        DialogAnswerer answerer;
        answerer.Expect(IDRETRY);
        answerer.Expect(IDCANCEL);
        ASSERT_NE(Start("-b " + std::to_string(none.id)), nullptr);
    }
    EXPECT_EQ(App()->ControllerID(), none.id);
    EXPECT_GT(App()->Handle(), 0);
    EXPECT_EQ(TabCount(), 0);
}

TEST_F(AnalogMainWindowTest, SwitchingControllersWritesNothingThroughTheClosedHandle)
{
    const TavroSimControllerInfo modular = ModularController();
    const TavroSimControllerInfo analog = AnalogOnlyController();
    ASSERT_NE(StartOn(modular.id), nullptr);
    Output(1, 0)->Write(3000, 1233);
    PumpFor(150);
    {
        // A cancelled choice only stores the settings: same controller,
        // same pages, outputs untouched.
        DialogAnswerer answerer;
        answerer.Expect(IDCANCEL);
        const short handle = App()->Handle();
        HWND page = Page(0);
        Command(IDM_SELECT_CONTROLLER);
        EXPECT_EQ(answerer.Count(), 1u);
        EXPECT_EQ(App()->Handle(), handle);
        EXPECT_EQ(Page(0), page);
    }
    EXPECT_EQ(TavroSim_GetAnalogOutput(modular.id, 1), 3000);
    EXPECT_EQ(IniValue(Section("Analog Output", modular.id, 1), "OutputCounts"), "3000");
    TavroSim_ResetCallCounts();
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) { ChooseController(dialog, analog.id); });
        Command(IDM_SELECT_CONTROLLER);
        EXPECT_EQ(answerer.Count(), 1u);
    }
    PumpFor(400);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 1);
    EXPECT_EQ(App()->ControllerID(), analog.id);
    EXPECT_EQ(TabText(0), "Standard Inputs");
    EXPECT_TRUE(Shown(0));
    // The old controller's outputs went to mid-scale before it was closed;
    // its settings were stored first.
    EXPECT_EQ(TavroSim_GetAnalogOutput(modular.id, 1), 2048);
    EXPECT_EQ(IniValue(Section("Analog Output", modular.id, 1), "OutputCounts"), "3000");
    for (ChannelGroup* group : App()->Pages())
        for (AnalogChannel* channel : group->Channels())
            EXPECT_EQ(channel->Handle(), App()->Handle());
    // Only the output the user wrote has a stored level.
    EXPECT_EQ(IniValue(Section("Analog Output", modular.id, 2), "Configured"), "<missing>");

    // Back on the first controller: the written output gets its level again,
    // the outputs nobody wrote are left where they are.
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) { ChooseController(dialog, modular.id); });
        Command(IDM_SELECT_CONTROLLER);
        EXPECT_EQ(answerer.Count(), 1u);
    }
    PumpFor(150);
    ASSERT_EQ(App()->ControllerID(), modular.id);
    EXPECT_EQ(TavroSim_GetAnalogOutput(modular.id, 1), 3000);
    for (int channel = 2; channel <= modular.analogOutputs; ++channel)
        EXPECT_EQ(TavroSim_GetAnalogOutput(modular.id, channel), 2048) << channel;
}

TEST_F(AnalogMainWindowTest, FailedSwitchLeavesTheOldPagesSilent)
{
    const TavroSimControllerInfo modular = ModularController();
    TavroSimControllerInfo failing = {};
    const int count = TavroSim_ControllerCount();
    for (int i = 0; i < count && failing.openError == 0; ++i)
        TavroSim_ControllerAt(i, &failing);
    if (failing.openError == 0)
        GTEST_SKIP() << "no simulated controller that fails to open";
    ASSERT_NE(StartOn(modular.id), nullptr);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) { ChooseController(dialog, failing.id); });
        answerer.Expect(IDOK);
        answerer.Expect(IDCANCEL);
        Command(IDM_SELECT_CONTROLLER);
        ASSERT_EQ(answerer.Count(), 3u);
        EXPECT_NE(answerer.Seen()[1].text.find("Unable to the open controller"), std::string::npos);
    }
    EXPECT_LE(App()->Handle(), 0);
    EXPECT_EQ(TabCount(), 3);
    TavroSim_ResetCallCounts();
    PumpFor(300);
    // Nothing to read or set: no readings, no Setup or reference button.
    EXPECT_EQ(ItemText(Page(0), 2100), "");
    EXPECT_FALSE(IsItemEnabled(Page(0), 2200));
    EXPECT_FALSE(IsItemEnabled(Page(0), 2302));
    EXPECT_FALSE(IsItemEnabled(Page(1), 2200));
    // Nor a module type: the pages stay, nothing is stored.
    HWND list = GetDlgItem(Page(2), 2303);
    EXPECT_FALSE(IsWindowEnabled(list));
    SendMessageA(list, CB_SETCURSEL, 1, 0);
    SendMessageA(Page(2), WM_COMMAND, MAKEWPARAM(2303, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    PumpFor(100);
    EXPECT_EQ(TabCount(), 3);
    EXPECT_EQ(Group(2)->ModuleType(), 0);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDYES);
        Command(IDM_DEFAULT_OUTPUTS);
    }
    // No record claims a level that was never sent.
    Output(1, 0)->Write(4.5, 1230);
    EXPECT_DOUBLE_EQ(Output(1, 0)->OutputCounts(), 2048.0);
    EXPECT_EQ(TavroSim_CallCount("TavroGetAnalog"), 0);
    EXPECT_EQ(TavroSim_CallCount("TavroSetAnalog"), 0);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
    Close();
    // The pages' settings stay under the controller they belong to.
    EXPECT_EQ(IniValue(Section("Analog Output", failing.id, 1), "Configured"), "<missing>");
    EXPECT_EQ(IniValue(Section("Analog Output", modular.id, 1), "Configured"), "true");
    EXPECT_EQ(IniValue(Section("Analog Group", modular.id, 2), "ModuleType"), "0");
}

} // namespace
